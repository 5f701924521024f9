// The big number, its caption and the history list.
#include <QLabel>

#include "core/display/history_line.h"
#include "core/display/numbers.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/caption_fit.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"

namespace limenta {

void Window1::updatescreen(double /*setting*/, std::int32_t answer) {
    const QString history = EditField2->text();
    StaticText4->setText(QString::fromStdString(formatMask(roundHalfAway(mysetting), "##0")));
    const std::string line = historyLine(stepnum, lastsetting, answer, thediff);
    // Newest line on top, so the latest answer is always in view.
    EditField2->setText(QString::fromStdString(line) + history);
}

void Window1::setCaption(const QString& caption) {
    // The longest caption (the trial limit) wraps, in a smaller size if it must.
    setFittingText(StaticText5, caption, kCaptionPixelSize);
}

std::optional<CredibleInterval> Window1::runInterval() const {
    // The operator's belief about the spread: the ML-PEST run's own, or for adaptive PEST,
    // which has none, the preferences' ML-PEST spread.
    return credibleInterval(firedAnswers(*this),
                            activeMethod() == Method::MlPest ? runspread : myspread);
}

void Window1::showInterval() {
    const std::optional<CredibleInterval> interval = runInterval();
    if (!interval) {
        StaticText20->setText(QString());
        return;
    }
    StaticText20->setText(QString::fromStdString(intervalLine(*interval, stepnum)));
    setTextColour(StaticText20, interval->wide() ? kDesignAmber : kDesignBlack);
}

}  // namespace limenta
