// Preferences files for tests: the defaults with some fields replaced.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

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

// Files no reader takes for preferences: another program's marker, an empty file, a binary,
// the marker in UTF-16, another format.
inline std::vector<std::string> damagedPrefsFiles() {
    return {std::string("PESTPREF\t40\t3\t.1\t50\t50\t50\t13\t32\t1\t0\t10\t90\t5\t.1\t1"),
            std::string(),
            std::string("\x7f"
                        "ELF\x02\x01\x01\0\0\0",
                        10),
            std::string("\xff\xfeP\0E\0S\0T\0P\0R\0E\0F\0S\0\t\0", 22),
            std::string("[General]\nvolume=50\n")};
}

}  // namespace limenta::testing
