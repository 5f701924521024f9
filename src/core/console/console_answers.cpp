// Answer keys: a key press becomes a success, a failure or nothing, advances the run and
// refreshes everything the operator watches; the wait after an answer, an answer taken
// back, and the spoken announcement of the next output.
#include "core/console/console.h"
#include "core/console/notices.h"

namespace limenta {

void Console::key(std::int32_t code) {
    handleKey(code);
    refresh();
}

void Console::handleKey(std::int32_t code) {
    // One pulse cannot follow another within the wait: a second press is a bounce or a
    // slip of the finger, not an answer.
    if (answerWaitRunning()) {
        return;
    }
    // An undo pressed within the wait comes first: this key answers the pulse it shows again.
    if (undoWaiting_) {
        undoWaiting_ = false;
        withdrawLastAnswer();
    }
    const KeyAnswer classified = classifyKey(code, keys_);
    if (!classified.taken) {
        return;
    }
    if (!runInProgress()) {
        // Without a run there is nothing to answer: an estimate from no pulse is no estimate.
        tell(notice::kPressStart);
        return;
    }
    if (practiceKeyRefused()) {
        return;
    }
    takeAnswerKey(classified.answer);
    answerWaitEnds_ = host_.ticks() + kAnswerWaitTicks;
}

void Console::takeAnswerKey(std::int32_t answer) {
    const AnswerStep step = run_->answer(answer, host_.microseconds());
    if (step.refused) {
        view_.caption = kTrialLimitMessage;
        return;
    }
    if (practising()) {
        practice_->judge(answer);
    }
    // Handed to the journal's writer before it is shown.
    if (journalled()) {
        keep(keeper_.take(*run_, guides_, host_.now().iso));
    }
    effect(PlaySound{"Click", volumes_[static_cast<std::size_t>(Slider::Click)]});
    if (step.reached) {
        showEndReached();
        effect(PlaySound{"ding2", volumes_[static_cast<std::size_t>(Slider::Signal)]});
    } else if (const char* caption = run_->method().answerCaption) {
        showRunGoingOn(caption);
    }
    showRun();
    // clippedThresh, the number to announce, was set with the answer.
    announcer_.start();
    if (practising()) {
        showPractice();
    }
}

bool Console::answerWaitRunning() {
    return host_.ticks() <= answerWaitEnds_;
}

bool Console::answerUndoable() const {
    return runInProgress() && !run_->trials().empty();
}

void Console::undo() {
    if (runInProgress()) {
        // Within the answer's wait the undo waits too, once: a second one there is a bounce.
        if (answerWaitRunning()) {
            undoWaiting_ = true;
        } else {
            withdrawLastAnswer();
        }
    }
    refresh();
}

void Console::withdrawLastAnswer() {
    if (!runInProgress() || !run_->withdraw()) {
        return;
    }
    if (journalled()) {
        if (const auto write = keeper_.withdraw(*run_, guides_, host_.now().iso)) {
            keep(*write);
        }
    }
    showRunAsItStands();
    showRun();
    // No click and no signal: only the number, announced again.
    announcer_.stop();
    announcer_.start();
    if (practising()) {
        practice_->withdraw();  // its sweep is judged again
        showPractice();
    }
}

void Console::tick(ConsoleTimer timer) {
    switch (timer) {
        case ConsoleTimer::Announce1:
        case ConsoleTimer::Announce2:
        case ConsoleTimer::Announce3: {
            // No digit starts during the answer's wait, nor while another is still being
            // spoken: the stage tries again on its next tick.
            const int stage = static_cast<int>(timer) + 1;
            const bool held = answerWaitRunning() || host_.digitSounding();
            if (auto digit =
                    announcer_.tick(stage, run_ ? run_->state().clippedThresh : 0,
                                    volumes_[static_cast<std::size_t>(Slider::Voice)], held)) {
                effect(std::move(*digit));
            }
            break;
        }
        case ConsoleTimer::Undo:
            if (undoWaiting_ && !answerWaitRunning()) {
                undoWaiting_ = false;
                withdrawLastAnswer();
            }
            break;
        case ConsoleTimer::Pulse:
            firePulseWhenDue();
            break;
    }
    refresh();
}

}  // namespace limenta
