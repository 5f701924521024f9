// Edit > Undo in the window: the latest answer taken back by the menu and by Ctrl+Z, once for
// a held Ctrl+Z, typing undone as typing while a field takes it, and the undo that waits for
// the answer's wait on its timer. What taking an answer back does to a run is tested with the
// console.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "gui/app/menu_bar.h"
#include "gui/fakes/main_window_fixture.h"

namespace limenta::testing {
namespace {

class Undo : public MainWindowTest {
  protected:
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
    [[nodiscard]] std::size_t answers() const { return run().trials().size(); }
};

TEST_F(Undo, EditUndoTakesAnswersBackDuringARunAndTypingBackOutsideIt) {
    open();
    withMenus();
    QAction* undo = editItem("EditUndo");
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(editItem("EditUndoLastAnswer"), nullptr);
    EXPECT_FALSE(undo->autoRepeat());

    // Before Start: nothing to take back, and nothing happens; typing is undone as typing.
    EXPECT_FALSE(undoLastAnswerOffered());
    ui.canvas()->setFocus();
    pressUndo();
    EXPECT_EQ(window->console().run(), nullptr);
    QLineEdit* first = ui.field("EditField1");
    first->setFocus();
    first->end(false);
    QTest::keyClicks(first, "5");
    ASSERT_EQ(first->text(), "505");
    pressUndo();
    EXPECT_EQ(first->text(), "50");
    EXPECT_EQ(window->console().view().parameters[0].text, "50");  // the console follows

    click("PushButton1");
    EXPECT_FALSE(undoLastAnswerOffered());
    type("yyn");
    EXPECT_TRUE(undoLastAnswerOffered());
    pressUndo();
    EXPECT_EQ(answers(), 2U);
    EXPECT_EQ(big(), "36");
    // A held Ctrl+Z: the keyboard's repeats, flagged or not (a release and a press at once).
    pressUndo(true);
    pressUndo();
    EXPECT_EQ(answers(), 2U);
    pastTheWait();

    // A field locked for the run has the keyboard: the answer is taken back all the same.
    first->setFocus();
    pressUndo();
    EXPECT_EQ(answers(), 1U);

    editItem("EditUndoLastAnswer")->trigger();
    EXPECT_EQ(answers(), 0U);

    // After Reset: nothing to take back again.
    click("PushButton3");
    EXPECT_FALSE(undoLastAnswerOffered());
    ui.canvas()->setFocus();
    pastTheWait();
    pressUndo();
    EXPECT_EQ(window->console().run(), nullptr);
}

TEST_F(Undo, AnUndoWithinTheAnswersWaitRunsOnItsTimerWhenTheWaitEnds) {
    open();
    click("PushButton1");
    type("y");
    QTest::keyClick(window->windowHandle(), 'y');  // 36 shown; its wait begins
    window->undoLastAnswer();
    EXPECT_TRUE(ui.timer("Timer4")->isActive());
    EXPECT_EQ(big(), "36");
    pastTheWait();
    tick("Timer4");
    EXPECT_EQ(big(), "43");
    EXPECT_FALSE(ui.timer("Timer4")->isActive());
    EXPECT_TRUE(ui.timer("Timer1")->isActive());  // the number is announced again
}

}  // namespace
}  // namespace limenta::testing
