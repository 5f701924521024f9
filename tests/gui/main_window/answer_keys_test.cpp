// Whole runs driven by key presses through the window system.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "core/run/run.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/main_window/key_router.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

using KeyHandling = MainWindowTest;

TEST_F(KeyHandling, AdaptivePestRunFromStartToTheGreenEstimate) {
    Window1& w = open();
    w.PushButton1->click();
    EXPECT_EQ(big(), "50");
    EXPECT_EQ(caption(), "Next Output to Try:");
    EXPECT_EQ(w.StaticText6->text(), "Success = y     Failure = n");

    const std::vector<std::pair<char, const char*>> steps{{'y', "43"}, {'y', "36"}, {'n', "40"},
                                                          {'n', "43"}, {'y', "41"}, {'n', "42"}};
    EXPECT_EQ(w.StaticText20->text(), "");  // no answer, no interval
    for (const auto& [key, shown] : steps) {
        type(std::string(1, key));
        EXPECT_EQ(big(), shown);
        EXPECT_TRUE(w.StaticText20->text().startsWith(QLatin1String("95 % interval: ")));
        EXPECT_EQ(caption(), "Next Output to Try :");
        EXPECT_EQ(textColour(w.StaticText4), kDesignBlack);
        EXPECT_EQ(w.StaticText7->text(), "");  // no estimate, no value
    }
    EXPECT_EQ(fake.sounds.fake("Click").plays, 6);
    EXPECT_EQ(fake.sounds.fake("ding2").plays, 0);

    fake.clocks.micros = 95'250'000;
    type("y");
    EXPECT_EQ(big(), "42");
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    EXPECT_EQ(textColour(w.StaticText4), kDesignGreen);
    EXPECT_EQ(w.state().myrmt, 41.6875);
    EXPECT_EQ(w.state().totaltime, 95.25);
    EXPECT_EQ(w.StaticText7->text(), "33");
    EXPECT_EQ(w.StaticText8->text(), "42");
    EXPECT_EQ(w.StaticText9->text(), "50");
    EXPECT_EQ(fake.sounds.fake("ding2").plays, 1);
    EXPECT_EQ(fake.sounds.fake("ding2").playedAtVolume.back(), 100);  // the stored signal volume
    EXPECT_EQ(fake.sounds.played.back(), "ding2");  // the click first, then the signal
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.state().clippedThresh, 42);

    // How sure: wider than 15 % of its median after seven pulses, so amber.
    EXPECT_EQ(w.StaticText20->text(),
              "95 % interval: 37 \u2013 45 (7 pulses) wide: consider more pulses");
    EXPECT_EQ(textColour(w.StaticText20), kDesignAmber);
    EXPECT_EQ(history(),
              "07   042.13   042   1.0   00.4375\r"
              "06   041.25   041   0.0   00.8750\r"
              "05   043.00   043   1.0   01.7500\r"
              "04   039.50   040   0.0   03.5000\r"
              "03   036.00   036   0.0   03.5000\r"
              "02   043.00   043   1.0   07.0000\r"
              "01   050.00   050   1.0   07.0000\r");
}

TEST_F(KeyHandling, MlPestRunKeepsItsCaptionUntilTwoEstimatesAgree) {
    Window1& w = open(prefsWith({{kPrefsUseMlPest, "1"}}));
    ASSERT_EQ(method(), "ml");
    w.PushButton1->click();
    EXPECT_EQ(big(), "45");
    EXPECT_EQ(w.state().nrstimulus, 2);

    type("n");
    EXPECT_EQ(big(), "62");
    EXPECT_EQ(caption(), "Next Output to Try:");  // ML-PEST leaves Start's caption alone
    EXPECT_EQ(history(), "01   045.00   045   0.0   45.0000\r");
    type("y");
    EXPECT_EQ(big(), "53");
    type("n");
    EXPECT_EQ(big(), "57");

    for (int i = 0; i < 60 && w.state().myrmt == 0; ++i) {
        type(i % 2 == 0 ? "y" : "n");
    }
    ASSERT_NE(w.state().myrmt, 0);
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    EXPECT_EQ(textColour(w.StaticText4), kDesignGreen);
    const int recorded = w.state().nrstimulus;
    const QString shown = big();

    type("y");  // after the end: the same estimate again, green, with the signal
    EXPECT_EQ(w.state().nrstimulus, recorded);
    EXPECT_EQ(big(), shown);
    EXPECT_EQ(fake.sounds.fake("ding2").plays, 2);
}

