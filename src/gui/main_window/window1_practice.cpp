// Practice with a virtual patient: the run in the main window as for a patient, its pulses
// fired by themselves a second after each output is spoken, the operator's judgement of
// each sweep as the answer, and the truth at the end.
#include <QLabel>
#include <QTimer>

#include "core/numbers/numbers.h"
#include "gui/main_window/window1.h"
#include "gui/practice/practice_window.h"
#include "core/console/notices.h"

namespace limenta {

bool Window1::practiceAvailable() const {
    return !runInProgress() || practising();
}

PracticeWindow* Window1::practiceWindow() const {
    return practiceWindow_;
}

void Window1::startPractice() {
    if (!practiceAvailable()) {
        return;
    }
    if (practising()) {
        PushButton3_Action();  // the patient before is left as Reset leaves it
    }
    practice_ = std::make_unique<PracticePatient>(
        static_cast<std::uint64_t>(platform_.clocks.currentDateTime().toMSecsSinceEpoch()));
    PushButton1_Action();
    if (!runInProgress()) {  // the start values were refused
        practice_.reset();
        return;
    }
    setWindowTitle(QString::fromUtf8(kPracticeTitle));
    PracticeBanner->show();
    if (practiceWindow_ == nullptr) {
        practiceWindow_ = new PracticeWindow(this);
    }
    practiceWindow_->show();
    showPractice();
}

void Window1::leavePractice() {
    practice_.reset();
    Timer5->stop();
    pulseDue_.reset();
    setWindowTitle(QLatin1String(kWindow1Title));
    PracticeBanner->hide();
    if (practiceWindow_ != nullptr) {
        practiceWindow_->close();
    }
}

void Window1::showPractice() {
    const std::vector<PracticePulse>& pulses = practice_->pulses();
    if (practice_->awaitingJudgement()) {
        Timer5->stop();
        practiceWindow_->showPulse(pulses.back(), pulses.size());
    } else if (run_->reached()) {
        Timer5->stop();
        const std::optional<double> estimate = run_->estimate();
        practiceWindow_->showEnd(
            practice_->result(estimate ? std::optional(roundHalfAway(*estimate)) : std::nullopt),
            pulses);
    } else {
        pulseDue_.reset();
        Timer5->start();
        practiceWindow_->showWaiting(nearestWhole(run_->output()), pulses.size() + 1);
    }
}

void Window1::Timer5_Action() {
    if (!practising()) {
        Timer5->stop();
        return;
    }
    // The pulse follows its output once spoken: not within the answer's wait, nor while a
    // digit is still to come or still sounding.
    if (answerWaitRunning() || Timer1->isActive() || Timer2->isActive() || Timer3->isActive() ||
        digitPlaying()) {
        pulseDue_.reset();
        return;
    }
    const qint64 now = platform_.clocks.ticks();
    if (!pulseDue_) {
        pulseDue_ = now + kPulseAfterTicks;
    }
    if (now >= *pulseDue_) {
        pulseDue_.reset();
        firePracticePulse();
    }
}

void Window1::firePracticePulse() {
    Timer5->stop();
    if (practice_->fire(nearestWhole(run_->output())) != nullptr) {
        showPractice();
    }
}

bool Window1::practiceKeyRefused() {
    if (!practising() || practice_->awaitingJudgement()) {
        return false;
    }
    tell(QLatin1String(run_->reached() ? notice::kPracticeEnded : notice::kPulseNotFired));
    return true;
}

}  // namespace limenta
