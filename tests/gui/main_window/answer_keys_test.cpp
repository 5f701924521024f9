// Keys through the window system, as the operator's keyboard gives them: each reaches the
// console as its code from wherever in the window it was pressed, a held key is one answer,
// and typing into an editable field stays there. What the console makes of the keys is tested
// with the console.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/run/run.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/main_window/key_router.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

using KeyHandling = MainWindowTest;

// A run by keys: the window shows what the console says, in the design's colours.
TEST_F(KeyHandling, AnAdaptivePestRunByKeysIsShownAsTheConsoleHasIt) {
    open();
    click("PushButton1");
    EXPECT_TRUE(ui.canvas()->hasFocus());  // the answer keys go to the plot canvas
    EXPECT_EQ(big(), "50");
    EXPECT_EQ(caption(), "Next Output to Try:");
    EXPECT_EQ(ui.text("StaticText6"), "Success = y     Failure = n");
    type("yynnyn");
    EXPECT_EQ(big(), "42");
    EXPECT_EQ(caption(), "Next Output to Try :");
    EXPECT_EQ(textColour(ui.label("StaticText4")), kDesignBlack);
    EXPECT_EQ(ui.text("StaticText7"), "");
    fake.clocks.micros = 95'250'000;
    type("y");
    const ConsoleView& view = window->console().view();
    EXPECT_EQ(big(), "42");
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    EXPECT_EQ(textColour(ui.label("StaticText4")), kDesignGreen);
    EXPECT_EQ(ui.text("StaticText7"), "33");
    EXPECT_EQ(ui.text("StaticText8"), "42");
    EXPECT_EQ(ui.text("StaticText9"), "50");
    EXPECT_EQ(ui.text("StaticText20").toStdString(), view.interval);
    EXPECT_EQ(textColour(ui.label("StaticText20")), kDesignAmber);
    EXPECT_EQ(history().toStdString(), view.history);
    EXPECT_TRUE(ui.timer("Timer1")->isActive());
    EXPECT_EQ(fake.sounds.fake("Click").plays, 7);
    EXPECT_EQ(fake.sounds.fake("ding2").plays, 1);
    EXPECT_EQ(fake.sounds.fake("ding2").playedAtVolume.back(), 100);  // the stored volume
    EXPECT_EQ(fake.sounds.played.back(), "ding2");  // the click first, then the signal
}

TEST_F(KeyHandling, OtherKeysAreIgnoredAndStartNoWait) {
    open();
    click("PushButton1");
    QTest::keyClick(window->windowHandle(), 'x');
    EXPECT_EQ(big(), "50");
    EXPECT_EQ(fake.sounds.fake("Click").plays, 0);
    QTest::keyClick(window->windowHandle(), 'y');  // at once after the stray key
    EXPECT_EQ(run().trials().size(), 1U);
    QTest::keyClick(window->windowHandle(), 'n');  // within the answer's wait: dropped
    EXPECT_EQ(run().trials().size(), 1U);
}

