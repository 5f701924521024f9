// ML-PEST as an estimation procedure: every answer recorded with the whole percent fired,
// the next output the maximum-likelihood threshold, the end when two estimates agree.
#include <cmath>

#include "core/display/numbers.h"
#include "core/procedure/procedures.h"
#include "core/trial/run_start.h"

namespace limenta {

namespace {

class MlPest final : public EstimationProcedure {
  public:
    MlPest(Procedure& state, std::int32_t lower, std::int32_t upper, double spread, double diff)
        : s_(state) {
        s_.mydiff2 = diff;
        startMlPest(s_, lower, upper, spread);
    }

    [[nodiscard]] double output() const override { return s_.curstim; }

    AnswerStep answer(std::int32_t answer) override {
        // The run ends, before the answer is recorded, when the last two estimates agree.
        const double distance = std::fabs(s_.curstim - s_.laststim);
        const bool goesOn = distance > s_.mydiff2;
        if (goesOn && s_.recordFull()) {
            return {true, false, s_.mysetting};
        }
        s_.thediff = distance;
        s_.stepnum = s_.stepnum + 1;
        // The trial's answer, as adaptive PEST records it, for the run's interval.
        s_.mep[static_cast<std::size_t>(s_.stepnum)] = answer;
        if (goesOn) {
            // The operator fired the whole percent that the big number showed.
            s_.insertstimulus(nearestWhole(s_.curstim), answer);
        }
        s_.laststim = s_.curstim;
        s_.lastsetting = s_.curstim;
        s_.curstim = s_.finalThreshold(s_.runspread);
        s_.mysetting = s_.curstim;
        return {false, !goesOn, s_.mysetting};
    }

    [[nodiscard]] std::optional<CredibleInterval> interval() const override {
        return credibleInterval(firedAnswers(s_), s_.runspread);
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
