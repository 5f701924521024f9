#include "cli/start_values.h"

#include "core/trial/run_start.h"

namespace limenta::cli {

namespace {

std::string optionName(StartValue value, StartOptionNames names) {
    switch (value) {
        case StartValue::InitialOutput:
            return "--start";
        case StartValue::StepSize:
            return "--step";
        case StartValue::DiffThreshold:
            return "--diff";
        case StartValue::LowerBound:
            return "--lower";
        case StartValue::UpperBound:
            return "--upper";
        case StartValue::Spread:
            return "--spread";
        case StartValue::MlDiffThreshold:
            return names.mlDiff;
    }
    return {};
}

}  // namespace

std::optional<std::string> refusedStart(Method method, const PestSettings& pest,
                                        const MlSettings& ml, StartOptionNames names) {
    const std::optional<StartProblem> problem =
        method == Method::MlPest ? checkMlStart(ml.lower, ml.upper, ml.spread, ml.diff)
                                 : checkAdaptiveStart(pest.start, pest.step, pest.diff);
    if (!problem) {
        return std::nullopt;
    }
    return optionName(problem->value, names) + " " +
           ruleText(problem->rule, optionName(StartValue::UpperBound, names));
}

}  // namespace limenta::cli
