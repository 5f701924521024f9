// Practice with a virtual patient: the run as for a patient, its pulses fired by themselves
// a second after each output is spoken, the operator's judgement of each sweep as the
// answer, and the truth at the end.
#include "core/console/console.h"
#include "core/console/notices.h"
#include "core/numbers/numbers.h"

namespace limenta {

void Console::practise() {
    if (practiceAvailable()) {
        if (practising()) {
            PushButton3_Action();  // the patient before is left as Reset leaves it
        }
        practice_ = std::make_unique<PracticePatient>(
            static_cast<std::uint64_t>(host_.now().msecsSinceEpoch));
        PushButton1_Action();
        if (!runInProgress()) {  // the start values were refused
            practice_.reset();
        } else {
            view_.title = kPracticeTitle;
            view_.practiceBanner = true;
            view_.practiceWindow = true;
            showPractice();
        }
    }
    refresh();
}

void Console::leavePractice() {
    practice_.reset();
    pulseTimer_ = false;
    pulseDue_.reset();
    view_.title = kWindow1Title;
    view_.practiceBanner = false;
    view_.practiceWindow = false;
}

void Console::showPractice() {
    const std::vector<PracticePulse>& pulses = practice_->pulses();
    ShowPracticePage page;
    if (practice_->awaitingJudgement()) {
        pulseTimer_ = false;
        page.page = ShowPracticePage::Page::Pulse;
        page.pulse = pulses.back();
        page.number = pulses.size();
    } else if (run_->reached()) {
        pulseTimer_ = false;
        const std::optional<double> estimate = run_->estimate();
        page.page = ShowPracticePage::Page::End;
        page.result =
            practice_->result(estimate ? std::optional(roundHalfAway(*estimate)) : std::nullopt);
        page.pulses = pulses;
    } else {
        pulseDue_.reset();
        pulseTimer_ = true;
        page.page = ShowPracticePage::Page::Waiting;
        page.output = nearestWhole(run_->output());
        page.number = pulses.size() + 1;
    }
    effect(std::move(page));
}

void Console::firePulseWhenDue() {
    if (!practising()) {
        pulseTimer_ = false;
        return;
    }
    // The pulse follows its output once spoken: not within the answer's wait, nor while a
    // digit is still to come or still sounding.
    if (answerWaitRunning() || announcer_.on(1) || announcer_.on(2) || announcer_.on(3) ||
        host_.digitSounding()) {
        pulseDue_.reset();
        return;
    }
    const std::int64_t now = host_.ticks();
    if (!pulseDue_) {
        pulseDue_ = now + kPulseAfterTicks;
    }
    if (now >= *pulseDue_) {
        pulseDue_.reset();
        pulseTimer_ = false;
        if (practice_->fire(nearestWhole(run_->output())) != nullptr) {
            showPractice();
        }
    }
}

bool Console::practiceKeyRefused() {
    if (!practising() || practice_->awaitingJudgement()) {
        return false;
    }
    tell(run_->reached() ? notice::kPracticeEnded : notice::kPulseNotFired);
    return true;
}

}  // namespace limenta
