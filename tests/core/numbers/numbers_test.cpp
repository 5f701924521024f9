#include "core/numbers/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace limenta {
namespace {

struct MaskCase {
    double value;
    const char* mask;
    const char* text;
};

class MaskFormatting : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskFormatting, ShowsTheNumberAsTheMaskSays) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(formatMask(c.value, c.mask), c.text) << c.value << " through " << c.mask;
}

INSTANTIATE_TEST_SUITE_P(
    EveryMaskInUse, MaskFormatting,
    ::testing::Values(
        // Big number and quick reference.
        MaskCase{7, "##0", "7"}, MaskCase{52, "##0", "52"}, MaskCase{100, "##0", "100"},
        MaskCase{0, "##0", "0"}, MaskCase{-0.4, "##0", "0"}, MaskCase{1234, "##0", "1234"},
        // History columns: digits beyond the mask are never cut.
        MaskCase{3, "00", "03"}, MaskCase{100, "00", "100"}, MaskCase{44.75, "000.00", "044.75"},
        MaskCase{100, "000.00", "100.00"}, MaskCase{45, "000", "045"}, MaskCase{1, "0.0", "1.0"},
        MaskCase{0, "0.0", "0.0"}, MaskCase{1.75, "00.0000", "01.7500"},
        MaskCase{10, "00.0000", "10.0000"}, MaskCase{100, "00.0000", "100.0000"},
        MaskCase{0.4375, "00.0000", "00.4375"},
        // Halves go away from zero, on the exact value of the double.
        MaskCase{41.125, "000.00", "041.13"}, MaskCase{-41.125, "000.00", "-041.13"},
        MaskCase{2.675, "000.00", "002.67"},  // 2.675 is 2.67499999... as a double
        MaskCase{0.00005, "00.0000", "00.0001"},
        MaskCase{99.995, "00.00", "100.00"},  // 99.99500000000000455 as a double
        MaskCase{0.125, "0.00", "0.13"}, MaskCase{9.99996, "00.0000", "10.0000"},
        // Plot number.
        MaskCase{7, "#00", "07"}, MaskCase{52, "#00", "52"}, MaskCase{100, "#00", "100"},
        // Duration: no zeros added on either side, at most ten decimals.
        MaskCase{95.25, "##########.##########", "95.25"},
        MaskCase{95, "##########.##########", "95"}, MaskCase{0, "##########.##########", "0"},
        MaskCase{0.5, "##########.##########", "0.5"},
        MaskCase{1.0 / 3.0, "##########.##########", "0.3333333333"},
        MaskCase{12345678901.5, "##########.##########", "12345678901.5"},
        // A mask mixing both: zeros always shown, the hashes after them only when needed.
        MaskCase{1.2, "0.0#", "1.2"}, MaskCase{1.25, "0.0#", "1.25"},
        // The largest numbers come out whole, every digit of the double.
        MaskCase{1e300, "0",
                 "1000000000000000052504760255204420248704468581108159154915854115511802457988"
                 "9081957863713750804478640437044438328838781769425232353604305756447921847867"
                 "0698284838720092657580373783023379478809005936895323497079994508111903896764"
                 "0880074652742780142494579258788820056842838115669472196386865459400540160"},
        // Nothing that is not a number is ever shown as one.
        MaskCase{std::numeric_limits<double>::infinity(), "##0", "--"},
        MaskCase{std::numeric_limits<double>::quiet_NaN(), "000.00", "--"}));

TEST(TextToNumber, ReadsTheLeadingDecimalNumber) {
    EXPECT_EQ(textToNumber("50"), 50.0);
    EXPECT_EQ(textToNumber(".45"), 0.45);
    EXPECT_EQ(textToNumber("  7.5mm"), 7.5);
    EXPECT_EQ(textToNumber("-3"), -3.0);
    EXPECT_EQ(textToNumber("+12"), 12.0);
    EXPECT_EQ(textToNumber("1e2"), 100.0);
    EXPECT_EQ(textToNumber("1e"), 1.0);
    // A decimal comma, as German and French desktops type it.
    EXPECT_EQ(textToNumber("52,5"), 52.5);
    EXPECT_EQ(textToNumber(",45"), 0.45);
    EXPECT_EQ(textToNumber("-0,5"), -0.5);
    EXPECT_EQ(textToNumber("1,5,3"), 1.5);
}

TEST(TextToNumber, GivesZeroForTextThatIsNoFiniteNumber) {
    for (const char* text : {"", "abc", ".", ",", "-", "nan", "inf", "-inf", "infinity", "1e999",
                             "-1e400", "0x10", "x5"}) {
        EXPECT_EQ(textToNumber(text), 0.0) << '"' << text << '"';
    }
    const std::string longText(100000, '9');
    EXPECT_EQ(textToNumber(longText), 0.0);  // beyond a double's range
}

TEST(Conversions, WholeNumbersTruncateSaturateAndRoundHalvesAway) {
    EXPECT_EQ(toWhole(7.9), 7);
    EXPECT_EQ(toWhole(-7.9), -7);
    EXPECT_EQ(toWhole(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(toWhole(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(toWhole(std::numeric_limits<double>::infinity()),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(toWhole(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(nearestWhole(52.5), 53);
    EXPECT_EQ(nearestWhole(52.4), 52);
    EXPECT_EQ(nearestWhole(57.7), 58);
    EXPECT_EQ(nearestWhole(-0.5), -1);
    EXPECT_EQ(roundHalfAway(44.5), 45.0);
}

TEST(PlainDecimal, IsTheShortestTextThatReadsBack) {
    EXPECT_EQ(plainDecimal(0.45), ".45");
    EXPECT_EQ(plainDecimal(-0.5), "-.5");
    EXPECT_EQ(plainDecimal(50), "50");
    EXPECT_EQ(plainDecimal(7.5), "7.5");
    EXPECT_EQ(plainDecimal(-0.0), "0");
    EXPECT_EQ(plainDecimal(1e21), "1000000000000000000000");
    EXPECT_EQ(textToNumber(plainDecimal(62.188486709462715)), 62.188486709462715);
}

}  // namespace
}  // namespace limenta
