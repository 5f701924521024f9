// The Bayesian procedures as estimation procedures: a posterior run, whose answers the run
// records as every method's (the whole percent fired, the median as the next output and the
// estimate, its interval's width as the difference). The run's 95 % interval is the robust
// model's, as for every method; the robust procedure keeps that very posterior and gives its
// own.
#include "core/procedure/procedures.h"

namespace limenta {

namespace {

template <class PosteriorRun, class Model>
class Bayesian : public EstimationProcedure {
  public:
    Bayesian(const Model& model, double width) : run_(model, width) {}

    [[nodiscard]] double output() const override { return run_.nextOutput(); }

    AnswerStep answer(std::int32_t answer) override {
        const std::optional<BayesStep> step = run_.answer(answer);
        if (!step) {
            return {true, false, output(), output(), 0};
        }
        return {false, step->ended, static_cast<double>(step->fired), step->interval.median,
                step->interval.high - step->interval.low};
    }

    [[nodiscard]] std::optional<CredibleInterval> posterior() const override {
        return run_.latest() ? std::optional<CredibleInterval>(run_.latest()->interval)
                             : std::nullopt;
    }

  private:
    PosteriorRun run_;
};

class RobustBayesian final : public Bayesian<RobustBayesRun, RobustBayesModel> {
  public:
    using Bayesian::Bayesian;
    [[nodiscard]] std::optional<CredibleInterval> interval(
        const std::vector<FiredAnswer>& /*answers*/) const override {
        return posterior();
    }
};

}  // namespace

std::unique_ptr<EstimationProcedure> bayesian(const BayesModel& model, double width) {
    return std::make_unique<Bayesian<BayesRun, BayesModel>>(model, width);
}

std::unique_ptr<EstimationProcedure> robustBayesian(const RobustBayesModel& model, double width) {
    return std::make_unique<RobustBayesian>(model, width);
}

}  // namespace limenta
