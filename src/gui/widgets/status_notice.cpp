#include "gui/widgets/status_notice.h"

#include <QStatusBar>

namespace limenta {

StatusNotice::StatusNotice(QStatusBar* bar) : QLabel(bar) {
    setObjectName(QStringLiteral("StatusNotice"));
    // The bar's room, never the text's width: a long notice must not widen the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(this, 1);
}

void StatusNotice::tell(const QString& message) {
    message_ = message;
    setText(firstSentence(message));
    setToolTip(text() == message ? QString() : message);
}

QString firstSentence(const QString& message) {
    const qsizetype end = message.indexOf(QLatin1String(". "));
    return end < 0 ? message : message.left(end + 1);
}

}  // namespace limenta
