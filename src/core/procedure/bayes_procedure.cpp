// The Bayesian procedures as estimation procedures: a posterior run, with the run's
// state kept under the names every method shares (the whole percent fired, the median as
// the next output and the estimate, the interval's width as the difference).
#include "core/procedure/procedures.h"

namespace limenta {

namespace {

template <class PosteriorRun, class Model>
class Bayesian final : public EstimationProcedure {
  public:
    Bayesian(Procedure& state, const Model& model, double width) : s_(state), run_(model, width) {
        s_.mysetting = run_.nextOutput();
    }

    [[nodiscard]] double output() const override { return run_.nextOutput(); }

    AnswerStep answer(std::int32_t answer) override {
        const std::optional<BayesStep> step = run_.answer(answer);
        if (!step) {
            return {true, false, s_.mysetting};
        }
        s_.stepnum = s_.stepnum + 1;
        s_.mep[static_cast<std::size_t>(s_.stepnum)] = step->answer;
        s_.lastsetting = step->fired;
        s_.mysetting = step->interval.median;
        s_.thediff = step->interval.high - step->interval.low;
        return {false, step->ended, s_.mysetting};
    }

    [[nodiscard]] std::optional<CredibleInterval> interval() const override { return posterior(); }

    [[nodiscard]] std::optional<CredibleInterval> posterior() const override {
        return run_.latest() ? std::optional<CredibleInterval>(run_.latest()->interval)
                             : std::nullopt;
    }

  private:
    Procedure& s_;
    PosteriorRun run_;
};

}  // namespace

std::unique_ptr<EstimationProcedure> bayesian(Procedure& state, const BayesModel& model,
                                              double width) {
    return std::make_unique<Bayesian<BayesRun, BayesModel>>(state, model, width);
}

std::unique_ptr<EstimationProcedure> robustBayesian(Procedure& state, const RobustBayesModel& model,
                                                    double width) {
    return std::make_unique<Bayesian<RobustBayesRun, RobustBayesModel>>(state, model, width);
}

}  // namespace limenta
