// Adaptive PEST as an estimation procedure: the staircase of runpest, kept within the
// outputs a stimulator has, ending when a move is smaller than mydiff.
#include <cmath>

#include "core/procedure/procedures.h"
#include "core/trial/run_start.h"

namespace limenta {

namespace {

class AdaptivePest final : public EstimationProcedure {
  public:
    AdaptivePest(Procedure& state, double initialOutput, double step, double diff,
                 std::int32_t intervalSpread)
        : s_(state), intervalSpread_(intervalSpread) {
        startAdaptivePest(s_, initialOutput, step, diff);
    }

    [[nodiscard]] double output() const override { return s_.mysetting; }

    AnswerStep answer(std::int32_t answer) override {
        double next = s_.runpest(answer);
        if (next > kHighestOutput) {
            next = kHighestOutput;
        }
        if (!(next >= kLowestOutput)) {
            next = kLowestOutput;
        }
        s_.lastsetting = s_.mysetting;
        s_.mysetting = next;
        s_.thediff = std::fabs(s_.mysetting - s_.lastsetting);
        return {false, s_.thediff < s_.mydiff, next};
    }

    [[nodiscard]] std::optional<CredibleInterval> interval() const override {
        return credibleInterval(firedAnswers(s_), intervalSpread_);
    }

  private:
    Procedure& s_;
    std::int32_t intervalSpread_;
};

}  // namespace

std::unique_ptr<EstimationProcedure> adaptivePest(Procedure& state, double initialOutput,
                                                  double step, double diff,
                                                  std::int32_t intervalSpread) {
    return std::make_unique<AdaptivePest>(state, initialOutput, step, diff, intervalSpread);
}

}  // namespace limenta
