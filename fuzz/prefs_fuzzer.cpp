// libFuzzer target over the preferences file reader: whatever the bytes of PREFS, every
// value read from them is safe to use, and a file written from the fields read back
// gives the same fields.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/prefs/prefs_format.h"
#include "core/trial/response_keys.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace limenta;
    const PrefsText prefs(std::string(reinterpret_cast<const char*>(data), size));
    (void)prefs.marked();
    std::array<std::string, kPrefsFieldCount - 2> fields;
    for (int n = 0; n <= kPrefsFieldCount + 2; ++n) {
        const std::string text = prefs.field(n);
        require(text.find('\t') == std::string::npos);
        require(std::isfinite(prefs.number(n)));
        const int volume = prefs.volume(n);
        require(volume >= 0 && volume <= 100);
        const std::int32_t key = prefs.key(n, kDefaultSuccessKey);
        require(isCharacterCode(key));
        require(!keyDisplayName(key).empty());
        (void)prefs.whole(n);
        (void)prefs.flag(n);
        if (n >= 2 && n < kPrefsFieldCount) {
            fields[static_cast<std::size_t>(n - 2)] = text;
        }
    }
    const PrefsText written(composePrefs(fields));
    require(written.marked());
    for (int n = 2; n < kPrefsFieldCount; ++n) {
        require(written.field(n) == prefs.field(n));
    }
    require(written.field(kPrefsEndMarker) == kPrefsEndText);
    return 0;
}
