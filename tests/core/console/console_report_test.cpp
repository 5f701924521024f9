// The report Print/Save composes: where the run stands, its settings as the run states them,
// the values of its estimate and both distances, and one function for a run from the console
// or from the journal.
#include <gtest/gtest.h>

#include "core/console/console_fixture.h"
#include "core/report/reported_run.h"

namespace limenta::testing {
namespace {

using Report = ConsoleTest;

bool says(const std::string& report, const std::string& line) {
    return report.find(line) != std::string::npos;
}

TEST_F(Report, AReportSaysWhereTheRunStands) {
    open();
    std::string text = report();
    EXPECT_TRUE(says(text, "\rResting Motor Threshold = no run yet\r"));
    EXPECT_TRUE(says(text, "\rTotal Assessment Time = no run yet\r"));
    EXPECT_TRUE(says(text, "\rMethod: Adaptive PEST\rStarting Value = 50\r"));  // as typed
    press(Button::Start);
    type("yy");  // adaptive PEST, next output 36
    text = report();
    EXPECT_TRUE(says(text,
                     "\rResting Motor Threshold = not reached (run in progress; next "
                     "output 36)\r"));
    EXPECT_TRUE(says(text, "\rTotal Assessment Time = run in progress\r"));
    EXPECT_TRUE(says(text, "\r80% = --\r100% = --\r120% = --\r"));
    host.micros = 95'250'000;
    type("nnyny");  // the estimate 42
    text = report();
    EXPECT_TRUE(says(text, "\rTotal Assessment Time = 95.25 seconds\r"));
    EXPECT_TRUE(says(text, "\rResting Motor Threshold = 42\r95% Interval = 36 to 46\r\rQUICK"));
    EXPECT_TRUE(says(text, "\r80% = 33\r100% = 42\r120% = 50\r"));
    EXPECT_TRUE(says(text, "\r" + std::string(host.wall.longDate) + "\r" + host.wall.longTime));
    type("y");  // after the end a move smaller than .45 presents the end again
    EXPECT_TRUE(says(report(), "\rResting Motor Threshold = 41\r"));
    type("y");  // the step doubles to .875: the staircase moves on, no estimate now
    EXPECT_TRUE(says(report(), "Threshold = not reached (run in progress; next output 40)"));
    press(Button::Reset);
    text = report();
    EXPECT_TRUE(says(text, "\rResting Motor Threshold = no run yet\r"));
    EXPECT_TRUE(says(text, "\r" + std::string(host.wall.longDate) + "\r"));  // kept after Reset
}

TEST_F(Report, AnMlPestReportStatesItsSpreadWholeAndItsFirstOutputAsShown) {
    open(prefsWith({{kPrefsUseMlPest, "1"}}));
    edit(Field::Third, "2");
    press(Button::Start);  // the first estimate, unrounded: 47.5
    EXPECT_TRUE(says(report(), "Threshold = not reached (run in progress; next output 47.5)"));
    for (int i = 0; i < 60 && run().state().myrmt == 0; ++i) {
        type(i % 2 == 0 ? "y" : "n");
    }
    ASSERT_NE(run().state().myrmt, 0);
    EXPECT_TRUE(says(report(), "\rResting Motor Threshold = " + view().big + "\r"));
    type("y");  // after the end ML-PEST presents the same estimate again
    EXPECT_FALSE(says(report(), "not reached"));
    press(Button::Reset);
    edit(Field::Third, "7,5");
    press(Button::Start);
    // The spread as the run takes it; the difference threshold has no line.
    EXPECT_TRUE(says(report(),
                     "\rMethod: Maximum-Likelihood PEST\rLower Bound = 20\r"
                     "Upper Bound = 80\rSpread = 8\r\rResting Motor Threshold"));
}

TEST_F(Report, TheReportCarriesBothDistancesAndTheCorrectedValues) {
    open();
    press(Button::Start);
    type("yynnyny");  // the estimate 42, plain values 33, 42, 50
    press(Button::Adjust);
    edit(Field::M1Distance, "15");
    edit(Field::TargetDistance, "20");  // the target, deeper
    press(Button::Adjust);
    const std::string text = report();
    EXPECT_TRUE(says(text, "\r80% = 33\r100% = 42\r120% = 50\r\r"));
    EXPECT_TRUE(says(text,
                     "\rDISTANCE CORRECTION:\rDistance from M1 = 15 mm\r"
                     "Distance from cortical target = 20 mm\r80% = 40\r100% = 50\r"
                     "120% = 60\r\r"));
}

// The one function, from a run as the journal keeps it: a method it does not know is named
// unknown with no settings, and an end above 100 gives no percentage of it.
TEST(ReportedRun, AKeptRunsLinesComeFromItsValues) {
    ReportedRun kept;
    kept.stage = RunStage::Reached;
    kept.method = "robust-x";
    kept.settings = {{"start", "50"}};
    kept.next = 0;
    kept.aboveMaximum = true;
    kept.answers = {TrialLine{1, 100, 0, 100, 3}};
    kept.withdrawn = 2;
    kept.percents = {0, 100, 200};
    const ReportInputs in = reportInputs(kept);
    EXPECT_EQ(in.method, "unknown (robust-x)");
    EXPECT_TRUE(in.settings.empty());
    EXPECT_EQ(in.plain, (std::array<std::string, 3>{"--", "--", "--"}));
    EXPECT_EQ(in.corrected, (std::array<std::string, 3>{"--", "--", "--"}));
    EXPECT_EQ(in.percents, (std::array<std::string, 3>{"0%", "100%", "200%"}));
    EXPECT_EQ(in.history, "01   100.00   100   0.0   03.0000\r");
    EXPECT_EQ(in.withdrawn, 2U);
    EXPECT_TRUE(says(composeReport(in), "\rResting Motor Threshold = above 100\r"));

    kept.method = "pest";
    kept.aboveMaximum = false;
    kept.estimate = 52;
    kept.next = 52;
    kept.interval = CredibleInterval{47.2, 52, 56.1};
    kept.m1Distance = "15";
    kept.targetDistance = "20";
    const ReportInputs pest = reportInputs(kept);
    EXPECT_EQ(pest.method, "Adaptive PEST");
    EXPECT_EQ(pest.settings,
              (std::vector<std::pair<std::string, std::string>>{{"Starting Value", "50"}}));
    EXPECT_EQ(pest.threshold, "52");
    EXPECT_EQ(pest.interval, "47 to 57");
    EXPECT_EQ(pest.plain, (std::array<std::string, 3>{"0", "52", "above 100 (104)"}));
    EXPECT_EQ(pest.corrected[1], "62");
}

}  // namespace
}  // namespace limenta::testing
