// What the preferences file keeps, as the Preferences dialog shows it, and the values a
// new installation starts with.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/trial/response_keys.h"

namespace limenta {

struct Settings {
    // Adaptive PEST, as typed.
    std::string initialOutput;
    std::string stepSize;
    std::string diffThreshold;
    // Volumes, 0 to 100.
    int voiceVolume = 0;
    int signalVolume = 0;
    int clickVolume = 0;
    // Answer keys.
    std::int32_t successKey = 0;
    std::int32_t failKey = 0;
    bool successAll = false;
    bool failAll = false;
    // ML-PEST, as typed.
    std::string lowerBound;
    std::string upperBound;
    std::string spread;
    std::string mlDiffThreshold;
    bool useMlPest = false;
    // What the 17 fields have no place for (the Bayesian method and its values), as
    // "key=value" fields after the end marker, where a reader of the 17 fields never looks.
    std::vector<std::pair<std::string, std::string>> extension;
};

// The voice starts silent: a new installation speaks no digit until the operator asks.
inline const Settings kDefaultSettings{
    "50", "7",  ".45", 0,     100,   100, kDefaultSuccessKey, kDefaultFailKey, false, false,
    "20", "80", "7",   ".45", false, {}};

}  // namespace limenta
