// The 95 % interval of the threshold: against values derived independently (a plain
// trapezoid integration on a 0.0005 grid, in a separate script), against a slow plain
// computation on random runs, and from the answers a run actually took.
#include "core/procedure/credible_interval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "core/run/run.h"
#include "core/trial/run_start.h"

namespace limenta {
namespace {

constexpr double kSpread = 7;

void expectInterval(const std::vector<FiredAnswer>& answers, double low, double median,
                    double high) {
    const auto interval = credibleInterval(answers, kSpread);
    ASSERT_TRUE(interval);
    EXPECT_NEAR(interval->low, low, 0.01);
    EXPECT_NEAR(interval->median, median, 0.01);
    EXPECT_NEAR(interval->high, high, 0.01);
}

TEST(CredibleInterval, MatchesIndependentlyDerivedValues) {
    // One failure at 50: the threshold lies above about 50, anywhere up to 100.
    expectInterval({{50, 0}}, 49.9149, 75.1243, 98.7562);
    // Every answer a success on the way down from 50: the threshold lies below 36.
    expectInterval({{50, 1}, {43, 1}, {36, 1}}, 1.8779, 18.5588, 36.3539);
    // The worked adaptive PEST run, answers 1100101 (ending at 42): 37 to 45.
    expectInterval({{50, 1}, {43, 1}, {36, 0}, {40, 0}, {43, 1}, {41, 0}, {42, 1}}, 37.9184,
                   41.0759, 44.6133);
    EXPECT_FALSE(credibleInterval({}, kSpread));
    EXPECT_FALSE(credibleInterval({{50, 0}}, 0));
    // The smallest spread Start takes still gives an interval, a narrow one.
    const auto sharp = credibleInterval({{50, 0}, {52, 1}}, 1);
    ASSERT_TRUE(sharp);
    EXPECT_GT(sharp->low, 49);
    EXPECT_LT(sharp->high, 53);
}

// The posterior integrated plainly: every answer at every point of a 0.005 grid.
CredibleInterval plainInterval(const std::vector<FiredAnswer>& answers, double spread) {
    constexpr double kStep = 0.005;
    const int points = static_cast<int>(std::lround(99 / kStep)) + 1;
    std::vector<double> logs(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i) {
        const double t = 1 + i * kStep;
        double sum = 0;
        for (const FiredAnswer& a : answers) {
            const double z = (t - a.output) / (t * spread / 100);
            const double p = 0.5 * std::erfc((a.answer != 0 ? z : -z) / std::numbers::sqrt2);
            sum += std::log(std::max(p, 1e-300));
        }
        logs[static_cast<std::size_t>(i)] = sum;
    }
    const double top = *std::max_element(logs.begin(), logs.end());
    std::vector<double> cumulative(logs.size(), 0.0);
    for (std::size_t i = 1; i < logs.size(); ++i) {
        cumulative[i] = cumulative[i - 1] +
                        0.5 * (std::exp(logs[i - 1] - top) + std::exp(logs[i] - top)) * kStep;
    }
    const auto quantile = [&](double share) {
        const double target = share * cumulative.back();
        std::size_t i = 1;
        while (cumulative[i] < target) {
            ++i;
        }
        const double within = (target - cumulative[i - 1]) / (cumulative[i] - cumulative[i - 1]);
        return 1 + (static_cast<double>(i - 1) + within) * kStep;
    };
    return {quantile(0.025), quantile(0.5), quantile(0.975)};
}

TEST(CredibleInterval, AgreesWithAPlainIntegrationOnRandomRuns) {
    std::mt19937 random(5);
    for (int r = 0; r < 300; ++r) {
        // Staircase-like runs: outputs near a threshold, answers from the model, a few
        // far outliers and misjudged answers among them.
        const double truth = 20 + random() % 70;
        const int count = 1 + static_cast<int>(random() % 25);
        std::vector<FiredAnswer> answers;
        for (int k = 0; k < count; ++k) {
            const int output =
                std::clamp(static_cast<int>(truth) + static_cast<int>(random() % 15) - 7, 1, 100);
            const bool mep = random() % 100 < (output > truth ? 80U : 20U);
            answers.push_back({output, mep ? 1 : 0});
        }
        const double spread = 3 + random() % 12;
        const auto fast = credibleInterval(answers, spread);
        const CredibleInterval plain = plainInterval(answers, spread);
        ASSERT_TRUE(fast);
        ASSERT_NEAR(fast->low, plain.low, 0.01) << "run " << r;
        ASSERT_NEAR(fast->median, plain.median, 0.01) << "run " << r;
        ASSERT_NEAR(fast->high, plain.high, 0.01) << "run " << r;
    }
}

TEST(CredibleInterval, AnswersAtTheLowestOutputCountWhereTheyWereFired) {
    // A staircase that ran down to 1: failures there and at 2 place the threshold at 2 or
    // just above.
    const std::vector<FiredAnswer> answers{{1, 0}, {1, 0}, {2, 0}, {3, 1}, {3, 1}, {2, 0}};
    const auto fast = credibleInterval(answers, kSpread);
    const CredibleInterval plain = plainInterval(answers, kSpread);
    ASSERT_TRUE(fast);
    EXPECT_NEAR(fast->low, plain.low, 0.01);
    EXPECT_NEAR(fast->median, plain.median, 0.01);
    EXPECT_NEAR(fast->high, plain.high, 0.01);
}

TEST(CredibleInterval, TakesEveryAnswerAtTheWholePercentFired) {
    // ML-PEST: the bounds are not answers; the first estimate 47.5 was fired as 48; answers
    // after the end count.
    limenta::Run ml(*findMethod(methods(), "ml"),
                    {{"lower", "20"}, {"upper", "80"}, {"spread", "2"}});
    const Procedure& run = ml.state();
    ASSERT_EQ(run.curstim, 47.5);
    ml.answer(0, 0);
    EXPECT_EQ(firedAnswers(ml.trials()), (std::vector<FiredAnswer>{{48, 0}}));
    for (int i = 0; i < 40 && run.myrmt == 0; ++i) {
        ml.answer(i % 2, 0);
    }
    ASSERT_NE(run.myrmt, 0);
    const int answered = run.stepnum;
    ml.answer(1, 0);  // after the end
    const auto answers = firedAnswers(ml.trials());
    ASSERT_EQ(static_cast<int>(answers.size()), answered + 1);
    EXPECT_EQ(answers.back(), (FiredAnswer{static_cast<std::int32_t>(std::lround(run.myrmt)), 1}));

    // Adaptive PEST fires 39.5 as 40.
    limenta::Run pest(*findMethod(methods(), "pest"), {});
    for (const int answer : {1, 1, 0, 0}) {
        pest.answer(answer, 0);
    }
    EXPECT_EQ(firedAnswers(pest.trials()),
              (std::vector<FiredAnswer>{{50, 1}, {43, 1}, {36, 0}, {40, 0}}));
}

// log Phi(z) far below 0, where Phi itself underflows: against the continued fraction of the
// normal's Mills ratio, Phi(z) = phi(z) / (x + 1 / (x + 2 / (x + 3 / (x + ...)))), x = -z.
TEST(CredibleInterval, LogPhiHoldsFarIntoTheLowerTail) {
    for (const double z : {-36.9, -37.1, -40.0, -60.0, -300.0}) {
        const double x = -z;
        double fraction = x;
        for (int k = 400; k >= 1; --k) {
            fraction = x + k / fraction;
        }
        const double exact =
            -0.5 * z * z - 0.5 * std::log(2 * std::numbers::pi) - std::log(fraction);
        EXPECT_NEAR(logPhi(z), exact, 1e-5) << z;
    }
}

TEST(CredibleInterval, IsWideWhenItSpansMoreThanFifteenPercentOfTheMedian) {
    EXPECT_TRUE((CredibleInterval{37, 41, 45}.wide()));   // 8 > 6.15
    EXPECT_FALSE((CredibleInterval{38, 41, 44}.wide()));  // 6 < 6.15
}

}  // namespace
}  // namespace limenta
