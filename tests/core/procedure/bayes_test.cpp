// The Bayesian procedure: where it fires, when it stops, and that its posterior is exact.
#include "core/procedure/bayes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace limenta {
namespace {

// The stop rule's width the Bayesian method starts with.
constexpr double kWidth = 0.11;

const BayesModel& model7() {
    static const BayesModel model(7);
    return model;
}

TEST(Bayes, FiresFirstAtTheFlatPriorsMedianRoundedUpAndFollowsTheAnswers) {
    BayesRun run(model7(), kWidth);
    EXPECT_EQ(run.nextOutput(), 51);
    EXPECT_FALSE(run.latest());

    // No MEP at 51: the threshold lies higher.
    const auto failure = run.answer(0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->fired, 51);
    EXPECT_GT(failure->interval.median, 50.5);
    EXPECT_EQ(run.nextOutput(), std::lround(failure->interval.median));
    EXPECT_GT(run.nextOutput(), 51);
    EXPECT_FALSE(failure->ended);

    // An MEP at 51 instead: lower, by the mirror image of the model (not exactly).
    BayesRun other(model7(), kWidth);
    const auto success = other.answer(1);
    ASSERT_TRUE(success);
    EXPECT_LT(success->interval.median, 50.5);
    EXPECT_LT(other.nextOutput(), 51);
    EXPECT_LT(success->interval.low, success->interval.median);
    EXPECT_GT(success->interval.high, success->interval.median);
}

TEST(Bayes, TheStopRuleIsInclusiveAtExactlyTheWidth) {
    const CredibleInterval interval{40, 44, 48};
    const double exact = (48.0 - 40.0) / 44.0;
    EXPECT_TRUE(narrowEnough(interval, exact));
    EXPECT_FALSE(narrowEnough(interval, std::nextafter(exact, 0.0)));

    // In a run: the first step whose width equals the limit ends the run.
    BayesRun probe(model7(), 0.0);
    std::optional<BayesStep> step;
    for (int i = 0; i < 8; ++i) {
        step = probe.answer(i % 2);
    }
    const double ratio = (step->interval.high - step->interval.low) / step->interval.median;
    for (const auto& [width, ends] :
         {std::pair{ratio, true}, {std::nextafter(ratio, 0.0), false}}) {
        BayesRun run(model7(), width);
        for (int i = 0; i < 8; ++i) {
            step = run.answer(i % 2);
        }
        EXPECT_EQ(step->ended, ends);
    }
}

TEST(Bayes, AnswersAfterTheEndAreTakenAndTheLimitIsTwoHundred) {
    BayesRun run(model7(), kWidth);
    // A subject whose threshold is 60: MEP at 60 and above.
    int endedAt = 0;
    for (int i = 1; i <= 200; ++i) {
        const auto step = run.answer(run.nextOutput() >= 60 ? 1 : 0);
        ASSERT_TRUE(step) << i;
        if (step->ended && endedAt == 0) {
            endedAt = i;
        }
    }
    EXPECT_GT(endedAt, 5);
    EXPECT_LT(endedAt, 30);
    EXPECT_TRUE(run.latest()->ended);  // 200 answers later, still narrow, still near 60
    EXPECT_NEAR(run.latest()->interval.median, 60, 1);
    EXPECT_EQ(run.answers(), 200U);
    EXPECT_FALSE(run.answer(1));
    EXPECT_EQ(run.answers(), 200U);
}

// The same posterior by plain products of probabilities, renormalised as it goes, and its
// quantiles by a plain walk over the trapezoids.
class PlainPosterior {
  public:
    explicit PlainPosterior(double spread) : spread_(spread), mass_(BayesModel::kPoints, 1.0) {}

    void take(int output, int mep) {
        double top = 0;
        for (int i = 0; i < BayesModel::kPoints; ++i) {
            const double t = (100 + i) / 100.0;
            const double z = (t - output) / (t * spread_ / 100);
            const double none = 0.5 * std::erfc(-z / std::numbers::sqrt2);
            const double yes = 0.5 * std::erfc(z / std::numbers::sqrt2);
            auto& m = mass_[static_cast<std::size_t>(i)];
            m *= mep != 0 ? yes : none;
            top = std::max(top, m);
        }
        for (double& m : mass_) {
            m /= top;
        }
    }

    [[nodiscard]] double quantile(double share) const {
        double total = 0;
        for (std::size_t i = 1; i < mass_.size(); ++i) {
            total += 0.5 * (mass_[i - 1] + mass_[i]) * 0.01;
        }
        double below = 0;
        for (std::size_t i = 1; i < mass_.size(); ++i) {
            const double piece = 0.5 * (mass_[i - 1] + mass_[i]) * 0.01;
            if (below + piece >= share * total) {
                return 1 + (static_cast<double>(i - 1) + (share * total - below) / piece) * 0.01;
            }
            below += piece;
        }
        return 100;
    }

  private:
    double spread_;
    std::vector<double> mass_;
};

TEST(Bayes, AgreesWithAPlainComputationOnThreeHundredRandomRuns) {
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> uniform(0, 1);
    int steps = 0;
    for (int r = 0; r < 300; ++r) {
        const double truth = 25 + 75 * uniform(random);
        BayesRun run(model7(), kWidth);
        PlainPosterior plain(7);
        int plainNext = 51;
        const int extra = r % 3;  // some runs go on after their end
        int afterEnd = 0;
        while (afterEnd <= extra && run.answers() < 60) {
            ASSERT_EQ(run.nextOutput(), plainNext) << "run " << r << " step " << run.answers();
            const double z = (run.nextOutput() - truth) / (truth * 0.07);
            const int mep = uniform(random) < 0.5 * std::erfc(-z / std::numbers::sqrt2) ? 1 : 0;
            const auto step = run.answer(mep);
            ASSERT_TRUE(step);
            plain.take(step->fired, mep);
            EXPECT_NEAR(step->interval.median, plain.quantile(0.5), 1e-9);
            EXPECT_NEAR(step->interval.low, plain.quantile(0.025), 1e-9);
            EXPECT_NEAR(step->interval.high, plain.quantile(0.975), 1e-9);
            plainNext = static_cast<int>(std::lround(plain.quantile(0.5)));
            afterEnd += step->ended ? 1 : 0;
            ++steps;
        }
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_GT(steps, 300 * 8);
}

}  // namespace
}  // namespace limenta
