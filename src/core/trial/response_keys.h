// The response keys: which key press is an answer, and how a key is named to the operator.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace limenta {

// Key codes of the keys that have no printable character.
namespace keycode {
inline constexpr std::int32_t kBackspace = 8;
inline constexpr std::int32_t kTab = 9;
inline constexpr std::int32_t kReturn = 13;
inline constexpr std::int32_t kEscape = 27;
inline constexpr std::int32_t kLeft = 28;
inline constexpr std::int32_t kRight = 29;
inline constexpr std::int32_t kUp = 30;
inline constexpr std::int32_t kDown = 31;
inline constexpr std::int32_t kSpace = 32;
inline constexpr std::int32_t kDelete = 127;
}  // namespace keycode

inline constexpr std::int32_t kDefaultSuccessKey = 121;  // y
inline constexpr std::int32_t kDefaultFailKey = 110;     // n

// The keys the main window opens with, until the preferences are applied.
inline constexpr std::int32_t kOpeningSuccessKey = '1';
inline constexpr std::int32_t kOpeningFailKey = '0';

struct ResponseKeys {
    std::int32_t successkey = kOpeningSuccessKey;
    std::int32_t failkey = kOpeningFailKey;
    bool successall = false;  // every key but the failure key means success
    bool failall = false;     // every key but the success key means failure
};

// The commands of the menus that have a key. The menus take their key before the window
// sees it, so none can be an answer key.
enum class MenuCommand { Quit, Undo, Cut, Copy, Paste };

struct MenuKey {
    MenuCommand command;
    std::int32_t code;  // the control character the key gives
    const char* name;   // as the menus show it
    const char* what;   // "quits Limenta"
};

inline constexpr std::array kMenuKeys{
    MenuKey{MenuCommand::Quit, 17, "Ctrl+Q", "quits Limenta"},
    MenuKey{MenuCommand::Undo, 26, "Ctrl+Z", "is Edit > Undo"},
    MenuKey{MenuCommand::Cut, 24, "Ctrl+X", "is Edit > Cut"},
    MenuKey{MenuCommand::Copy, 3, "Ctrl+C", "is Edit > Copy"},
    MenuKey{MenuCommand::Paste, 22, "Ctrl+V", "is Edit > Paste"},
};

// The table lists the commands in their order.
constexpr const MenuKey& menuKey(MenuCommand command) {
    return kMenuKeys[static_cast<std::size_t>(command)];
}
static_assert([] {
    for (std::size_t i = 0; i < kMenuKeys.size(); ++i) {
        if (kMenuKeys[i].command != static_cast<MenuCommand>(i)) {
            return false;
        }
    }
    return true;
}());

// The menu command whose key gives `code`, if any.
const MenuKey* menuKeyOf(std::int32_t code);

// "Ctrl+Q quits Limenta: choose another key."
std::string menuKeyRefusal(const MenuKey& key);

// True for the code of one Unicode character (1 to 0x10FFFF, no surrogate).
bool isCharacterCode(std::int32_t code);

// The name of a key code: ENTER, TAB, SPACE, DELETE (8 and 127), RIGHT, LEFT, UP, DOWN,
// ESC, CTRL+A to CTRL+Z for the other codes 1 to 26, CODE n for any other control
// character, or the character itself as UTF-8.
std::string keyDisplayName(std::int32_t code);

// "Success = y     Failure = n", with ANY for a key whose all-keys option is set.
std::string keyLegend(const ResponseKeys& keys);

// Two key codes name the same key when they are equal, or the same letter in either case,
// so Caps Lock never disables the answer keys.
bool sameKey(std::int32_t pressed, std::int32_t configured);

struct KeyAnswer {
    bool taken = false;       // the key is an answer key
    std::int32_t answer = 0;  // 1 success, 0 failure
};

// Classifies a key press. When both keys have the same code it counts as a failure; with
// both all-keys options set no key is an answer.
KeyAnswer classifyKey(std::int32_t code, const ResponseKeys& keys);

}  // namespace limenta
