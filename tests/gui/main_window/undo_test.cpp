// Taking answers back in the window: the run as it stood before them, in every method, the
// timing within the answer's wait, and Edit > Undo beside typing.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <random>

#include "core/numbers/numbers.h"
#include "gui/app/menu_bar.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/report/output_window.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

// Everything the window shows of a run, and the number it announces.
struct Shown {
    QString big;
    QColor bigColour;
    QString caption;
    QString history;
    QString interval;
    QColor intervalColour;
    QStringList quickReference;
    QImage plot;
    int announced = 0;
    QString report;  // but for its "Answers withdrawn" line
};

class Undo : public MainWindowTest {
  protected:
    [[nodiscard]] Shown shown() const {
        Window1& w = *window;
        w.PushButton4->click();
        QString report = w.outputWindow()->EditField1->text();
        report.remove(QRegularExpression(QStringLiteral("Answers withdrawn = \\d+\r")));
        QStringList quick;
        for (const QLabel* value : {w.StaticText7, w.StaticText8, w.StaticText9, w.StaticText13,
                                    w.StaticText14, w.StaticText15}) {
            quick << value->text();
        }
        return {big(),
                textColour(w.StaticText4),
                caption(),
                history(),
                w.StaticText20->text(),
                textColour(w.StaticText20),
                quick,
                w.p,
                w.state().clippedThresh,
                report};
    }
    static void expectSame(const Shown& a, const Shown& b) {
        EXPECT_EQ(a.big, b.big);
        EXPECT_EQ(a.bigColour, b.bigColour);
        EXPECT_EQ(a.caption, b.caption);
        EXPECT_EQ(a.history, b.history);
        EXPECT_EQ(a.interval, b.interval);
        EXPECT_EQ(a.intervalColour, b.intervalColour);
        EXPECT_EQ(a.quickReference, b.quickReference);
        EXPECT_TRUE(a.plot == b.plot) << "the plots differ";
        EXPECT_EQ(a.announced, b.announced);
        EXPECT_EQ(a.report, b.report);
    }
    // Edit > Undo and Undo Last Answer as the program wires them.
    void withMenus() {
        Window1& w = *window;
        w.setMenuBar(createMenuBar1(&w, {.undoAnswer = [&w] { w.undoLastAnswer(); },
                                         .answerUndoable = [&w] { return w.answerUndoable(); }}));
    }
    [[nodiscard]] QAction* editItem(const char* name) const {
        return window->menuBar()->findChild<QAction*>(QLatin1String(name));
    }
    [[nodiscard]] bool undoLastAnswerOffered() const {
        auto* edit = window->menuBar()->findChild<QMenu*>(QStringLiteral("EditMenu"));
        emit edit->aboutToShow();
        return editItem("EditUndoLastAnswer")->isEnabled();
    }
    // Ctrl+Z pressed and released, as the window system delivers it (with the control
    // character as its text).
    void pressUndo(bool repeat = false) {
        QWindow* handle = window->windowHandle();
        const QString text(QChar(26));
        QTest::simulateEvent(handle, true, Qt::Key_Z, Qt::ControlModifier, text, repeat);
        QTest::simulateEvent(handle, false, Qt::Key_Z, Qt::ControlModifier, text, repeat);
    }
};

// Random answers (a subject near 45 who now and then answers wrongly) and take-backs: the
// window then shows exactly what a fresh run of the answers it kept shows.
TEST_F(Undo, EveryMethodShowsTheRunAsIfTheAnswerHadNeverBeenGiven) {
    Window1& w = open();
    std::mt19937 random(27);
    for (const char* key : {"pest", "ml", "bayes"}) {
        for (int script = 0; script < 4; ++script) {
            SCOPED_TRACE(std::string(key) + " script " + std::to_string(script));
            w.PushButton3->click();
            choose(key);
            w.PushButton1->click();
            std::string kept;
            const int clicks = fake.sounds.fake("Click").plays;
            int given = 0;
            for (int event = 0; event < 24 || kept.empty(); ++event) {
                if (!kept.empty() && (random() % 3 == 0 || event >= 24)) {
                    w.undoLastAnswer();
                    kept.pop_back();
                    if (event >= 24) {
                        break;  // every script ends on a take-back
                    }
                } else {
                    const bool mep = nearestWhole(w.run()->output()) >= 45;
                    const char answer = (mep != (random() % 8 == 0)) ? 'y' : 'n';
                    type(std::string(1, answer));
                    kept += answer;
                    ++given;
                }
            }
            EXPECT_EQ(fake.sounds.fake("Click").plays - clicks, given);  // none for an undo
            EXPECT_TRUE(w.Timer1->isActive());  // the number is announced again
            const Shown afterUndo = shown();
            w.PushButton3->click();
            w.PushButton1->click();
            type(kept);
            expectSame(afterUndo, shown());
        }
    }
}