TEST_F(KeyHandling, OtherKeysAreIgnoredAndStartNoWait) {
    Window1& w = open();
    w.PushButton1->click();
    QTest::keyClick(w.windowHandle(), 'x');
    EXPECT_EQ(big(), "50");
    EXPECT_EQ(fake.sounds.fake("Click").plays, 0);
    EXPECT_TRUE(history().isEmpty());
    QTest::keyClick(w.windowHandle(), 'y');  // at once after the stray key
    EXPECT_EQ(w.state().stepnum, 1);
}

TEST_F(KeyHandling, KeysDuringTheAnswersWaitAreDroppedAndTheVoiceWaitsForItsEnd) {
    Window1& w = open(prefsWith({{kPrefsVoiceVolume, "80"}}));
    w.PushButton1->click();
    fake.clocks.tick = 1000;
    QTest::keyClick(w.windowHandle(), 'y');
    fake.clocks.tick += 4;  // a second press 60 ms later: one pulse, one answer
    QTest::keyClick(w.windowHandle(), 'n');
    EXPECT_EQ(w.state().stepnum, 1);
    EXPECT_EQ(fake.sounds.fake("Click").plays, 1);
    w.Timer1_Action();  // the wait holds the announcement back
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_FALSE(w.Timer2->isActive());

    fake.clocks.tick = 1030;  // the wait lasts until more than 30 ticks have passed
    QTest::keyClick(w.windowHandle(), 'y');
    EXPECT_EQ(w.state().stepnum, 1);
    fake.clocks.tick = 1031;
    w.Timer1_Action();
    EXPECT_TRUE(w.Timer2->isActive());
    QTest::keyClick(w.windowHandle(), 'n');
    EXPECT_EQ(w.state().stepnum, 2);
    EXPECT_EQ(w.state().mep[2], 0);
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
        Window1& w = open();
        w.PushButton1->click();
        holdKey(w.Canvas1, fake.clocks, flagged, split);
        EXPECT_EQ(w.state().stepnum, 1);
        EXPECT_EQ(big(), "43");
        fake.clocks.tick += kRepeatGapTicks + 1;  // lifted, then pressed again
        QTest::keyClick(w.windowHandle(), 'y');
        EXPECT_EQ(w.state().stepnum, 2);
        // Another key while one is held is an answer of its own.
        pastTheWait();
        QTest::keyPress(w.windowHandle(), 'y');
        pastTheWait();
        QTest::keyClick(w.windowHandle(), 'n');
        EXPECT_EQ(w.state().stepnum, 4);
        QTest::keyRelease(w.windowHandle(), 'y');
    }
}

TEST_F(KeyHandling, CapsLockStillAnswers) {
    Window1& w = open();
    w.PushButton1->click();
    type("Y");
    EXPECT_EQ(big(), "43");
    type("N");
    EXPECT_EQ(w.state().stepnum, 2);
}

TEST_F(KeyHandling, SpecialKeysAnswerThroughTheirCodes) {
    // Success Tab, failure Delete: keys the window system gives no text for.
    Window1& w = open(prefsWith({{kPrefsSuccessKey, "9"}, {kPrefsFailKey, "127"}}));
    w.PushButton1->click();
    EXPECT_EQ(w.StaticText6->text(), "Success = TAB     Failure = DELETE");
    press(Qt::Key_Tab);
    EXPECT_EQ(big(), "43");
    EXPECT_TRUE(w.Canvas1->hasFocus());  // Tab did not move the focus
    press(Qt::Key_Delete);
    EXPECT_EQ(w.state().stepnum, 2);
    EXPECT_EQ(w.state().mep[2], 0);
}

TEST_F(KeyHandling, EscapeAndCtrlLettersAreNamedAndAnswer) {
    Window1& w = open(prefsWith({{kPrefsSuccessKey, "27"}, {kPrefsFailKey, "1"}}));
    w.PushButton1->click();
    EXPECT_EQ(w.StaticText6->text(), "Success = ESC     Failure = CTRL+A");
    press(Qt::Key_Escape);
    EXPECT_EQ(w.state().stepnum, 1);
    EXPECT_EQ(w.state().mep[1], 1);
    answer(1);  // the code Ctrl+A gives
    EXPECT_EQ(w.state().stepnum, 2);
    EXPECT_EQ(w.state().mep[2], 0);
}

