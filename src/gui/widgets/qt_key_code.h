// The key code of a key press: the character code the answer keys are stored under.
#pragma once

#include <cstdint>

class QKeyEvent;

namespace limenta {

// Return and keypad Enter 13, Tab 9, space 32, Backspace 8, Delete 127, the arrows 28 to
// 31; any other key the code of the character it types. 0 for a key that types nothing
// (Shift alone, a function key).
std::int32_t keyCodeOf(const QKeyEvent& event);

}  // namespace limenta
