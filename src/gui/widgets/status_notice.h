// A notice in a window's status bar that stays until the next one: its first sentence in
// view, short enough to fit, and the whole of it on hover. A menu's passing tips cover it
// for a moment but never clear it.
#pragma once

#include <QLabel>

class QStatusBar;

namespace limenta {

class StatusNotice final : public QLabel {
    Q_OBJECT

  public:
    explicit StatusNotice(QStatusBar* bar);
    Q_DISABLE_COPY_MOVE(StatusNotice)

    void tell(const QString& message);
    // The whole message, its first sentence shown.
    [[nodiscard]] const QString& message() const { return message_; }

  private:
    QString message_;
};

// The first sentence of a message: up to and with the first full stop followed by a space.
QString firstSentence(const QString& message);

}  // namespace limenta