TEST_F(Undo, TheEndTakenBackIsNoLongerReachedAnAnswerAfterItLeavesItStanding) {
    Window1& w = open();
    w.PushButton1->click();
    type("yynnyny");
    ASSERT_EQ(textColour(w.StaticText4), kDesignGreen);
    const int dings = fake.sounds.fake("ding2").plays;

    w.undoLastAnswer();      // the answer that reached the end
    EXPECT_EQ(big(), "42");  // fired for it, to be answered again
    EXPECT_EQ(caption(), "Next Output to Try :");
    EXPECT_EQ(textColour(w.StaticText4), kDesignBlack);
    EXPECT_EQ(w.StaticText7->text(), "");
    EXPECT_TRUE(w.StaticText20->text().contains(QLatin1String("(6 pulses)")));
    EXPECT_EQ(w.state().clippedThresh, 42);
    EXPECT_EQ(w.state().myrmt, 0);

    type("y");
    EXPECT_EQ(textColour(w.StaticText4), kDesignGreen);
    EXPECT_EQ(fake.sounds.fake("ding2").plays, dings + 1);
    const Shown atTheEnd = shown();
    type("y");  // after the end
    w.undoLastAnswer();
    expectSame(atTheEnd, shown());
    EXPECT_EQ(caption(), "rMT Estimate Reached :");
    EXPECT_EQ(w.StaticText7->text(), "33");

    // Back to the first answer: the run as Start left it, and nothing more to take back.
    for (int i = 0; i < 7; ++i) {
        w.undoLastAnswer();
    }
    EXPECT_EQ(big(), "50");
    EXPECT_EQ(caption(), "Next Output to Try:");
    EXPECT_EQ(history(), "");
    EXPECT_EQ(w.StaticText20->text(), "");
    EXPECT_TRUE(w.p == splashPicture());
    EXPECT_FALSE(w.answerUndoable());
    w.undoLastAnswer();
    EXPECT_EQ(big(), "50");
    EXPECT_EQ(w.run()->withdrawn().size(), 9U);
    type("y");
    EXPECT_EQ(big(), "43");
}

TEST_F(Undo, WithinTheAnswersWaitOneUndoIsCarriedOutWhenItEnds) {
    Window1& w = open();
    w.PushButton1->click();
    type("y");
    QTest::keyClick(w.windowHandle(), 'y');  // 36 shown; its wait begins
    ASSERT_EQ(big(), "36");
    w.undoLastAnswer();
    w.undoLastAnswer();                      // a bounce: dropped
    QTest::keyClick(w.windowHandle(), 'n');  // dropped, as any answer in the wait
    w.Timer4_Action();                       // the wait has not ended: nothing yet
    EXPECT_EQ(big(), "36");
    EXPECT_EQ(w.run()->trials().size(), 2U);
    EXPECT_TRUE(w.Timer4->isActive());

    pastTheWait();
    w.Timer4_Action();
    EXPECT_EQ(big(), "43");
    EXPECT_EQ(w.run()->trials().size(), 1U);
    EXPECT_FALSE(w.Timer4->isActive());

    // Reset drops an undo still waiting.
    QTest::keyClick(w.windowHandle(), 'y');
    w.undoLastAnswer();
    w.PushButton3->click();
    EXPECT_FALSE(w.Timer4->isActive());
}

TEST_F(Undo, EditUndoTakesAnswersBackDuringARunAndTypingBackOutsideIt) {
    Window1& w = open();
    withMenus();
    QAction* undo = editItem("EditUndo");
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(editItem("EditUndoLastAnswer"), nullptr);
    EXPECT_FALSE(undo->autoRepeat());

    // Before Start: nothing to take back, and nothing happens; typing is undone as typing.
    EXPECT_FALSE(undoLastAnswerOffered());
    w.Canvas1->setFocus();
    pressUndo();
    EXPECT_EQ(w.run(), nullptr);
    w.EditField1->setFocus();
    w.EditField1->end(false);
    QTest::keyClicks(w.EditField1, "5");
    ASSERT_EQ(w.EditField1->text(), "505");
    pressUndo();
    EXPECT_EQ(w.EditField1->text(), "50");

    w.PushButton1->click();
    EXPECT_FALSE(undoLastAnswerOffered());
    type("yyn");
    EXPECT_TRUE(undoLastAnswerOffered());
    pressUndo();
    EXPECT_EQ(w.run()->trials().size(), 2U);
    EXPECT_EQ(big(), "36");
    // A held Ctrl+Z: the keyboard's repeats, flagged or not (a release and a press at once).
    pressUndo(true);
    pressUndo();
    EXPECT_EQ(w.run()->trials().size(), 2U);
    pastTheWait();

    // A field locked for the run has the keyboard: the answer is taken back all the same.
    w.EditField1->setFocus();
    pressUndo();
    EXPECT_EQ(w.run()->trials().size(), 1U);

    editItem("EditUndoLastAnswer")->trigger();
    EXPECT_EQ(w.run()->trials().size(), 0U);

    // After Reset: nothing to take back again.
    w.PushButton3->click();
    EXPECT_FALSE(undoLastAnswerOffered());
    w.Canvas1->setFocus();
    pastTheWait();
    pressUndo();
    EXPECT_EQ(w.run(), nullptr);
}

}  // namespace
}  // namespace limenta::testing
