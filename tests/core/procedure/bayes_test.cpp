// The Bayesian procedures: where they fire, when they stop, and that their posteriors are
// exact.
#include "core/procedure/bayes.h"
#include "core/procedure/robust_bayes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

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

// The same posterior by plain products of probabilities over every threshold and spread
// of a grid, renormalised as it goes, and the threshold's quantiles by a plain walk over the
// trapezoids of its marginal.
class PlainPosterior {
  public:
    struct Grid {
        double from;
        double step;
        int points;
        std::vector<std::pair<double, double>> spreads;  // relative spread, prior weight
        double lapse;
    };

    static Grid fixedSpread(double spread) {
        return {1, 0.01, BayesModel::kPoints, {{spread / 100, 1}}, 0};
    }
    static Grid robust(double lapse) {
        Grid grid{1, 0.1, RobustBayesModel::kThresholds, {}, lapse};
        for (int k = 0; k < RobustBayesModel::kSpreads; ++k) {
            grid.spreads.emplace_back(RobustBayesModel::spread(k),
                                      RobustBayesModel::spreadPrior(k));
        }
        return grid;
    }

    explicit PlainPosterior(Grid grid) : grid_(std::move(grid)) {
        for (const auto& [spread, weight] : grid_.spreads) {
            mass_.emplace_back(static_cast<std::size_t>(grid_.points), weight);
        }
    }

    void take(int output, int mep) {
        double top = 0;
        for (std::size_t k = 0; k < mass_.size(); ++k) {
            for (int i = 0; i < grid_.points; ++i) {
                const double t = grid_.from + grid_.step * i;
                const double z = (t - output) / (t * grid_.spreads[k].first);
                const double lapse = grid_.lapse;
                const double none =
                    lapse / 2 + (1 - lapse) * 0.5 * std::erfc(-z / std::numbers::sqrt2);
                const double yes =
                    lapse / 2 + (1 - lapse) * 0.5 * std::erfc(z / std::numbers::sqrt2);
                auto& m = mass_[k][static_cast<std::size_t>(i)];
                m *= mep != 0 ? yes : none;
                top = std::max(top, m);
            }
        }
        for (auto& row : mass_) {
            for (double& m : row) {
                m /= top;
            }
        }
    }

    [[nodiscard]] double quantile(double share) const {
        std::vector<double> marginal(static_cast<std::size_t>(grid_.points), 0.0);
        for (const auto& row : mass_) {
            for (std::size_t i = 0; i < row.size(); ++i) {
                marginal[i] += row[i];
            }
        }
        double total = 0;
        for (std::size_t i = 1; i < marginal.size(); ++i) {
            total += 0.5 * (marginal[i - 1] + marginal[i]) * grid_.step;
        }
        double below = 0;
        for (std::size_t i = 1; i < marginal.size(); ++i) {
            const double piece = 0.5 * (marginal[i - 1] + marginal[i]) * grid_.step;
            if (below + piece >= share * total) {
                return grid_.from +
                       (static_cast<double>(i - 1) + (share * total - below) / piece) * grid_.step;
            }
            below += piece;
        }
        return 100;
    }

  private:
    Grid grid_;
    std::vector<std::vector<double>> mass_;  // by spread, then threshold
};

// Random subjects answering by a cumulative Gaussian of `subjectSpread` (a share of T), now
// and then the wrong way, through `run` and through the plain posterior; some runs go on
// after their end. Returns the answers given.
template <class PosteriorRun>
int agreesWithThePlainComputation(const std::function<PosteriorRun()>& makeRun,
                                  const PlainPosterior::Grid& grid, double subjectSpread,
                                  double slips, int runs, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(0, 1);
    int steps = 0;
    for (int r = 0; r < runs; ++r) {
        const double truth = 25 + 75 * uniform(random);
        PosteriorRun run = makeRun();
        PlainPosterior plain(grid);
        int plainNext = 51;
        const int extra = r % 3;
        int afterEnd = 0;
        for (int answered = 0; afterEnd <= extra && answered < 60; ++answered) {
            EXPECT_EQ(run.nextOutput(), plainNext) << "run " << r << " step " << answered;
            const double z = (run.nextOutput() - truth) / (truth * subjectSpread);
            const bool mep = uniform(random) < 0.5 * std::erfc(-z / std::numbers::sqrt2);
            const int answer = (uniform(random) < slips) != mep ? 1 : 0;
            const auto step = run.answer(answer);
            EXPECT_TRUE(step);
            if (!step || ::testing::Test::HasFailure()) {
                return steps;
            }
            plain.take(step->fired, answer);
            EXPECT_NEAR(step->interval.median, plain.quantile(0.5), 1e-9);
            EXPECT_NEAR(step->interval.low, plain.quantile(0.025), 1e-9);
            EXPECT_NEAR(step->interval.high, plain.quantile(0.975), 1e-9);
            plainNext = static_cast<int>(std::lround(plain.quantile(0.5)));
            afterEnd += step->ended ? 1 : 0;
            ++steps;
        }
    }
    return steps;
}

TEST(Bayes, AgreesWithAPlainComputationOnThreeHundredRandomRuns) {
    const int steps = agreesWithThePlainComputation<BayesRun>(
        [] { return BayesRun(model7(), kWidth); }, PlainPosterior::fixedSpread(7), 0.07, 0, 300,
        20261209);
    EXPECT_GT(steps, 300 * 8);
}