// A key held for 1.5 s as X11 delivers it: a press, then a release and a press at the
// keyboard's repeat rate (30 a second), then the release. Qt flags the pair as a repeat
// only when it sees both at once.
void holdKey(QWidget* receiver, FakeClocks& clocks, bool flagged, bool split) {
    const auto send = [&](QEvent::Type type, bool repeat) {
        auto* event = new QKeyEvent(type, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"), repeat);
        QCoreApplication::postEvent(receiver, event);
    };
    send(QEvent::KeyPress, false);
    QCoreApplication::processEvents();
    for (int repeat = 0; repeat < 45; ++repeat) {
        clocks.tick += 2;
        send(QEvent::KeyRelease, flagged);
        if (split) {  // the press comes in a later turn of the event loop
            QCoreApplication::processEvents();
            clocks.tick += 1;
        }
        send(QEvent::KeyPress, flagged);
        QCoreApplication::processEvents();
    }
    clocks.tick += 2;
    send(QEvent::KeyRelease, false);
    QCoreApplication::processEvents();
}

TEST_F(KeyHandling, AHeldKeyIsOneAnswerHoweverItsRepeatsArrive) {
    for (const auto& [flagged, split] : {std::pair{true, false}, {false, false}, {false, true}}) {
        SCOPED_TRACE(flagged ? "flagged" : split ? "unflagged, split" : "unflagged");
        open();
        click("PushButton1");
        holdKey(ui.canvas(), fake.clocks, flagged, split);
        EXPECT_EQ(run().trials().size(), 1U);
        EXPECT_EQ(big(), "43");
        fake.clocks.tick += kRepeatGapTicks + 1;  // lifted, then pressed again
        QTest::keyClick(window->windowHandle(), 'y');
        EXPECT_EQ(run().trials().size(), 2U);
        // Another key while one is held is an answer of its own.
        pastTheWait();
        QTest::keyPress(window->windowHandle(), 'y');
        pastTheWait();
        QTest::keyClick(window->windowHandle(), 'n');
        EXPECT_EQ(run().trials().size(), 4U);
        QTest::keyRelease(window->windowHandle(), 'y');
    }
}

// The window system's keys become the codes the answer keys are stored as: letters in
// either case, Tab and Delete (which must not move the focus or delete anything), Escape,
// the arrows, Return and Enter; keys that give no character are no answer at all.
TEST_F(KeyHandling, TheWindowSystemsKeysReachTheConsoleAsTheirCodes) {
    struct Case {
        std::string prefs;
        std::vector<std::variant<char, Qt::Key>> keys;
        std::vector<std::int32_t> answers;
    };
    const std::vector<Case> cases{
        {defaultPrefsText(), {'Y', 'N'}, {1, 0}},
        {prefsWith({{kPrefsSuccessKey, "9"}, {kPrefsFailKey, "127"}}),
         {Qt::Key_Tab, Qt::Key_Delete},
         {1, 0}},
        {prefsWith({{kPrefsSuccessKey, "27"}, {kPrefsFailKey, "8"}}),
         {Qt::Key_Escape, Qt::Key_Backspace},
         {1, 0}},
        {prefsWith({{kPrefsSuccessAll, "1"}}),
         {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_Enter,
          Qt::Key_Space, Qt::Key_F5, Qt::Key_Shift, Qt::Key_Control, Qt::Key_CapsLock, 'q', 'n'},
         {1, 1, 1, 1, 1, 1, 1, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prefs);
        open(c.prefs);
        click("PushButton1");
        for (const auto& key : c.keys) {
            if (const char* letter = std::get_if<char>(&key)) {
                type(std::string(1, *letter));
            } else {
                press(std::get<Qt::Key>(key));
            }
        }
        EXPECT_TRUE(ui.canvas()->hasFocus());  // Tab did not move the focus
        ASSERT_EQ(run().trials().size(), c.answers.size());
        for (std::size_t i = 0; i < c.answers.size(); ++i) {
            EXPECT_EQ(run().trials()[i].answer, c.answers[i]) << i;
        }
    }
}

TEST_F(KeyHandling, KeysInReadOnlyFieldsAnswerWhileEditableFieldsKeepTheirTyping) {
    open();
    ui.field("EditField1")->setFocus();
    ui.field("EditField1")->end(false);
    type("1");  // typing into the editable start value, not an answer
    EXPECT_EQ(ui.field("EditField1")->text(), "501");
    EXPECT_EQ(window->console().view().parameters[0].text, "501");
    EXPECT_EQ(window->console().run(), nullptr);
    EXPECT_EQ(window->console().view().notice, "");
    // Tab moves between fields while no run is under way.
    press(Qt::Key_Tab);
    EXPECT_FALSE(ui.field("EditField1")->hasFocus());

    typeInto("EditField1", QStringLiteral("50"));
    click("PushButton1");
    ui.field("EditField1")->setFocus();  // read-only during the run
    type("y");
    EXPECT_EQ(run().trials().size(), 1U);
    EXPECT_EQ(ui.field("EditField1")->text(), "50");
    ui.button("PushButton3")->setFocus();  // a focused button does not swallow the answer
    type("n");
    EXPECT_EQ(run().trials().size(), 2U);
}

}  // namespace
}  // namespace limenta::testing
