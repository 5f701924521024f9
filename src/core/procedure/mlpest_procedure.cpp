// ML-PEST as an estimation procedure: every answer recorded with the whole percent fired,
// the next output the maximum-likelihood threshold, the end when two estimates agree.
#include <cmath>

#include "core/numbers/numbers.h"
#include "core/procedure/procedures.h"

namespace limenta {

namespace {

class MlPest final : public EstimationProcedure {
  public:
    MlPest(Procedure& state, std::int32_t lower, std::int32_t upper, double spread, double diff)
        : s_(state) {
        s_.mydiff2 = diff;
        s_.startMlPest(lower, upper, spread);
    }

    [[nodiscard]] double output() const override { return s_.curstim; }

    AnswerStep answer(std::int32_t answer) override {
        // The run ends, before the answer is recorded, when the last two estimates agree.
        const double distance = std::fabs(s_.curstim - s_.laststim);
        const bool goesOn = distance > s_.mydiff2;
        if (goesOn && s_.recordFull()) {
            return {true, false, s_.curstim, s_.curstim, 0};
        }
        const double fired = s_.curstim;
        if (goesOn) {
            // The operator fired the whole percent that the big number showed.
            s_.insertstimulus(nearestWhole(s_.curstim), answer);
        }
        s_.laststim = s_.curstim;
        s_.curstim = s_.finalThreshold(s_.runspread);
        return {false, !goesOn, fired, s_.curstim, distance};
    }

  private:
    Procedure& s_;
};

}  // namespace

std::unique_ptr<EstimationProcedure> mlPest(Procedure& state, std::int32_t lower,
                                            std::int32_t upper, double spread, double diff) {
    return std::make_unique<MlPest>(state, lower, upper, spread, diff);
}

}  // namespace limenta
