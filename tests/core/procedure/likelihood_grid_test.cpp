// The kept grid of likelihoods must hold, to the bit, what funcfinal gives at each grid
// point, however the record grew or changed.
#include "core/procedure/likelihood_grid.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "core/procedure/procedure.h"

namespace limenta {
namespace {

std::uint64_t bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

// Every grid point against funcfinal at that threshold with that spread.
void expectGridIsFuncfinal(LikelihoodGrid& grid, Procedure& run, double spread) {
    const GridValues& values = grid.values(run, spread);
    run.relsigmafinal = spread;
    for (int i = 1; i <= kGridLast; ++i) {
        ASSERT_EQ(bits(values[static_cast<std::size_t>(i)]), bits(run.funcfinal(i)))
            << "threshold " << i << ", spread " << spread << ", " << run.nrstimulus << " stimuli";
    }
}

TEST(LikelihoodGrid, HoldsFuncfinalAtEveryGridPointAsTheRecordGrows) {
    std::mt19937 random(7);
    for (int record = 0; record < 100; ++record) {
        LikelihoodGrid grid;
        Procedure run;
        const double spread = 1 + random() % 15;
        const int lower = 5 + static_cast<int>(random() % 40);
        run.startBestPest(lower, lower + 10 + static_cast<int>(random() % 50));
        for (int answer = 0; answer < 30; ++answer) {
            expectGridIsFuncfinal(grid, run, spread);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            run.insertstimulus(10 + static_cast<int>(random() % 80),
                               static_cast<int>(random() % 2));
        }
    }
}

TEST(LikelihoodGrid, ANewStartAnotherSpreadOrAChangedEntrySumsAfresh) {
    LikelihoodGrid grid;
    Procedure run;
    run.startBestPest(20, 80);
    run.insertstimulus(45, 0);
    expectGridIsFuncfinal(grid, run, 7);
    // Start again with other bounds: the record is rewritten from its first entry.
    run.nrstimulus = 0;
    run.startBestPest(30, 70);
    expectGridIsFuncfinal(grid, run, 7);
    // Only the first entry differs: a new Start with another lower bound.
    run.nrstimulus = 0;
    run.startBestPest(25, 70);
    expectGridIsFuncfinal(grid, run, 7);
    expectGridIsFuncfinal(grid, run, 9);  // another spread
    run.insertstimulus(45, 0);
    expectGridIsFuncfinal(grid, run, 9);
    run.staerken[3] = 46;  // an intensity changed in place
    expectGridIsFuncfinal(grid, run, 9);
    run.erfolge[3] = 1;  // an answer changed in place
    expectGridIsFuncfinal(grid, run, 9);
    run.nrstimulus = 2;  // a shorter record
    expectGridIsFuncfinal(grid, run, 9);
    // A record as long, every intensity another, every answer the same.
    run.nrstimulus = 0;
    run.startBestPest(35, 65);
    run.insertstimulus(44, 0);
    expectGridIsFuncfinal(grid, run, 9);
    // Three failures, then the middle one turned into a success.
    run.nrstimulus = 0;
    for (const int stimulus : {20, 30, 40}) {
        run.insertstimulus(stimulus, 0);
    }
    expectGridIsFuncfinal(grid, run, 9);
    run.erfolge[2] = 1;
    expectGridIsFuncfinal(grid, run, 9);
}

}  // namespace
}  // namespace limenta
