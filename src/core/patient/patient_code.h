// A patient's code as the clinic writes it (a hospital number, a study code): what the
// operator may type, how it is kept, and when two codes name the same patient.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace limenta {

inline constexpr std::size_t kPatientCodeLongest = 32;  // characters, not bytes

// The text less any spaces at either end: a code as kept, a setup's part.
std::string trimSpaces(std::string_view typed);

// Why the text typed cannot be a code, in words that follow the field's name; nothing when it
// is one, or when the field is empty (a run that belongs to no patient).
std::optional<std::string> patientCodeProblem(std::string_view typed);

// Two codes name one patient when they differ only in the case of their Latin letters.
bool samePatient(std::string_view a, std::string_view b);

// `text` holds the code `code` somewhere, whatever the case of its Latin letters.
bool mentionsCode(std::string_view text, std::string_view code);

// The code made safe as part of a file's name on any system: each character a file name
// cannot hold (a slash, a colon, a control character...) and a leading dot become "_".
std::string safeFileName(std::string_view code);

// Characters of UTF-8 text; a byte that begins no character counts as one.
std::size_t characterCount(std::string_view text);
// A control character or a line break among them (C0, DEL, C1, and the line and paragraph
// separators), or bytes that are not UTF-8.
bool holdsControl(std::string_view text);

}  // namespace limenta
