// A run's 95 % interval, whatever method chose its outputs: against a plain computation of
// the robust posterior (every answer's likelihood at every point of the grid, in logarithms,
// summed over the spreads by their prior) on random runs of every method, on a run whose
// answers contradict every threshold, and from the answers a run actually took.
#include "core/procedure/credible_interval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "core/procedure/robust_bayes.h"
#include "core/run/run.h"
#include "core/trial/run_start.h"

namespace limenta {
namespace {

// The model as it is described: thresholds 1 to 100 0.1 apart; 13 spreads from 2 % to 20 % of
// T, evenly in the logarithm, their prior log-normal around 7 % with 0.4 in the logarithm; a
// share `lapse` of answers going either way; a flat prior over thresholds.
CredibleInterval plainRobustInterval(const std::vector<FiredAnswer>& answers, double lapse) {
    constexpr int kThresholds = 991;
    constexpr int kSpreads = 13;
    std::vector<double> logs(static_cast<std::size_t>(kThresholds * kSpreads));
    for (int k = 0; k < kSpreads; ++k) {
        const double spread = 0.02 * std::pow(10.0, k / 12.0);
        const double z = std::log(spread / 0.07) / 0.4;
        for (int i = 0; i < kThresholds; ++i) {
            const double t = 1 + 0.1 * i;
            double sum = -0.5 * z * z;
            for (const FiredAnswer& a : answers) {
                const double phi =
                    0.5 * std::erfc(-(a.output - t) / (spread * t) / std::numbers::sqrt2);
                const double mep = lapse / 2 + (1 - lapse) * phi;
                sum += std::log(a.answer != 0 ? mep : 1 - mep);
            }
            logs[static_cast<std::size_t>(k * kThresholds + i)] = sum;
        }
    }
    const double top = *std::max_element(logs.begin(), logs.end());
    std::vector<double> marginal(kThresholds, 0.0);
    for (int k = 0; k < kSpreads; ++k) {
        for (int i = 0; i < kThresholds; ++i) {
            marginal[static_cast<std::size_t>(i)] +=
                std::exp(logs[static_cast<std::size_t>(k * kThresholds + i)] - top);
        }
    }
    std::vector<double> cumulative(marginal.size(), 0.0);
    for (std::size_t i = 1; i < marginal.size(); ++i) {
        cumulative[i] = cumulative[i - 1] + 0.5 * (marginal[i - 1] + marginal[i]) * 0.1;
    }
    const auto quantile = [&](double share) {
        const double target = share * cumulative.back();
        std::size_t i = 1;
        while (cumulative[i] < target) {
            ++i;
        }
        const double within = (target - cumulative[i - 1]) / (cumulative[i] - cumulative[i - 1]);
        return 1 + (static_cast<double>(i - 1) + within) * 0.1;
    };
    return {quantile(0.025), quantile(0.5), quantile(0.975)};
}

void expectSame(const std::optional<CredibleInterval>& interval, const CredibleInterval& plain,
                const std::string& run) {
    ASSERT_TRUE(interval) << run;
    EXPECT_NEAR(interval->low, plain.low, 1e-6) << run;
    EXPECT_NEAR(interval->median, plain.median, 1e-6) << run;
    EXPECT_NEAR(interval->high, plain.high, 1e-6) << run;
}

TEST(CredibleInterval, EveryMethodsIntervalIsTheRobustPosteriorsOfItsAnswers) {
    std::mt19937 random(5);
    for (const Method& method : methods()) {
        for (int r = 0; r < 12; ++r) {
            // A patient somewhere between 25 and 95 with a spread of their own, an operator
            // who slips now and then, answers past the end too.
            const double truth = 25 + random() % 70;
            const double spread = (2 + random() % 14) / 100.0;
            const int count = 1 + static_cast<int>(random() % 30);
            limenta::Run run(method, {});
            for (int k = 0; k < count; ++k) {
                const double z = (std::round(run.output()) - truth) / (spread * truth);
                const bool mep =
                    (random() % 1000) / 1000.0 < 0.5 * std::erfc(-z / std::numbers::sqrt2);
                const bool slip = random() % 20 == 0;
                run.answer(mep != slip ? 1 : 0, 0);
            }
            expectSame(run.interval(), plainRobustInterval(firedAnswers(run.trials()), kUsualLapse),
                       std::string(method.key) + " run " + std::to_string(r));
        }
    }
    // The robust procedure with a lapse rate of its own gives its own posterior's interval.
    limenta::Run own(*findMethod(methods(), "bayes-robust"), {{"lapse", ".2"}});
    for (const int answer : {1, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1}) {
        own.answer(answer, 0);
    }
    expectSame(own.interval(), plainRobustInterval(firedAnswers(own.trials()), 0.2), "lapse .2");
}

TEST(CredibleInterval, AnswersThatContradictEveryThresholdStayClearOfUnderflow) {
    // An MEP at 1 and none at 100, over and over: at nearly every threshold each answer is a
    // slip, 3 % likely; 400 of them would take the plain product far below the smallest
    // double.
    std::vector<FiredAnswer> answers;
    for (int i = 0; i < 400; ++i) {
        answers.push_back(i % 2 == 0 ? FiredAnswer{1, 1} : FiredAnswer{100, 0});
    }
    expectSame(robustInterval(answers), plainRobustInterval(answers, kUsualLapse), "400 slips");
    EXPECT_FALSE(robustInterval({}));
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

TEST(CredibleInterval, IsWideWhenItSpansMoreThanAFifthOfTheMedian) {
    EXPECT_TRUE((CredibleInterval{36, 41, 44.3}.wide()));   // 8.3 > 8.2
    EXPECT_FALSE((CredibleInterval{36, 41, 44.1}.wide()));  // 8.1 < 8.2
}

}  // namespace
}  // namespace limenta
