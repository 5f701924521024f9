// The menu bar: File > Practice with a Virtual Patient..., Past Runs..., Patients... and Quit;
// Edit's Undo, Cut, Copy, Paste and Clear, which act on the text field that has the keyboard focus,
// and Undo Last Answer.
#pragma once

#include <functional>

class QMenuBar;
class QWidget;

namespace limenta {

// What the menus ask of the window they serve; a command left empty is not offered.
struct MenuActions {
    // File > Practice with a Virtual Patient..., enabled while `practiceAvailable` says so.
    std::function<void()> practice{};
    std::function<bool()> practiceAvailable{};
    std::function<void()> pastRuns{};  // File > Past Runs...
    std::function<void()> patients{};  // File > Patients...
    // Takes the run's latest answer back: Edit > Undo when no text field has the keyboard,
    // and Edit > Undo Last Answer, enabled while `answerUndoable` says so.
    std::function<void()> undoAnswer{};
    std::function<bool()> answerUndoable{};
};

// Quit closes `parent`'s window, which asks first during a run. Practice, Past Runs, Patients
// and Undo
// Last Answer have no shortcut, since any other key may be an answer key.
QMenuBar* createMenuBar1(QWidget* parent, const MenuActions& actions = {});

}  // namespace limenta
