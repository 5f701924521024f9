#include "core/prefs/prefs_format.h"

#include <algorithm>

#include "core/numbers/numbers.h"
#include "core/trial/response_keys.h"

namespace limenta {

std::string PrefsText::field(int n) const {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const std::size_t tab = text_.find('\t', start);
        if (tab == std::string::npos) {
            return {};
        }
        start = tab + 1;
    }
    const std::size_t end = text_.find('\t', start);
    return text_.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

double PrefsText::number(int n) const {
    return textToNumber(field(n));
}

std::int32_t PrefsText::whole(int n) const {
    return toWhole(number(n));
}

int PrefsText::volume(int n) const {
    return std::clamp(whole(n), 0, 100);
}

std::int32_t PrefsText::key(int n, std::int32_t fallback) const {
    const std::int32_t code = whole(n);
    return isCharacterCode(code) && menuKeyOf(code) == nullptr ? code : fallback;
}

std::vector<std::pair<std::string, std::string>> PrefsText::extensions() const {
    std::vector<std::pair<std::string, std::string>> found;
    // The fields past the end marker, in one pass; one without a key and "=" is no
    // extension, and is passed by.
    std::size_t start = 0;
    for (int n = 1; n <= kPrefsEndMarker && start != std::string::npos; ++n) {
        const std::size_t tab = text_.find('\t', start);
        start = tab == std::string::npos ? tab : tab + 1;
    }
    while (start != std::string::npos) {
        const std::size_t tab = text_.find('\t', start);
        const std::string text =
            text_.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos && equals > 0) {
            found.emplace_back(text.substr(0, equals), text.substr(equals + 1));
        }
        start = tab == std::string::npos ? tab : tab + 1;
    }
    return found;
}

std::string composePrefs(const Settings& s) {
    const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
    std::string text =
        composePrefs({s.initialOutput, s.stepSize, s.diffThreshold, std::to_string(s.voiceVolume),
                      std::to_string(s.signalVolume), std::to_string(s.clickVolume),
                      std::to_string(s.successKey), std::to_string(s.failKey), flag(s.successAll),
                      flag(s.failAll), s.lowerBound, s.upperBound, s.spread, s.mlDiffThreshold,
                      flag(s.useMlPest)});
    for (const auto& [key, value] : s.extension) {
        text += '\t' + key + '=' + value;
    }
    return text;
}

std::string defaultPrefsText() {
    return composePrefs(kDefaultSettings);
}

Settings readSettings(const PrefsText& prefs) {
    Settings s;
    s.initialOutput = prefs.field(kPrefsInitialOutput);
    s.stepSize = prefs.field(kPrefsStepSize);
    s.diffThreshold = prefs.field(kPrefsDiffThreshold);
    s.voiceVolume = prefs.volume(kPrefsVoiceVolume);
    s.signalVolume = prefs.volume(kPrefsSignalVolume);
    s.clickVolume = prefs.volume(kPrefsClickVolume);
    s.successKey = prefs.key(kPrefsSuccessKey, kDefaultSettings.successKey);
    s.failKey = prefs.key(kPrefsFailKey, kDefaultSettings.failKey);
    s.successAll = prefs.flag(kPrefsSuccessAll);
    s.failAll = prefs.flag(kPrefsFailAll);
    s.lowerBound = prefs.field(kPrefsLowerBound);
    s.upperBound = prefs.field(kPrefsUpperBound);
    s.spread = prefs.field(kPrefsSpread);
    s.mlDiffThreshold = prefs.field(kPrefsMlDiffThreshold);
    s.useMlPest = prefs.flag(kPrefsUseMlPest);
    s.extension = prefs.extensions();
    return s;
}

std::string composePrefs(const std::array<std::string, kPrefsFieldCount - 2>& values) {
    std::string text = kPrefsMarkerText;
    for (const std::string& value : values) {
        text += '\t';
        text += value;
    }
    text += '\t';
    text += kPrefsEndText;
    return text;
}

}  // namespace limenta
