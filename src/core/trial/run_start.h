// The values no run can start from, and how a refusal says what they must be.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace limenta {

// The start values a run is checked for, by what they mean.
enum class StartValue {
    InitialOutput,
    StepSize,
    DiffThreshold,  // adaptive PEST's
    LowerBound,
    UpperBound,
    Spread,
    MlDiffThreshold,
    Width,  // the Bayesian procedures' stop rule
    Lapse,  // the robust Bayesian procedure's share of answers that go either way
};

// What a refused value must be.
enum class StartRule {
    OneToHundred,        // a number from 1 to 100
    AtLeastOne,          // the first moves and later estimates use it made whole
    AboveZero,           // a threshold of 0 or less never ends a run, or ends it at once
    AboveZeroAtMostOne,  // a share of the median: the width of the interval's stop rule
    BelowUpperBound,     // the lower bound must lie below the upper
    ZeroToHalf,          // a share of answers that go either way: half of them is all chance
};

struct StartProblem {
    StartValue value;
    StartRule rule;
};

// The problem with adaptive PEST's start values, if any: the initial output must lie from
// 1 to 100, the step be at least 1 and the difference threshold above 0.
std::optional<StartProblem> checkAdaptiveStart(double initialOutput, double step, double diff);

// The problem with ML-PEST's start values, if any: both bounds (made whole) from 1 to
// 100, the lower below the upper, the spread at least 1 and the difference threshold
// above 0.
std::optional<StartProblem> checkMlStart(std::int32_t lower, std::int32_t upper, double spread,
                                         double diff);

// The problem with the Bayesian procedure's values, if any: the spread at least 1 and the
// interval's relative width above 0 and at most 1.
std::optional<StartProblem> checkBayesStart(double spread, double width);

// The problem with the robust Bayesian procedure's values, if any: the width as above and
// the lapse rate from 0 to 0.5.
std::optional<StartProblem> checkRobustBayesStart(double width, double lapse);

// "must be a number from 1 to 100", "must be at least 1", ...; `upperName` names the upper
// bound for the rule that compares with it.
std::string ruleText(StartRule rule, const std::string& upperName);

}  // namespace limenta
