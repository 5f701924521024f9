// How a patient's threshold was measured: the hemisphere stimulated, the muscle watched, the
// coil and the stimulator, and whether an MEP was judged on the EMG or by a visible twitch
// (which reads higher). Thresholds compare only between runs of the same setup.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace limenta {

enum class Hemisphere { Unsaid, Left, Right };
enum class Judged { Unsaid, Emg, Twitch };

inline constexpr std::size_t kSetupTextLongest = 40;  // coil, stimulator, a muscle typed
inline constexpr std::array kUsualMuscles{"APB", "FDI", "ADM"};

struct Setup {
    Hemisphere hemisphere = Hemisphere::Unsaid;
    std::string muscle;
    std::string coil;
    std::string stimulator;
    Judged judged = Judged::Unsaid;
    friend bool operator==(const Setup&, const Setup&) = default;
};

// "left hemisphere, APB, <coil>, <stimulator>, EMG", parts left empty left out; empty when
// nothing is said.
std::string describeSetup(const Setup& setup);

// Every part the same, ignoring case and spaces at either end.
bool sameSetup(const Setup& a, const Setup& b);

// The setup with spaces at either end of each text dropped.
Setup trimmedSetup(Setup setup);

// Why a typed part cannot be kept ("Coil holds a line break"); nothing when every one can.
std::optional<std::string> setupProblem(const Setup& setup);

// The words the journal keeps for the hemisphere and the judging, and back.
std::string_view hemisphereWord(Hemisphere hemisphere);  // "left", "right", ""
std::string_view judgedWord(Judged judged);              // "EMG", "twitch", ""
Hemisphere hemisphereOf(std::string_view word);
Judged judgedOf(std::string_view word);

}  // namespace limenta