TEST_F(KeyHandling, ArrowsAndReturnAnswerUnderAllOtherKeys) {
    Window1& w = open(prefsWith({{kPrefsSuccessAll, "1"}}));
    w.PushButton1->click();
    EXPECT_EQ(w.StaticText6->text(), "Success = ANY     Failure = n");
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return,
                              Qt::Key_Enter, Qt::Key_Space}) {
        press(key);
    }
    type("q");
    EXPECT_EQ(w.state().stepnum, 8);
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(w.state().mep[k], 1) << k;
    }
    type("n");
    EXPECT_EQ(w.state().mep[9], 0);
    // Keys that give no character are no answer, even under all other keys.
    for (const Qt::Key key : {Qt::Key_F5, Qt::Key_Shift, Qt::Key_Control, Qt::Key_CapsLock}) {
        press(key);
    }
    EXPECT_EQ(w.state().stepnum, 9);
}

TEST_F(KeyHandling, KeysInReadOnlyFieldsAnswerWhileEditableFieldsKeepTheirTyping) {
    Window1& w = open();
    w.EditField1->setFocus();
    type("1");  // typing into the editable start value, not an answer
    EXPECT_EQ(w.EditField1->text(), "501");
    EXPECT_EQ(w.state().stepnum, 0);

    w.EditField1->setText(QStringLiteral("50"));
    w.PushButton1->click();
    w.EditField1->setFocus();  // read-only during the run
    type("y");
    EXPECT_EQ(w.state().stepnum, 1);
    EXPECT_EQ(w.EditField1->text(), "50");
    w.PushButton3->setFocus();  // a focused button does not swallow the answer
    type("n");
    EXPECT_EQ(w.state().stepnum, 2);
}

TEST_F(KeyHandling, AnswerKeysOutsideARunAreNotTaken) {
    Window1& w = open();
    const auto expectUntouched = [&](const QString& shown) {
        EXPECT_EQ(w.state().stepnum, 0);
        EXPECT_EQ(big(), shown);
        EXPECT_TRUE(history().isEmpty());
        EXPECT_EQ(fake.sounds.fake("Click").plays, 0);
        EXPECT_EQ(fake.sounds.fake("ding2").plays, 0);
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_EQ(w.notice(), "Press Start to begin a run");
    };
    type("y");  // before the first Start
    expectUntouched("");
    EXPECT_EQ(w.state().myrmt, 0);

    w.PushButton1->click();
    EXPECT_EQ(w.notice(), "");  // a run: the reminder has done its work
    w.PushButton3->click();
    type("n");  // after Reset
    expectUntouched("");
}

TEST_F(KeyHandling, The201stAnswerIsRefusedWithAMessageInEveryMethod) {
    for (const Method& m : methods()) {
        if (!m.inWindow) {
            continue;
        }
        SCOPED_TRACE(m.key);
        Window1& w = open();
        choose(m.key);
        w.PushButton1->click();
        for (int i = 0; i < kLastTrial; ++i) {
            answer(i % 2 == 0 ? 'y' : 'n');  // runs end and go on after their end
        }
        ASSERT_EQ(w.state().stepnum, kLastTrial);
        const QString before = history();
        const int clicks = fake.sounds.fake("Click").plays;
        type("y");
        EXPECT_EQ(caption(), kTrialLimitMessage);
        EXPECT_EQ(w.state().stepnum, kLastTrial);
        EXPECT_EQ(history(), before);
        EXPECT_EQ(history().count(QLatin1Char('\r')), kLastTrial);
        EXPECT_EQ(fake.sounds.fake("Click").plays, clicks);
    }
}

TEST_F(KeyHandling, ClampedOutputsStayOnScreenWithinOneToHundred) {
    Window1& w = open(prefsWith({{kPrefsInitialOutput, "97"}}));
    w.PushButton1->click();
    type("n");
    EXPECT_EQ(big(), "100");
    type("n");  // pushed further out: a move of 0 ends the run at 100
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    EXPECT_EQ(w.state().clippedThresh, 100);
}

}  // namespace
}  // namespace limenta::testing
