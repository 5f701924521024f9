#include "core/report/report_text.h"

#include <gtest/gtest.h>

namespace limenta {
namespace {

ReportInputs finishedAdaptiveRun() {
    ReportInputs in;
    in.mydate = "Tuesday, 8 December 2026";
    in.mytime = "09:30:15 UTC";
    in.totaltime = 95.25;
    in.method = "Adaptive PEST";
    in.settings = {{"Starting Value", "50"}, {"Step Size", "7"}, {"Difference Threshold", ".45"}};
    in.threshold = "42";
    in.percents = {"80%", "100%", "120%"};
    in.plain = {"33", "42", "50"};
    in.corrected = {"40", "50", "60"};  // distinct from the plain values, as M1 and the
    in.m1Distance = "15";               // target lie at distinct depths
    in.targetDistance = "20";
    in.historyHeader = "#    SETTING  ROUND MEP   DIFF";
    in.history = "02   043.00   043   1.0   07.0000\r01   050.00   050   1.0   07.0000\r";
    return in;
}

const std::string kRule(34, '_');

TEST(ReportText, FinishedAdaptivePestRunLineByLine) {
    EXPECT_EQ(composeReport(finishedAdaptiveRun()),
              kRule +
                  "\r\r"
                  "Limenta\r"
                  "TMS rMT Assessment Program\r"
                  "Resting motor threshold by adaptive PEST,\r"
                  "Maximum-Likelihood PEST or a Bayesian procedure\r"
                  "(cumulative Gaussian, spread proportional to the\r"
                  "threshold).\r"
                  "Check every output before it reaches a patient.\r" +
                  kRule +
                  "\r\r"
                  "Tuesday, 8 December 2026\r"
                  "09:30:15 UTC\r"
                  "Total Assessment Time = 95.25 seconds\r\r"
                  "Method: Adaptive PEST\r"
                  "Starting Value = 50\r"
                  "Step Size = 7\r"
                  "Difference Threshold = .45\r\r"
                  "Resting Motor Threshold = 42\r\r"
                  "QUICK REFERENCE:\r"
                  "80% = 33\r"
                  "100% = 42\r"
                  "120% = 50\r\r"
                  "DISTANCE CORRECTION:\r"
                  "Distance from M1 = 15 mm\r"
                  "Distance from cortical target = 20 mm\r"
                  "80% = 40\r"
                  "100% = 50\r"
                  "120% = 60\r\r"
                  "HISTORY:\r"
                  "#    SETTING  ROUND MEP   DIFF\r"
                  "02   043.00   043   1.0   07.0000\r"
                  "01   050.00   050   1.0   07.0000\r"
                  "\r");
    // A run on a virtual patient says so under the program's name, and nothing else changes.
    ReportInputs practice = finishedAdaptiveRun();
    practice.practice = true;
    std::string report = composeReport(practice);
    const std::string line = "PRACTICE \u2013 virtual patient\r";
    ASSERT_EQ(report.find(line), kRule.size() + 10);
    EXPECT_EQ(report.erase(kRule.size() + 10, line.size()), composeReport(finishedAdaptiveRun()));
}

TEST(ReportText, TheIntervalFollowsTheEstimateAndIsLeftOutWithoutAnswers) {
    ReportInputs in = finishedAdaptiveRun();
    in.interval = "37 to 45";
    EXPECT_NE(composeReport(in).find("\rResting Motor Threshold = 42\r95% Interval = 37 to "
                                     "45\r\rQUICK REFERENCE:\r"),
              std::string::npos);
    EXPECT_EQ(composeReport(finishedAdaptiveRun()).find("Interval"), std::string::npos);
}

TEST(ReportText, BeforeAnyRunEndsAndAfterAReset) {
    ReportInputs in = finishedAdaptiveRun();
    in.totaltime = 0;
    in.history.clear();
    in.threshold.clear();
    const std::string report = composeReport(in);
    EXPECT_NE(report.find("Total Assessment Time = 0 seconds\r\r"), std::string::npos);
    EXPECT_NE(report.find("Resting Motor Threshold = \r\r"), std::string::npos);
    // Only the header under HISTORY, then the closing carriage return.
    const std::string ending = "\rHISTORY:\r#    SETTING  ROUND MEP   DIFF\r\r";
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    EXPECT_EQ(report.find('\n'), std::string::npos);
}

TEST(ReportText, ARunWithoutItsEstimateClaimsNoThresholdValuesOrTime) {
    ReportInputs in = finishedAdaptiveRun();
    in.stage = RunStage::InProgress;
    in.threshold = "53";
    const std::string during = composeReport(in);
    EXPECT_NE(during.find("\rTotal Assessment Time = run in progress\r\r"), std::string::npos);
    EXPECT_NE(during.find("\rResting Motor Threshold = not reached (run in progress; next "
                          "output 53)\r\r"),
              std::string::npos);
    EXPECT_NE(during.find("\rQUICK REFERENCE:\r80% = --\r100% = --\r120% = --\r\r"),
              std::string::npos);
    EXPECT_NE(during.find("mm\r80% = --\r100% = --\r120% = --\r\rHISTORY:"), std::string::npos);
    EXPECT_NE(during.find("\rStarting Value = 50\r"), std::string::npos);  // settings as today
    EXPECT_NE(during.find("02   043.00"), std::string::npos);              // and the history

    in.stage = RunStage::NoRun;
    const std::string none = composeReport(in);
    EXPECT_NE(none.find("\rResting Motor Threshold = no run yet\r\r"), std::string::npos);
    EXPECT_NE(none.find("\rTotal Assessment Time = no run yet\r\r"), std::string::npos);
    EXPECT_EQ(none.find("95.25"), std::string::npos);
    EXPECT_NE(none.find("\r80% = --\r"), std::string::npos);
}

}  // namespace
}  // namespace limenta
