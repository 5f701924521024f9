// What an operator can type into an entry field: at most 32 characters, more than any
// number anyone types, so every field fits the preferences file whole. Text the program
// itself puts into a field is not cut.
#pragma once

class QLineEdit;

namespace limenta {

inline constexpr int kLongestTypedText = 32;

void limitTyping(QLineEdit* field);

}  // namespace limenta
