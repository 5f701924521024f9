// The spoken announcement of the next output, digit by digit, and the wait that follows
// every answer.
#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "core/numbers/numbers.h"
#include "gui/main_window/window1.h"
#include "core/console/notices.h"

namespace limenta {

void Window1::Timer1_Action() {
    announceStage(1, Timer1, Timer2);
}

void Window1::Timer2_Action() {
    announceStage(2, Timer2, Timer3);
}

void Window1::Timer3_Action() {
    announceStage(3, Timer3, nullptr);
}

void Window1::announceStage(int stage, QTimer* own, QTimer* next) {
    // No digit starts during the answer's wait, nor while another is still being spoken;
    // try again on the next tick.
    if (answerWaitRunning()) {
        return;
    }
    if (digitPlaying()) {
        return;
    }
    // The number is read when the stage fires, so a newer answer changes the digits
    // still to come.
    const std::string digits = formatMask(state().clippedThresh, "000");
    const std::size_t position = digits.size() - 3 + static_cast<std::size_t>(stage - 1);
    const int digit = digits[position] - '0';
    // Only a hundreds digit of 1 is spoken; tens and units always are, also a 0.
    const bool speaks = stage != 1 || digit == 1;
    Sound* voice = (digit >= 0 && digit <= 9) ? sss[static_cast<std::size_t>(digit)] : nullptr;
    if (speaks && voice != nullptr) {
        voice->setVolume(Slider1->value());
        if (Slider1->value() > 0) {
            voice->play();
        }
    }
    own->stop();
    if (next != nullptr) {
        next->start();
    }
}

bool Window1::digitPlaying() const {
    return std::any_of(sss.begin(), sss.begin() + 10,
                       [](const Sound* digit) { return digit != nullptr && digit->isPlaying(); });
}

void Window1::delay(double ticks) {
    answerWaitEnds_ = platform_.clocks.ticks() + static_cast<qint64>(ticks);
}

bool Window1::answerWaitRunning() const {
    return platform_.clocks.ticks() <= answerWaitEnds_;
}

void Window1::tellSoundUnavailableOnce() {
    if (platform_.sounds.available()) {
        return;
    }
    const QString sentence = QLatin1String(notice::kNoSound);
    tell(sentence);
    // A later notice takes the notice's place; the indicator stays.
    auto* indicator = new QLabel(QStringLiteral("No sound"), statusBar());
    indicator->setObjectName(QStringLiteral("NoSoundIndicator"));
    indicator->setToolTip(sentence);
    statusBar()->addPermanentWidget(indicator);
}

}  // namespace limenta
