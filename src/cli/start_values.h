// The settings of limenta-sim's runs, read from its options, and checked as the window's
// Start checks them.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "cli/options.h"
#include "core/run/run.h"

namespace limenta::cli {

// replay and session name a parameter by its key (--diff); simulate, which runs several
// methods at once, by its own key where it has one (--ml-diff).
enum class OptionNaming { Replay, Simulate };

std::string optionOf(const Parameter& parameter, OptionNaming naming);

// The settings of `method` that `options` give; the others take their defaults.
RunSettings settingsFrom(const Method& method, const Options& options, OptionNaming naming);

// One line naming the option and its allowed range, when `method` cannot start from the
// settings; nothing when it can.
std::optional<std::string> refusedStart(const Method& method, const RunSettings& settings,
                                        OptionNaming naming);

// "--method" and the option of every setting of `table`'s methods, as replay and session
// take them.
std::set<std::string> runOptions(const MethodTable& table);

// The run replay and session make: the method --method names (the table's first when it
// names none) and its settings, checked as the window's Start checks them.
struct ChosenRun {
    const Method* method = nullptr;
    RunSettings settings;
};
// The run `options` choose, or the problem as one line: an unknown method, another
// method's option, values no run can start from.
std::optional<std::string> chooseRun(const Options& options, const MethodTable& table,
                                     ChosenRun& into);

// "pest, ml or bayes": the keys of the table, for a message.
std::string methodKeys(const MethodTable& table, const char* last = " or ");

}  // namespace limenta::cli
