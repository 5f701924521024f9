// Quick reference values and the depth correction.
#include "core/display/quick_reference.h"

#include <gtest/gtest.h>

namespace limenta {
namespace {

TEST(QuickReference, PercentagesOfTheThresholdRoundedToWholeOutputs) {
    EXPECT_EQ(quickReferenceText(52, 80), "42");  // 41.6
    EXPECT_EQ(quickReferenceText(52, 100), "52");
    EXPECT_EQ(quickReferenceText(52, 120), "62");  // 62.4
    EXPECT_EQ(quickReferenceText(52, 0), "0");
    EXPECT_EQ(quickReferenceText(52, 200), "104");
    EXPECT_EQ(quickReferenceText(41.25, 200), "83");  // 82.5, a half, goes up
}

TEST(QuickReference, DepthFactorGrowsAboutFourPercentPerMillimetre) {
    EXPECT_NEAR(depthFactor(20, 15), 1.1972, 5e-5);
    EXPECT_NEAR(depthFactor(10, 15), 0.8353, 5e-5);
    EXPECT_EQ(depthFactor(0, 0), 1.0);
    const double deeper = depthFactor(20, 15);
    EXPECT_EQ(correctedReferenceText(52, deeper, 80), "50");   // 49.80
    EXPECT_EQ(correctedReferenceText(52, deeper, 100), "62");  // 62.25
    EXPECT_EQ(correctedReferenceText(52, deeper, 120), "75");  // 74.70
    EXPECT_EQ(correctedReferenceText(52, depthFactor(10, 15), 100), "43");
    // A factor too large for a number is never shown as one.
    EXPECT_EQ(correctedReferenceText(0, depthFactor(1e300, -1e300), 100), "--");
}

}  // namespace
}  // namespace limenta
