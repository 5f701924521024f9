// The menu bar: File > Quit, and Edit's Undo, Cut, Copy, Paste and Clear, which act on
// the text field that has the keyboard focus.
#pragma once

class QMenuBar;
class QWidget;

namespace limenta {

QMenuBar* createMenuBar1(QWidget* parent);

}  // namespace limenta
