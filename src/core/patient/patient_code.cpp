#include "core/patient/patient_code.h"

#include <algorithm>

namespace limenta {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool continuation(unsigned char byte) {
    return (byte & 0xC0U) == 0x80U;
}

// The bytes of a character that begins with `lead`; 0 for a byte that begins none.
std::size_t lengthOf(unsigned char lead) {
    if (lead < 0x80U) {
        return 1;
    }
    if ((lead >> 5U) == 0x6U) {
        return 2;
    }
    if ((lead >> 4U) == 0xEU) {
        return 3;
    }
    return (lead >> 3U) == 0x1EU ? 4 : 0;
}

// The code point starting at `i`, and how many bytes it takes; nothing for a malformed one.
std::optional<char32_t> decode(std::string_view text, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = lengthOf(byte);
    if (length == 0 || i + length > text.size()) {
        ++i;
        return std::nullopt;
    }
    char32_t point = length == 1 ? byte : byte & (0xFFU >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if (!continuation(next)) {
            ++i;
            return std::nullopt;
        }
        point = (point << 6U) | (next & 0x3FU);
    }
    i += length;
    return point;
}

}  // namespace

std::string trimSpaces(std::string_view typed) {
    const std::size_t first = typed.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(typed.substr(first, typed.find_last_not_of(' ') - first + 1));
}

std::string safeFileName(std::string_view code) {
    std::string safe;
    for (const char c : code) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unsafe = byte < 0x20U || byte == 0x7FU ||
                            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos ||
                            (safe.empty() && c == '.');
        safe += unsafe ? '_' : c;
    }
    return safe;
}

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return !continuation(static_cast<unsigned char>(c));
    }));
}

bool holdsControl(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<char32_t> point = decode(text, i);
        if (!point || *point < 0x20 || (*point >= 0x7F && *point <= 0x9F) || *point == 0x2028 ||
            *point == 0x2029) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> patientCodeProblem(std::string_view typed) {
    if (typed.empty()) {
        return std::nullopt;
    }
    if (holdsControl(typed)) {
        return "holds a control character or a line break";
    }
    const std::string code = trimSpaces(typed);
    if (code.empty()) {
        return "holds only spaces: type the clinic's code, or leave it empty for a run that "
               "belongs to no patient";
    }
    if (characterCount(code) > kPatientCodeLongest) {
        return "is longer than 32 characters";
    }
    return std::nullopt;
}

bool samePatient(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lower(x) == lower(y); });
}

bool mentionsCode(std::string_view text, std::string_view code) {
    return !code.empty() &&
           std::search(text.begin(), text.end(), code.begin(), code.end(),
                       [](char x, char y) { return lower(x) == lower(y); }) != text.end();
}

}  // namespace limenta
