// A multi-line text field whose text separates lines by carriage returns, as the history
// and the report keep them. The lines show as lines; text() gives them back with CRs.
#pragma once

#include <QPlainTextEdit>

namespace limenta {

class CrTextEdit final : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit CrTextEdit(QWidget* parent = nullptr);

    void setText(const QString& crText);
    [[nodiscard]] QString text() const;
};

}  // namespace limenta
