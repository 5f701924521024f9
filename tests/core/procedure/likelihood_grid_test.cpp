// The kept grid of likelihoods must give the very bits the plain search gives.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "core/procedure/procedure.h"

namespace limenta {
namespace {

// The estimator exactly as it reads without kept sums: 100 full likelihoods, then Brent.
double plainFinalThreshold(Procedure& run, double spread) {
    run.relsigmafinal = spread;
    double best = 1e38;
    int first = 0;
    int last = 0;
    for (int i = 1; i <= 100; ++i) {
        const double v = run.funcfinal(i);
        if (std::fabs(v - best) < 1e-7) {
            last = i;
        } else if (v < best) {
            best = v;
            first = i;
            last = i;
        }
    }
    if (first != last) {
        return (first + last) * 0.5;
    }
    double position = 0.0;
    run.brent(first - 1, first, first + 1, 1e-7, position);
    return position;
}

std::uint64_t bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

TEST(LikelihoodGrid, EstimatesAreBitForBitThoseOfThePlainSearch) {
    std::mt19937 random(7);
    int refined = 0;
    for (int record = 0; record < 300; ++record) {
        Procedure kept;
        Procedure plain;
        const double spread = 1 + random() % 15;
        const int lower = 5 + static_cast<int>(random() % 40);
        const int upper = lower + 10 + static_cast<int>(random() % 50);
        kept.startBestPest(lower, upper);
        plain.startBestPest(lower, upper);
        for (int answer = 0; answer < 40; ++answer) {
            const double a = kept.finalThreshold(spread);
            const double b = plainFinalThreshold(plain, spread);
            ASSERT_EQ(bits(a), bits(b)) << "record " << record << ", answer " << answer;
            refined += a != std::floor(a) && a * 2 != std::floor(a * 2) ? 1 : 0;
            const int stimulus =
                static_cast<int>(std::lround(a)) + static_cast<int>(random() % 7) - 3;
            const int success = static_cast<int>(random() % 2);
            kept.insertstimulus(stimulus, success);
            plain.insertstimulus(stimulus, success);
        }
    }
    EXPECT_GT(refined, 1000);  // Brent's refinement was exercised, not only ties
}

TEST(LikelihoodGrid, ANewStartOrAnotherSpreadSumsAfresh) {
    Procedure run;
    run.startBestPest(20, 80);
    run.insertstimulus(45, 0);
    const double first = run.finalThreshold(7);
    // Start again with other bounds: the record is rewritten from its first entry.
    run.nrstimulus = 0;
    run.startBestPest(30, 70);
    Procedure fresh;
    fresh.startBestPest(30, 70);
    EXPECT_EQ(bits(run.finalThreshold(7)), bits(fresh.finalThreshold(7)));
    EXPECT_EQ(bits(run.finalThreshold(9)), bits(plainFinalThreshold(fresh, 9)));
    // An entry changed in place is noticed too.
    run.insertstimulus(45, 0);
    run.finalThreshold(7);
    run.staerken[3] = 46;
    Procedure changed;
    changed.startBestPest(30, 70);
    changed.insertstimulus(46, 0);
    EXPECT_EQ(bits(run.finalThreshold(7)), bits(plainFinalThreshold(changed, 7)));
    EXPECT_NE(first, 0);
}

}  // namespace
}  // namespace limenta
