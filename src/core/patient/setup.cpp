#include "core/patient/setup.h"

#include "core/patient/patient_code.h"

namespace limenta {

Setup trimmedSetup(Setup setup) {
    for (std::string* text : {&setup.muscle, &setup.coil, &setup.stimulator}) {
        *text = trimSpaces(*text);
    }
    return setup;
}

std::string describeSetup(const Setup& setup) {
    const Setup s = trimmedSetup(setup);
    std::string described;
    const auto add = [&described](std::string_view part) {
        if (!part.empty()) {
            described += (described.empty() ? "" : ", ") + std::string(part);
        }
    };
    add(s.hemisphere == Hemisphere::Unsaid
            ? ""
            : std::string(hemisphereWord(s.hemisphere)) + " hemisphere");
    add(s.muscle);
    add(s.coil);
    add(s.stimulator);
    add(s.judged == Judged::Twitch ? "visible twitch" : judgedWord(s.judged));
    return described;
}

bool sameSetup(const Setup& a, const Setup& b) {
    const Setup x = trimmedSetup(a);
    const Setup y = trimmedSetup(b);
    return x.hemisphere == y.hemisphere && x.judged == y.judged &&
           samePatient(x.muscle, y.muscle) && samePatient(x.coil, y.coil) &&
           samePatient(x.stimulator, y.stimulator);
}

std::optional<std::string> setupProblem(const Setup& setup) {
    const std::array<std::pair<const char*, const std::string*>, 3> parts{
        {{"Muscle", &setup.muscle}, {"Coil", &setup.coil}, {"Stimulator", &setup.stimulator}}};
    for (const auto& [name, text] : parts) {
        if (holdsControl(*text)) {
            return std::string(name) + " holds a control character or a line break";
        }
        if (characterCount(trimSpaces(*text)) > kSetupTextLongest) {
            return std::string(name) + " is longer than 40 characters";
        }
    }
    return std::nullopt;
}

std::string_view hemisphereWord(Hemisphere hemisphere) {
    switch (hemisphere) {
        case Hemisphere::Left:
            return "left";
        case Hemisphere::Right:
            return "right";
        case Hemisphere::Unsaid:
            break;
    }
    return "";
}

std::string_view judgedWord(Judged judged) {
    switch (judged) {
        case Judged::Emg:
            return "EMG";
        case Judged::Twitch:
            return "twitch";
        case Judged::Unsaid:
            break;
    }
    return "";
}

Hemisphere hemisphereOf(std::string_view word) {
    return word == "left"    ? Hemisphere::Left
           : word == "right" ? Hemisphere::Right
                             : Hemisphere::Unsaid;
}

Judged judgedOf(std::string_view word) {
    return word == "EMG" ? Judged::Emg : word == "twitch" ? Judged::Twitch : Judged::Unsaid;
}

}  // namespace limenta
