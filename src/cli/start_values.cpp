#include "cli/start_values.h"

#include <algorithm>

namespace limenta::cli {

std::string optionOf(const Parameter& parameter, OptionNaming naming) {
    const bool own = naming == OptionNaming::Simulate && parameter.simulateKey != nullptr;
    return std::string("--") + (own ? parameter.simulateKey : parameter.key);
}

RunSettings settingsFrom(const Method& method, const Options& options, OptionNaming naming) {
    RunSettings settings;
    for (const Parameter& p : method.parameters) {
        const std::string option = optionOf(p, naming);
        if (options.has(option)) {
            settings.set(p.key, options.value(option, ""));
        }
    }
    return settings;
}

std::optional<std::string> refusedStart(const Method& method, const RunSettings& settings,
                                        OptionNaming naming) {
    const std::optional<StartProblem> problem = method.check(method, settings);
    if (!problem) {
        return std::nullopt;
    }
    const auto nameOf = [&](StartValue value) {
        for (const Parameter& p : method.parameters) {
            if (p.value == value) {
                return optionOf(p, naming);
            }
        }
        return std::string("--?");
    };
    return nameOf(problem->value) + " " + ruleText(problem->rule, nameOf(StartValue::UpperBound));
}

std::set<std::string> runOptions(const MethodTable& table) {
    std::set<std::string> options{"--method"};
    for (const Method& method : table) {
        for (const Parameter& p : method.parameters) {
            options.insert(optionOf(p, OptionNaming::Replay));
        }
    }
    return options;
}

std::optional<std::string> chooseRun(const Options& options, const MethodTable& table,
                                     ChosenRun& into) {
    const std::string key = options.value("--method", table.front().key);
    const Method* method = findMethod(table, key);
    if (method == nullptr) {
        return "--method must be " + methodKeys(table) + ", not '" + key + "'";
    }
    for (const std::string& option : runOptions(table)) {
        const bool own = option == "--method" ||
                         std::ranges::any_of(method->parameters, [&](const Parameter& p) {
                             return optionOf(p, OptionNaming::Replay) == option;
                         });
        if (!own && options.has(option)) {
            return option + " does not apply to --method " + key;
        }
    }
    into = {method, settingsFrom(*method, options, OptionNaming::Replay)};
    return refusedStart(*method, into.settings, OptionNaming::Replay);
}

std::string methodKeys(const MethodTable& table, const char* last) {
    std::string keys;
    for (std::size_t i = 0; i < table.size(); ++i) {
        keys += (i == 0 ? "" : i + 1 == table.size() ? last : ", ") + std::string(table[i].key);
    }
    return keys;
}

}  // namespace limenta::cli
