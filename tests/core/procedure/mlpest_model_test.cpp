#include <gtest/gtest.h>

#include <cmath>

#include "core/procedure/mlpest_model.h"
#include "core/procedure/procedure.h"

namespace limenta {
namespace {

TEST(CuGauss, FollowsTheFittedNormalDistribution) {
    EXPECT_EQ(CuGauss(49, 50, 0), 0.0);
    EXPECT_EQ(CuGauss(50, 50, 0), 1.0);
    EXPECT_EQ(CuGauss(49, 50, -3), 0.0);
    EXPECT_NEAR(CuGauss(55, 50, 5), 0.84134474, 5e-9);
    EXPECT_NEAR(CuGauss(45, 50, 5), 0.15865526, 5e-9);
    EXPECT_NEAR(CuGauss(55, 50, 5) + CuGauss(45, 50, 5), 1.0, 1e-15);
    EXPECT_EQ(CuGauss(80, 50, 0.5), 1.0);
    EXPECT_EQ(CuGauss(20, 50, 0.5), 0.0);
    // The approximation is not exact at the centre; the model was fitted with it.
    EXPECT_NEAR(CuGauss(50, 50, 5), 0.499999985, 1e-9);
    EXPECT_NE(CuGauss(50, 50, 5), 0.5);
}

TEST(Sureln, FloorsTheLogarithm) {
    EXPECT_EQ(sureln(0), -12000.0);
    EXPECT_EQ(sureln(-1), -12000.0);
    EXPECT_EQ(sureln(1), 0.0);
    EXPECT_NEAR(sureln(1e-100), -230.2585, 1e-4);
    EXPECT_EQ(sureln(9.9e-101), -12000.0);  // the floor starts just below 1e-100
}

TEST(Funcfinal, IsTheNegativeLogLikelihoodOfTheRecord) {
    Procedure run;
    run.relsigmafinal = 7;
    EXPECT_EQ(run.funcfinal(1), 0.0);
    EXPECT_EQ(run.funcfinal(63.5), 0.0);

    run.startBestPest(20, 80);
    EXPECT_EQ(run.funcfinal(1), 12000.0);
    EXPECT_LT(run.funcfinal(45), 1e-15);
    EXPECT_NEAR(run.funcfinal(32), 4.2e-8, 0.05e-8);
    EXPECT_NEAR(run.funcfinal(31), 2.0e-7, 0.05e-7);
    EXPECT_NEAR(run.funcfinal(100), 6.148, 5e-4);
    // With a threshold of 0 the spread is 0: each answer is certain or impossible.
    EXPECT_EQ(run.funcfinal(0), 12000.0);
}

TEST(Funcfinal, CountsOnlyAnExactOneAsASuccess) {
    Procedure run;
    run.relsigmafinal = 7;
    run.insertstimulus(50, 0);
    const double failure = run.funcfinal(40);
    run.erfolge[1] = 0.5;
    EXPECT_EQ(run.funcfinal(40), failure);
}

TEST(Sign, TransfersTheSignWithZeroCountingNegative) {
    EXPECT_EQ(sign(3, 0), -3);
    EXPECT_EQ(sign(-3, 2), 3);
    EXPECT_EQ(sign(-3, -2), -3);
}

TEST(InsertStimulus, AppendsAndRefusesAFullRecord) {
    Procedure run;
    run.startBestPest(20, 80);
    EXPECT_TRUE(run.insertstimulus(45, 1));
    EXPECT_EQ(run.nrstimulus, 3);
    EXPECT_EQ(run.staerken[3], 45.0);
    EXPECT_EQ(run.erfolge[3], 1.0);
    EXPECT_EQ(run.staerken[1], 20.0);
    EXPECT_EQ(run.erfolge[2], 1.0);

    while (run.nrstimulus < kLastStimulus) {
        ASSERT_TRUE(run.insertstimulus(60, 1));
    }
    EXPECT_FALSE(run.insertstimulus(61, 0));
    EXPECT_EQ(run.nrstimulus, kLastStimulus);
    EXPECT_EQ(run.staerken[kLastStimulus], 60.0);
}

}  // namespace
}  // namespace limenta
