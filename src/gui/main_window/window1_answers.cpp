// Answer keys: a key press becomes a success, a failure or nothing, advances the active
// method and refreshes everything the operator watches.
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTimer>

#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/widgets/design.h"
#include "core/console/notices.h"

namespace limenta {

bool Window1::Event_KeyDown(std::int32_t key) {
    handleKey(key);
    return true;
}

bool Window1::Canvas1_KeyDown(std::int32_t key) {
    handleKey(key);
    return true;
}

void Window1::handleKey(std::int32_t key) {
    // One pulse cannot follow another within the wait: a second press is a bounce or a
    // slip of the finger, not an answer.
    if (answerWaitRunning()) {
        return;
    }
    // An undo pressed within the wait comes first: this key answers the pulse it shows again.
    if (Timer4->isActive()) {
        Timer4_Action();
    }
    const KeyAnswer classified = classifyKey(key, keys_);
    if (!classified.taken) {
        return;
    }
    if (!runInProgress()) {
        // Without a run there is nothing to answer: an estimate from no pulse is no
        // estimate.
        tell(QLatin1String(notice::kPressStart));
        return;
    }
    if (practiceKeyRefused()) {
        return;
    }
    takeAnswerKey(classified.answer);
    delay(kAnswerWaitTicks);
}

void Window1::takeAnswerKey(std::int32_t answer) {
    const AnswerStep step = run_->answer(answer, platform_.clocks.microseconds());
    if (step.refused) {
        setCaption(QString::fromLatin1(kTrialLimitMessage));
        return;
    }
    if (practising()) {
        practice_->judge(answer);
    }
    // Handed to the journal's writer before it is shown.
    journalAnswerTaken(answer, step.next);

    Sound& click = platform_.sounds.sound(QStringLiteral("Click"));
    click.setVolume(Slider3->value());
    click.play();

    if (step.reached) {
        presentEstimate();
    } else if (const char* caption = run_->method().answerCaption) {
        showRunGoingOn(caption);
    }

    showRunOnScreen();
    // clippedThresh, the number to announce, was set with the answer.
    Timer1->start();
    if (practising()) {
        showPractice();
    }
}

void Window1::presentEstimate() {
    showEndReached();
    Sound& signal = platform_.sounds.sound(QStringLiteral("ding2"));
    signal.setVolume(Slider2->value());
    signal.play();
}

void Window1::showEndReached() {
    // Above what the stimulator gives: "100+" in red, as the quick reference shows it.
    setTextColour(StaticText4, run_->aboveMaximum() ? kDesignRed : kDesignGreen);
    setCaption(QStringLiteral("rMT Estimate Reached :"));
    // myrmt, endtime and totaltime were taken with the step.
    updateguides();
}

void Window1::showRunGoingOn(const char* caption) {
    setTextColour(StaticText4, kDesignBlack);
    setCaption(QString::fromLatin1(caption));
    blankGuides();  // the run goes on: no estimate stands
}

void Window1::showRunOnScreen() {
    updatescreen();
    showInterval();
    if (run_->trials().empty()) {
        p = splashPicture();
        Canvas1->update();
    } else {
        makepicture();
    }
}

}  // namespace limenta
