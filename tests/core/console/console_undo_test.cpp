// Taking answers back: the run as it stood before them, in every method, and the timing
// within the answer's wait.
#include <gtest/gtest.h>

#include <random>

#include "core/console/console_fixture.h"
#include "core/numbers/numbers.h"

namespace limenta::testing {
namespace {

// Everything the console shows of a run, and the number it announces.
struct Shown {
    std::string big;
    Ink bigInk;
    std::string caption;
    std::string history;
    std::string interval;
    Ink intervalInk;
    std::array<GuideValue, 3> plain;
    std::array<GuideValue, 3> corrected;
    std::vector<PlotStep> plot;
    int announced = 0;
    std::string report;  // but for its "Answers withdrawn" line
    friend bool operator==(const Shown&, const Shown&) = default;
};

class Undo : public ConsoleTest {
  protected:
    Shown shown() {
        std::string withdrawn = report();
        const std::size_t line = withdrawn.find("Answers withdrawn = ");
        if (line != std::string::npos) {
            withdrawn.erase(line, withdrawn.find('\r', line) + 1 - line);
        }
        return {view().big,      view().bigInk,
                view().caption,  view().history,
                view().interval, view().intervalInk,
                view().plain,    view().corrected,
                view().plot,     run().state().clippedThresh,
                withdrawn};
    }
};

// Random answers (a subject near 45 who now and then answers wrongly) and take-backs: the
// console then shows exactly what a fresh run of the answers it kept shows.
TEST_F(Undo, EveryMethodShowsTheRunAsIfTheAnswerHadNeverBeenGiven) {
    open();
    std::mt19937 random(27);
    for (const Method* m : Console::offeredMethods()) {
        for (int script = 0; script < 4; ++script) {
            SCOPED_TRACE(std::string(m->key) + " script " + std::to_string(script));
            press(Button::Reset);
            choose(m->key);
            press(Button::Start);
            std::string kept;
            const int clicks = plays("Click");
            int given = 0;
            for (int event = 0; event < 24 || kept.empty(); ++event) {
                if (!kept.empty() && (random() % 3 == 0 || event >= 24)) {
                    undo();
                    kept.pop_back();
                    if (event >= 24) {
                        break;  // every script ends on a take-back
                    }
                } else {
                    const bool mep = nearestWhole(run().output()) >= 45;
                    const char answer = (mep != (random() % 8 == 0)) ? 'y' : 'n';
                    type(std::string(1, answer));
                    kept += answer;
                    ++given;
                }
            }
            EXPECT_EQ(plays("Click") - clicks, given);             // none for an undo
            EXPECT_TRUE(view().timerOn(ConsoleTimer::Announce1));  // announced again
            const Shown afterUndo = shown();
            press(Button::Reset);
            press(Button::Start);
            type(kept);
            EXPECT_TRUE(afterUndo == shown());
        }
    }
}

TEST_F(Undo, TheEndTakenBackIsNoLongerReachedAnAnswerAfterItLeavesItStanding) {
    open();
    press(Button::Start);
    type("yynnyny");
    ASSERT_EQ(view().bigInk, Ink::Green);
    const int dings = plays("ding2");

    undo();                       // the answer that reached the end
    EXPECT_EQ(view().big, "42");  // fired for it, to be answered again
    EXPECT_EQ(view().caption, "Next Output to Try :");
    EXPECT_EQ(view().bigInk, Ink::Black);
    EXPECT_EQ(view().plain[0].text, "");
    EXPECT_NE(view().interval.find("(6 pulses)"), std::string::npos);
    EXPECT_EQ(run().state().clippedThresh, 42);
    EXPECT_EQ(run().state().myrmt, 0);

    type("y");
    EXPECT_EQ(view().bigInk, Ink::Green);
    EXPECT_EQ(plays("ding2"), dings + 1);
    const Shown atTheEnd = shown();
    type("y");  // after the end
    undo();
    EXPECT_TRUE(atTheEnd == shown());
    EXPECT_EQ(view().caption, "rMT Estimate Reached :");
    EXPECT_EQ(view().plain[0].text, "33");

    // Back to the first answer: the run as Start left it, and nothing more to take back.
    for (int i = 0; i < 7; ++i) {
        undo();
    }
    EXPECT_EQ(view().big, "50");
    EXPECT_EQ(view().caption, "Next Output to Try:");
    EXPECT_EQ(view().history, "");
    EXPECT_EQ(view().interval, "");
    EXPECT_TRUE(view().plot.empty());
    EXPECT_FALSE(console->answerUndoable());
    undo();
    EXPECT_EQ(view().big, "50");
    EXPECT_EQ(run().withdrawn().size(), 9U);
    type("y");
    EXPECT_EQ(view().big, "43");
}

TEST_F(Undo, WithinTheAnswersWaitOneUndoIsCarriedOutWhenItEnds) {
    open();
    EXPECT_FALSE(console->answerUndoable());
    undo();  // nothing outside a run
    EXPECT_FALSE(view().timerOn(ConsoleTimer::Undo));
    press(Button::Start);
    EXPECT_FALSE(console->answerUndoable());
    type("y");
    key('y');  // 36 shown; its wait begins
    ASSERT_EQ(view().big, "36");
    EXPECT_TRUE(console->answerUndoable());
    undo();
    undo();                    // a bounce: dropped
    key('n');                  // dropped, as any answer in the wait
    tick(ConsoleTimer::Undo);  // the wait has not ended: nothing yet
    EXPECT_EQ(view().big, "36");
    EXPECT_EQ(run().trials().size(), 2U);
    EXPECT_TRUE(view().timerOn(ConsoleTimer::Undo));

    pastTheWait();
    tick(ConsoleTimer::Undo);
    EXPECT_EQ(view().big, "43");
    EXPECT_EQ(run().trials().size(), 1U);
    EXPECT_FALSE(view().timerOn(ConsoleTimer::Undo));

    // An answer key after the wait carries out the waiting undo first, then answers the
    // pulse it shows again.
    key('y');
    undo();
    pastTheWait();
    key('n');
    ASSERT_EQ(run().trials().size(), 2U);
    EXPECT_EQ(run().trials().back().answer, 0);
    EXPECT_EQ(run().withdrawn().size(), 2U);

    // Reset drops an undo still waiting.
    pastTheWait();
    key('y');
    undo();
    press(Button::Reset);
    EXPECT_FALSE(view().timerOn(ConsoleTimer::Undo));
}

}  // namespace
}  // namespace limenta::testing
