#include "core/trial/response_keys.h"

namespace limenta {

bool isCharacterCode(std::int32_t code) {
    return code >= 1 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

namespace {

std::string utf8(std::int32_t code) {
    if (!isCharacterCode(code)) {
        code = 0xFFFD;  // the replacement character
    }
    const auto c = static_cast<std::uint32_t>(code);
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

// Lower case of the Latin letters (ASCII and Latin-1), the letters an answer key is
// realistically set to; any other code is its own.
std::int32_t foldCase(std::int32_t code) {
    if (code >= 'A' && code <= 'Z') {
        return code + ('a' - 'A');
    }
    if (code >= 0xC0 && code <= 0xDE && code != 0xD7) {
        return code + 0x20;
    }
    return code;
}

}  // namespace

std::string keyDisplayName(std::int32_t code) {
    switch (code) {
        case keycode::kReturn:
            return "ENTER";
        case keycode::kTab:
            return "TAB";
        case keycode::kSpace:
            return "SPACE";
        case keycode::kBackspace:
        case keycode::kDelete:
            return "DELETE";
        case keycode::kRight:
            return "RIGHT";
        case keycode::kLeft:
            return "LEFT";
        case keycode::kUp:
            return "UP";
        case keycode::kDown:
            return "DOWN";
        case keycode::kEscape:
            return "ESC";
        default:
            break;
    }
    // Control characters have no face: Ctrl with a letter gives 1 to 26; name the rest.
    if (code >= 1 && code <= 26) {
        return "CTRL+" + std::string(1, static_cast<char>('A' + code - 1));
    }
    if ((code >= 0 && code < 32) || (code >= 0x7F && code <= 0x9F)) {
        return "CODE " + std::to_string(code);
    }
    return utf8(code);
}

std::string keyLegend(const ResponseKeys& keys) {
    const std::string success = keys.successall ? "ANY" : keyDisplayName(keys.successkey);
    const std::string failure = keys.failall ? "ANY" : keyDisplayName(keys.failkey);
    return "Success = " + success + "     Failure = " + failure;
}

bool sameKey(std::int32_t pressed, std::int32_t configured) {
    return foldCase(pressed) == foldCase(configured);
}

KeyAnswer classifyKey(std::int32_t code, const ResponseKeys& keys) {
    KeyAnswer result;
    if (!keys.successall && !keys.failall) {
        if (sameKey(code, keys.successkey)) {
            result = {true, 1};
        }
        if (sameKey(code, keys.failkey)) {
            result = {true, 0};
        }
    } else if (keys.successall && !keys.failall) {
        result = {true, sameKey(code, keys.failkey) ? 0 : 1};
    } else if (keys.failall && !keys.successall) {
        result = {true, sameKey(code, keys.successkey) ? 1 : 0};
    }
    return result;
}

const MenuKey* menuKeyOf(std::int32_t code) {
    for (const MenuKey& key : kMenuKeys) {
        if (key.code == code) {
            return &key;
        }
    }
    return nullptr;
}

std::string menuKeyRefusal(const MenuKey& key) {
    return std::string(key.name) + " " + key.what + ": choose another key.";
}

}  // namespace limenta
