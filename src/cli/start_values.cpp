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
        case StartValue::Width:
            return "--width";
    }
    return {};
}

}  // namespace

std::optional<std::string> refusedStart(Method method, const PestSettings& pest,
                                        const MlSettings& ml, const BayesSettings& bayes,
                                        StartOptionNames names) {
    std::optional<StartProblem> problem;
    switch (method) {
        case Method::AdaptivePest:
            problem = checkAdaptiveStart(pest.start, pest.step, pest.diff);
            break;
        case Method::MlPest:
            problem = checkMlStart(ml.lower, ml.upper, ml.spread, ml.diff);
            break;
        case Method::Bayes:
            problem = checkBayesStart(ml.spread, bayes.width);
            break;
    }
    if (!problem) {
        return std::nullopt;
    }
    return optionName(problem->value, names) + " " +
           ruleText(problem->rule, optionName(StartValue::UpperBound, names));
}

}  // namespace limenta::cli
