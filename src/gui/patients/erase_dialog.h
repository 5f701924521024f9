// The confirmation before a patient is erased: what goes (their runs, the older runs whose
// note holds their code, and the damaged journal copies that may hold them, if the operator
// ticks it), and the code typed again, without which nothing is erased.
#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "core/journal/journal_record.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace limenta {

class EraseDialog final : public QDialog {
    Q_OBJECT

  public:
    EraseDialog(QWidget* parent, const QString& code, const std::vector<JournalRun>& runs,
                const QStringList& damagedCopies);

    [[nodiscard]] bool deleteDamagedCopies() const;

    QLineEdit* typed = nullptr;
    QCheckBox* damaged = nullptr;  // none when there are no damaged copies
    QPushButton* eraseButton = nullptr;
};

}  // namespace limenta
