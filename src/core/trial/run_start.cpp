#include "core/trial/run_start.h"

#include "core/numbers/output_range.h"

namespace limenta {

namespace {

bool outsideOutputRange(double value) {
    return !(value >= kLowestOutput && value <= kHighestOutput);
}

}  // namespace

std::optional<StartProblem> checkAdaptiveStart(double initialOutput, double step, double diff) {
    if (outsideOutputRange(initialOutput)) {
        return StartProblem{StartValue::InitialOutput, StartRule::OneToHundred};
    }
    if (!(step >= 1)) {
        return StartProblem{StartValue::StepSize, StartRule::AtLeastOne};
    }
    if (!(diff > 0)) {
        return StartProblem{StartValue::DiffThreshold, StartRule::AboveZero};
    }
    return std::nullopt;
}

std::optional<StartProblem> checkMlStart(std::int32_t lower, std::int32_t upper, double spread,
                                         double diff) {
    if (outsideOutputRange(lower)) {
        return StartProblem{StartValue::LowerBound, StartRule::OneToHundred};
    }
    if (outsideOutputRange(upper)) {
        return StartProblem{StartValue::UpperBound, StartRule::OneToHundred};
    }
    if (lower >= upper) {
        return StartProblem{StartValue::LowerBound, StartRule::BelowUpperBound};
    }
    if (!(spread >= 1)) {
        return StartProblem{StartValue::Spread, StartRule::AtLeastOne};
    }
    if (!(diff > 0)) {
        return StartProblem{StartValue::MlDiffThreshold, StartRule::AboveZero};
    }
    return std::nullopt;
}

std::optional<StartProblem> checkBayesStart(double spread, double width) {
    if (!(spread >= 1)) {
        return StartProblem{StartValue::Spread, StartRule::AtLeastOne};
    }
    if (!(width > 0 && width <= 1)) {
        return StartProblem{StartValue::Width, StartRule::AboveZeroAtMostOne};
    }
    return std::nullopt;
}

std::optional<StartProblem> checkRobustBayesStart(double width, double lapse) {
    if (!(width > 0 && width <= 1)) {
        return StartProblem{StartValue::Width, StartRule::AboveZeroAtMostOne};
    }
    if (!(lapse >= 0 && lapse <= 0.5)) {
        return StartProblem{StartValue::Lapse, StartRule::ZeroToHalf};
    }
    return std::nullopt;
}

std::string ruleText(StartRule rule, const std::string& upperName) {
    switch (rule) {
        case StartRule::OneToHundred:
            return "must be a number from 1 to 100";
        case StartRule::AtLeastOne:
            return "must be at least 1";
        case StartRule::AboveZero:
            return "must be greater than 0";
        case StartRule::AboveZeroAtMostOne:
            return "must be greater than 0 and at most 1";
        case StartRule::ZeroToHalf:
            return "must be a number from 0 to 0.5";
        case StartRule::BelowUpperBound:
            return "must be below " + upperName;
    }
    return {};
}

}  // namespace limenta
