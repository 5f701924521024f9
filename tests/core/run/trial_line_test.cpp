#include "core/run/trial_line.h"

#include <gtest/gtest.h>

#include <string>

namespace limenta {
namespace {

// The history line of trial `trial`: the output tried, the answer and the difference.
std::string historyLine(std::int32_t trial, double fired, std::int32_t answer, double diff) {
    return limenta::historyLine(TrialLine{trial, fired, answer, 0, diff});
}

TEST(HistoryLine, HasFiveColumnsThreeBlanksApartAndACarriageReturn) {
    EXPECT_EQ(historyLine(3, 44.75, 0, 1.75), "03   044.75   045   0.0   01.7500\r");
    EXPECT_EQ(historyLine(1, 50, 1, 7), "01   050.00   050   1.0   07.0000\r");
}

TEST(HistoryLine, ColumnsStandUnderTheHeaderWords) {
    const std::string header = kHistoryHeader;
    const std::string line = historyLine(12, 41.6875, 1, 0.4375);
    EXPECT_EQ(line.size(), 34U);  // 33 characters and the carriage return
    for (const char* word : {"#", "SETTING", "ROUND", "MEP", "DIFF"}) {
        const std::size_t column = header.find(word);
        ASSERT_NE(column, std::string::npos);
        EXPECT_NE(line[column], ' ') << word;
        EXPECT_TRUE(column == 0 || line[column - 1] == ' ') << word;
    }
}

TEST(HistoryLine, WideValuesShiftTheLineRatherThanBeingCut) {
    EXPECT_EQ(historyLine(100, 100, 1, 100), "100   100.00   100   1.0   100.0000\r");
    EXPECT_EQ(historyLine(5, 52.5, 1, 10), "05   052.50   053   1.0   10.0000\r");
}

}  // namespace
}  // namespace limenta
