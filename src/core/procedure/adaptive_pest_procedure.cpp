// Adaptive PEST as an estimation procedure: the staircase of runpest, kept within the
// outputs a stimulator has, ending when a move is smaller than mydiff.
#include <cmath>

#include "core/numbers/output_range.h"
#include "core/procedure/procedures.h"

namespace limenta {

namespace {

class AdaptivePest final : public EstimationProcedure {
  public:
    AdaptivePest(Procedure& state, double initialOutput, double step, double diff) : s_(state) {
        s_.startAdaptivePest(initialOutput, step, diff);
    }

    // The run's answer step makes the next output mysetting.
    [[nodiscard]] double output() const override { return s_.mysetting; }

    AnswerStep answer(std::int32_t answer) override {
        double next = s_.runpest(answer);
        if (next > kHighestOutput) {
            next = kHighestOutput;
        }
        if (!(next >= kLowestOutput)) {
            next = kLowestOutput;
        }
        const double move = std::fabs(next - s_.mysetting);
        return {false, move < s_.mydiff, s_.mysetting, next, move};
    }

  private:
    Procedure& s_;
};

}  // namespace

std::unique_ptr<EstimationProcedure> adaptivePest(Procedure& state, double initialOutput,
                                                  double step, double diff) {
    return std::make_unique<AdaptivePest>(state, initialOutput, step, diff);
}

}  // namespace limenta
