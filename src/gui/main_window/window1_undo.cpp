// Taking an answer back: the run returns to where it stood before it, and the output fired
// for it is shown and spoken again.
#include <QTimer>
#include <algorithm>

#include "gui/main_window/window1.h"

namespace limenta {

bool Window1::answerUndoable() const {
    return runInProgress() && !run_->trials().empty();
}

void Window1::undoLastAnswer() {
    if (!runInProgress()) {
        return;
    }
    // Within the answer's wait the undo waits too, once: a second one there is a bounce.
    if (answerWaitRunning()) {
        if (!Timer4->isActive()) {
            Timer4->start();
        }
        return;
    }
    withdrawLastAnswer();
}

void Window1::Timer4_Action() {
    if (answerWaitRunning()) {
        return;
    }
    Timer4->stop();
    withdrawLastAnswer();
}

void Window1::withdrawLastAnswer() {
    if (!runInProgress() || !run_->withdraw()) {
        return;
    }
    journalAnswerWithdrawn();
    showRunAsItStands();
    showRunOnScreen();
    // No click and no signal: only the number, announced again.
    for (QTimer* stage : {Timer1, Timer2, Timer3}) {
        stage->stop();
    }
    Timer1->start();
    if (practising()) {
        practice_->withdraw();  // its sweep is judged again
        showPractice();
    }
}

void Window1::showRunAsItStands() {
    const std::vector<TrialRecord>& trials = run_->trials();
    const char* answerCaption = run_->method().answerCaption;
    // The caption an answer leaves stands until another answer changes it: the end's, the
    // method's caption over the next output, or Start's.
    const bool endShown =
        !trials.empty() &&
        (trials.back().reached ||
         (answerCaption == nullptr && std::any_of(trials.begin(), trials.end(),
                                                  [](const TrialRecord& t) { return t.reached; })));
    if (endShown) {
        showEndReached();
    } else {
        showRunGoingOn(trials.empty() || answerCaption == nullptr ? kStartCaption : answerCaption);
    }
}

}  // namespace limenta
