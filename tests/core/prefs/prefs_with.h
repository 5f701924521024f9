// Preferences files for tests: the defaults with some fields replaced.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/prefs/prefs_format.h"

namespace limenta::testing {

// The default preferences with fields replaced: {{field number, text}, ...}.
inline std::string prefsWith(std::initializer_list<std::pair<int, std::string>> changes) {
    std::array<std::string, kPrefsFieldCount - 2> values;
    const PrefsText defaults(defaultPrefsText());
    for (int n = 2; n < kPrefsFieldCount; ++n) {
        values[static_cast<std::size_t>(n - 2)] = defaults.field(n);
    }
    for (const auto& [field, text] : changes) {
        values[static_cast<std::size_t>(field - 2)] = text;
    }
    return composePrefs(values);
}

}  // namespace limenta::testing
