// The big number, its caption, the history list and the interval, all from the run.
#include <QLabel>

#include "core/display/history_line.h"
#include "core/numbers/numbers.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/caption_fit.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"

namespace limenta {

void Window1::updatescreen() {
    StaticText4->setText(QString::fromStdString(shownOutput(*run_)));
    // Newest line on top, so the latest answer is always in view.
    EditField2->setText(QString::fromStdString(historyText(run_->trials())));
}

void Window1::setCaption(const QString& caption) {
    // The longest caption (the trial limit) wraps, in a smaller size if it must.
    setFittingText(StaticText5, caption, kCaptionPixelSize);
}

void Window1::showInterval() {
    const std::optional<CredibleInterval> interval = run_ ? run_->interval() : std::nullopt;
    if (!interval) {
        StaticText20->setText(QString());
        return;
    }
    StaticText20->setText(QString::fromStdString(intervalLine(*interval, run_->state().stepnum)));
    setTextColour(StaticText20, interval->wide() ? kDesignAmber : kDesignBlack);
}

}  // namespace limenta
