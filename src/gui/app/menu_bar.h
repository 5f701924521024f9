// The menu bar: File > Past Runs... and Quit, and Edit's Undo, Cut, Copy, Paste and Clear, which
// act on the text field that has the keyboard focus.
#pragma once

#include <functional>

class QMenuBar;
class QWidget;

namespace limenta {

// Quit closes `parent`'s window, which asks first during a run. Past Runs is offered when
// `pastRuns` is given; it has no shortcut, since any key may be an answer key.
QMenuBar* createMenuBar1(QWidget* parent, const std::function<void()>& pastRuns = {});

}  // namespace limenta
