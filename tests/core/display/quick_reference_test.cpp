// Quick reference values and the depth correction.
#include "core/display/quick_reference.h"

#include <gtest/gtest.h>

namespace limenta {
namespace {

TEST(QuickReference, PercentagesOfTheThresholdRoundedToWholeOutputs) {
    EXPECT_EQ(quickReference(52, 80).text, "42");  // 41.6
    EXPECT_EQ(quickReference(52, 100).text, "52");
    EXPECT_EQ(quickReference(52, 120).text, "62");  // 62.4
    EXPECT_EQ(quickReference(52, 0).text, "0");
    EXPECT_EQ(quickReference(52, 200).text, "104");
    EXPECT_EQ(quickReference(41.25, 200).text, "83");  // 82.5, a half, goes up
}

TEST(QuickReference, DepthFactorGrowsAboutFourPercentPerMillimetre) {
    EXPECT_NEAR(depthFactor(20, 15), 1.1972, 5e-5);
    EXPECT_NEAR(depthFactor(10, 15), 0.8353, 5e-5);
    EXPECT_EQ(depthFactor(0, 0), 1.0);
    const double deeper = depthFactor(20, 15);
    EXPECT_EQ(correctedReference(52, deeper, 80).text, "50");   // 49.80
    EXPECT_EQ(correctedReference(52, deeper, 100).text, "62");  // 62.25
    EXPECT_EQ(correctedReference(52, deeper, 120).text, "75");  // 74.70
    EXPECT_EQ(correctedReference(52, depthFactor(10, 15), 100).text, "43");
    // A factor too large for a number is never shown as one, nor as above the maximum.
    EXPECT_EQ(correctedReference(0, depthFactor(1e300, -1e300), 100).text, "--");
}

TEST(QuickReference, ValuesNoStimulatorCanDeliverAreMarked) {
    // 120 % of an rMT of 90 is 108; 10 mm to M1 and 40 mm to the target multiply by 2.946.
    const ReferenceValue above = quickReference(90, 120);
    EXPECT_TRUE(above.aboveMaximum);
    EXPECT_EQ(above.shown(), "100+");
    EXPECT_EQ(above.reported(), "above 100 (108)");
    const double deeper = depthFactor(40, 10);
    EXPECT_EQ(correctedReference(50, deeper, 80).reported(), "above 100 (118)");
    // Exactly the maximum, or a value that rounds to it, is deliverable.
    EXPECT_FALSE(quickReference(100, 100).aboveMaximum);
    EXPECT_FALSE(quickReference(100.4, 100).aboveMaximum);
    EXPECT_EQ(quickReference(100.4, 100).shown(), "100");
    EXPECT_TRUE(quickReference(100.5, 100).aboveMaximum);  // rounds to 101
    EXPECT_FALSE(correctedReference(0, depthFactor(1e300, -1e300), 100).aboveMaximum);
    EXPECT_EQ(quickReference(52, 80).reported(), "42");
}

}  // namespace
}  // namespace limenta