TEST(RobustBayes, AgreesWithAPlainComputationOverThresholdsAndSpreads) {
    // Subjects steeper and shallower than the prior's centre, with and without slips, and a
    // procedure that allows for no slip at all.
    for (const auto& [lapse, subjectSpread, slips] :
         {std::tuple{0.04, 0.03, 0.0}, {0.04, 0.12, 0.05}, {0.0, 0.07, 0.0}}) {
        const RobustBayesModel model(lapse);
        const int steps = agreesWithThePlainComputation<RobustBayesRun>(
            [&] { return RobustBayesRun(model, kWidth); }, PlainPosterior::robust(lapse),
            subjectSpread, slips, 12, 7 + static_cast<std::uint64_t>(100 * subjectSpread));
        EXPECT_GT(steps, 12 * 8) << lapse << " " << subjectSpread;
    }
}

// An output outside 1 to 100 reads the nearest row of either table, never past its end.
TEST(BayesModels, AnOutputOutsideTheRangeReadsTheNearestRow) {
    const RobustBayesModel robust(0.06);
    EXPECT_EQ(robust.mepProbabilities(150), robust.mepProbabilities(100));
    EXPECT_EQ(robust.mepProbabilities(-5), robust.mepProbabilities(1));
    EXPECT_NE(robust.mepProbabilities(99), robust.mepProbabilities(100));
    const BayesModel& fixed = model7();
    EXPECT_EQ(fixed.logLikelihoods(101, 1), fixed.logLikelihoods(100, 1));
    EXPECT_EQ(fixed.logLikelihoods(0, 0), fixed.logLikelihoods(1, 0));
}

TEST(RobustBayes, ItsSpreadsSpanTwoToTwentyPercentWithMostPriorWeightNearThePublishedOnes) {
    EXPECT_DOUBLE_EQ(RobustBayesModel::spread(0), 0.02);
    EXPECT_NEAR(RobustBayesModel::spread(RobustBayesModel::kSpreads - 1), 0.20, 1e-12);
    double total = 0;
    double nearPublished = 0;  // 4 to 10 % of T
    for (int k = 0; k < RobustBayesModel::kSpreads; ++k) {
        total += RobustBayesModel::spreadPrior(k);
        const double spread = RobustBayesModel::spread(k);
        nearPublished += spread >= 0.04 && spread <= 0.10 ? RobustBayesModel::spreadPrior(k) : 0;
        if (k > 0) {
            EXPECT_GT(spread, RobustBayesModel::spread(k - 1));
        }
    }
    EXPECT_NEAR(total, 1, 1e-12);
    EXPECT_GT(nearPublished, 0.6);
    EXPECT_EQ(RobustBayesRun(RobustBayesModel(0.04), kWidth).nextOutput(), 51);
}

// Subjects answering by a cumulative Gaussian of relative spread `subjectSpread` around
// their threshold, a share `slips` of the answers the wrong way, `answers` answers each,
// through `makeRun`: the mean absolute error of the median and the mean interval width.
template <class PosteriorRun>
std::pair<double, double> errorAndWidth(const std::function<PosteriorRun()>& makeRun,
                                        double subjectSpread, double slips, int answers) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> uniform(0, 1);
    constexpr int kSubjects = 60;
    double error = 0;
    double width = 0;
    for (int s = 0; s < kSubjects; ++s) {
        const double truth = 30 + 60 * uniform(random);
        PosteriorRun run = makeRun();
        for (int i = 0; i < answers; ++i) {
            const double z = (run.nextOutput() - truth) / (truth * subjectSpread);
            const bool mep = uniform(random) < 0.5 * std::erfc(-z / std::numbers::sqrt2);
            run.answer((uniform(random) < slips) != mep ? 1 : 0);
        }
        const CredibleInterval interval = run.latest()->interval;
        error += std::fabs(interval.median - truth) / kSubjects;
        width += (interval.high - interval.low) / truth / kSubjects;
    }
    return {error, width};
}

TEST(RobustBayes, SlipsCostItLessThanAProcedureThatAllowsForNone) {
    const RobustBayesModel allowing(0.04);
    const RobustBayesModel strict(0.0);
    const double forgiving = errorAndWidth<RobustBayesRun>(
                                 [&] { return RobustBayesRun(allowing, kWidth); }, 0.06, 0.05, 20)
                                 .first;
    const double unforgiving = errorAndWidth<RobustBayesRun>(
                                   [&] { return RobustBayesRun(strict, kWidth); }, 0.06, 0.05, 20)
                                   .first;
    EXPECT_LT(forgiving, 0.9 * unforgiving);
}

TEST(RobustBayes, LearnsTheSubjectsSpreadWhereTheFixedSpreadProcedureCannot) {
    // After 40 answers its interval is wider for shallow subjects than for steep ones; the
    // fixed-spread procedure's is all but the same for both.
    const RobustBayesModel robust(0.04);
    const auto learning = [&] { return RobustBayesRun(robust, 0); };
    const auto fixed = [] { return BayesRun(model7(), 0); };
    const double steep = errorAndWidth<RobustBayesRun>(learning, 0.03, 0, 40).second;
    const double shallow = errorAndWidth<RobustBayesRun>(learning, 0.14, 0, 40).second;
    EXPECT_GT(shallow, 1.25 * steep);
    const double fixedSteep = errorAndWidth<BayesRun>(fixed, 0.03, 0, 40).second;
    const double fixedShallow = errorAndWidth<BayesRun>(fixed, 0.14, 0, 40).second;
    EXPECT_LT(fixedShallow, 1.05 * fixedSteep);
}

TEST(RobustBayes, TakesTwoHundredAnswersAndNoMore) {
    const RobustBayesModel model(0.04);
    RobustBayesRun run(model, kWidth);
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(run.answer(run.nextOutput() >= 70 ? 1 : 0)) << i;
    }
    EXPECT_NEAR(run.latest()->interval.median, 70, 1);
    EXPECT_TRUE(run.latest()->ended);
    EXPECT_FALSE(run.answer(1));
}

}  // namespace
}  // namespace limenta
