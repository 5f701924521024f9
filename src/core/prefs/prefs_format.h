// The preferences file "PREFS": one line of 17 tab-separated fields, no line terminator, and
// after the end marker "key=value" fields for what the 17 have no place for. Its one writer
// and its two readers agree on the format here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/prefs/settings.h"

namespace limenta {

// Field numbers, counted from 1 as the file is described.
enum PrefsField : int {
    kPrefsMarker = 1,       // "PESTPREFS"
    kPrefsInitialOutput,    // adaptive PEST, text
    kPrefsStepSize,         // adaptive PEST, text
    kPrefsDiffThreshold,    // adaptive PEST, text
    kPrefsVoiceVolume,      // 0 to 100
    kPrefsSignalVolume,     // 0 to 100
    kPrefsClickVolume,      // 0 to 100
    kPrefsSuccessKey,       // key code
    kPrefsFailKey,          // key code
    kPrefsSuccessAll,       // flag
    kPrefsFailAll,          // flag
    kPrefsLowerBound,       // ML-PEST, text
    kPrefsUpperBound,       // ML-PEST, text
    kPrefsSpread,           // ML-PEST, text
    kPrefsMlDiffThreshold,  // ML-PEST, text
    kPrefsUseMlPest,        // flag
    kPrefsEndMarker,        // "ENDOFFILE"
};
inline constexpr int kPrefsFieldCount = 17;

inline constexpr const char* kPrefsFileName = "PREFS";
inline constexpr const char* kPrefsMarkerText = "PESTPREFS";
inline constexpr const char* kPrefsEndText = "ENDOFFILE";

// The whole file's text, read field by field. Every value comes out safe to use: numbers
// are finite, volumes lie within 0 to 100, key codes are single characters.
class PrefsText {
  public:
    explicit PrefsText(std::string text) : text_(std::move(text)) {}

    // The file is ours when its first field is exactly the marker.
    [[nodiscard]] bool marked() const { return field(kPrefsMarker) == kPrefsMarkerText; }

    // Field n: the text after the (n-1)-th tab up to the n-th tab or the end; empty when
    // the file has fewer fields.
    [[nodiscard]] std::string field(int n) const;
    // A decimal number; 0 for text that does not start with one.
    [[nodiscard]] double number(int n) const;
    // A number made whole.
    [[nodiscard]] std::int32_t whole(int n) const;
    // A slider position, clamped to 0 to 100.
    [[nodiscard]] int volume(int n) const;
    // A key code; `fallback` when the field holds no single character's code, or a key the
    // menus take for themselves.
    [[nodiscard]] std::int32_t key(int n, std::int32_t fallback) const;
    // True only for exactly "1".
    [[nodiscard]] bool flag(int n) const { return field(n) == "1"; }
    // Every "key=value" field after the end marker, in file order.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> extensions() const;

  private:
    std::string text_;
};

// Writes the file's text from fields 2 to 16, in file order, between the two markers.
std::string composePrefs(const std::array<std::string, kPrefsFieldCount - 2>& values);
// The file's text for `settings`; entry texts are written as they stand.
std::string composePrefs(const Settings& settings);
// What a freshly opened Preferences dialog writes.
std::string defaultPrefsText();

// The settings a file holds: entry texts as they stand, volumes and keys made safe.
Settings readSettings(const PrefsText& prefs);

}  // namespace limenta
