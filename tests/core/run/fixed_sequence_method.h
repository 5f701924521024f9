// A fourth method that exists in the tests alone: it fires a fixed sequence of outputs and
// ends after the last, its estimate the last output fired. It shows that a method is a row
// of the table and nothing more: the run, limenta-sim's replay, the report, the plot and the
// journal take it without a change anywhere else.
#pragma once

#include <cmath>
#include <vector>

#include "core/numbers/numbers.h"
#include "core/run/run.h"

namespace limenta::testing {

class FixedSequence final : public EstimationProcedure {
  public:
    explicit FixedSequence(std::vector<double> outputs) : outputs_(std::move(outputs)) {}
    [[nodiscard]] double output() const override {
        return outputs_[std::min(next_, outputs_.size() - 1)];
    }
    AnswerStep answer(std::int32_t /*answer*/) override {
        const double fired = output();
        ++next_;
        return {false, next_ + 1 >= outputs_.size(), fired, output(), std::fabs(output() - fired)};
    }

  private:
    std::vector<double> outputs_;
    std::size_t next_ = 0;
};

// "first" is the first output; the others follow 10, 20, 15 and 18 below it.
inline Method fixedSequenceMethod() {
    return {
        "fixed",
        "fixed sequence",
        "Fixed Sequence",
        "Fixed Sequence",
        "#000000",
        false,
        false,
        nullptr,
        false,
        true,
        false,
        {{"first", "first_output", "First output:", "First Output", "60", 0,
          StartValue::InitialOutput}},
        [](const Method& m, const RunSettings& s) -> std::optional<StartProblem> {
            const double first = settingOf(m, s, "first");
            if (!(first >= 21 && first <= 100)) {
                return StartProblem{StartValue::InitialOutput, StartRule::OneToHundred};
            }
            return std::nullopt;
        },
        nullptr,
        [](const Method& m, Procedure& /*state*/, const RunSettings& s, const SharedModel*) {
            const double first = settingOf(m, s, "first");
            return std::make_unique<FixedSequence>(
                std::vector<double>{first, first - 10, first - 20, first - 15, first - 18});
        },
        [](const Run&) { return 38.7; },
        [](const Run&) { return 1.0; },
        kHistoryHeader,
        [](const TrialRecord& t) { return "trial " + std::to_string(t.trial); },
        plainDecimal,
    };
}

// The built-in methods and the fixed sequence after them.
inline MethodTable withFixedSequence() {
    MethodTable table = methods();
    table.push_back(fixedSequenceMethod());
    return table;
}

}  // namespace limenta::testing
