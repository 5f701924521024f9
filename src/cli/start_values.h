// The start values of limenta-sim's runs, checked as the window's Start checks them.
#pragma once

#include <optional>
#include <string>

#include "cli/simulation.h"

namespace limenta::cli {

// Option names for the values a method starts from; the ML-PEST difference threshold is
// --diff for replay and --ml-diff for simulate.
struct StartOptionNames {
    const char* mlDiff;
};

// One line naming the option and its allowed range, when `method` cannot start from the
// settings; nothing when it can.
std::optional<std::string> refusedStart(Method method, const PestSettings& pest,
                                        const MlSettings& ml, const BayesSettings& bayes,
                                        StartOptionNames names);

}  // namespace limenta::cli
