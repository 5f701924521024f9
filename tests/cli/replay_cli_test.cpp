// limenta-sim replay, run as a separate program the way an auditor would run it.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/replay.h"
#include "cli/run_sim.h"
#include "core/procedure/robust_bayes.h"
#include "core/run/fixed_sequence_method.h"

namespace {

// The JSON's interval: the robust posterior's of the answers at the whole percents fired
// (tested against a plain computation with the core).
void expectInterval(const std::string& json, const std::vector<limenta::FiredAnswer>& answers) {
    const auto interval = limenta::robustInterval(answers);
    ASSERT_TRUE(interval);
    const std::size_t at = json.find(R"("interval":{"low":)");
    ASSERT_NE(at, std::string::npos) << json;
    double shownLow = 0;
    double shownHigh = 0;
    ASSERT_EQ(std::sscanf(json.c_str() + at, R"("interval":{"low":%lf,"high":%lf}})", &shownLow,
                          &shownHigh),
              2);
    EXPECT_NEAR(shownLow, interval->low, 1e-9);
    EXPECT_NEAR(shownHigh, interval->high, 1e-9);
    EXPECT_EQ(json.substr(json.size() - 3), "}}\n");
}

TEST(ReplayCli, AdaptivePestWorkedExampleAsJson) {
    const Result r =
        runSim("replay --method pest --start 50 --step 7 --diff 0.45 --answers 1100101 --json");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.output.substr(0, r.output.find(R"("low":)") + 6),
        R"({"method":"pest","first":50,"trials":[)"
        R"({"trial":1,"fired":50,"answer":1,"next":43,"diff":7,"reached":false},)"
        R"({"trial":2,"fired":43,"answer":1,"next":36,"diff":7,"reached":false},)"
        R"({"trial":3,"fired":36,"answer":0,"next":39.5,"diff":3.5,"reached":false},)"
        R"({"trial":4,"fired":39.5,"answer":0,"next":43,"diff":3.5,"reached":false},)"
        R"({"trial":5,"fired":43,"answer":1,"next":41.25,"diff":1.75,"reached":false},)"
        R"({"trial":6,"fired":41.25,"answer":0,"next":42.125,"diff":0.875,"reached":false},)"
        R"({"trial":7,"fired":42.125,"answer":1,"next":41.6875,"diff":0.4375,"reached":true}],)"
        R"("estimate":41.6875,"interval":{"low":)");
    expectInterval(r.output, {{50, 1}, {43, 1}, {36, 0}, {40, 0}, {43, 1}, {41, 0}, {42, 1}});
}

TEST(ReplayCli, AnMlPestRunTakesItsSpreadMadeWholeForEveryEstimateAndTheInterval) {
    const std::string run =
        "replay --method ml --lower 20 --upper 80 --diff 0.45 --answers "
        "0101101001 --json --spread ";
    const Result half = runSim(run + "7.5");
    const Result eight = runSim(run + "8");
    EXPECT_EQ(half.status, 0);
    EXPECT_EQ(half.output, eight.output);
    EXPECT_NE(half.output, runSim(run + "7").output);
    // Simulated runs likewise: a spread of 7.5 is a spread of 8, the label aside.
    const std::string simulate = "simulate --method ml --subjects 40 --seed 3 --csv --spread ";
    std::string simulated = runSim(simulate + "7.5").output;
    const std::size_t label = simulated.find("spread=7.5");
    ASSERT_NE(label, std::string::npos) << simulated;
    EXPECT_EQ(simulated.replace(label, 10, "spread=8"), runSim(simulate + "8").output);
}

// The test's own fourth method, through replay's code in-process with a table that has it.
TEST(ReplayCli, AMethodIsARowOfTheTableAndNothingMore) {
    using limenta::cli::replayCommand;
    const limenta::MethodTable table = limenta::testing::withFixedSequence();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(replayCommand({"--method", "fixed", "--first", "50", "--answers", "1010", "--json"},
                            out, err, table),
              0);
    EXPECT_EQ(out.str().substr(0, out.str().find(R"(,"interval")")),
              R"({"method":"fixed","first":50,"trials":[)"
              R"({"trial":1,"fired":50,"answer":1,"next":40,"diff":10,"reached":false},)"
              R"({"trial":2,"fired":40,"answer":0,"next":30,"diff":10,"reached":false},)"
              R"({"trial":3,"fired":30,"answer":1,"next":35,"diff":5,"reached":false},)"
              R"({"trial":4,"fired":35,"answer":0,"next":32,"diff":3,"reached":true}],)"
              R"("estimate":32)");
    std::ostringstream text;
    replayCommand({"--method", "fixed", "--answers", "10"}, text, err, table);
    EXPECT_EQ(text.str().substr(0, text.str().find("95%")),
              "First output: 60\n#    SETTING  ROUND MEP   DIFF\ntrial 1\ntrial 2\n"
              "Estimate: not reached\n");
    // Its settings are checked and named by its own option; another method's do not apply.
    std::ostringstream refused;
    EXPECT_EQ(replayCommand({"--method", "fixed", "--first", "5"}, out, refused, table), 2);
    EXPECT_NE(refused.str().find("--first must be a number from 1 to 100"), std::string::npos);
    std::ostringstream foreign;
    EXPECT_EQ(replayCommand({"--method", "fixed", "--step", "3"}, out, foreign, table), 2);
    EXPECT_NE(foreign.str().find("--step does not apply to --method fixed"), std::string::npos);
    // The window's table does not know it.
    std::ostringstream unknown;
    EXPECT_EQ(replayCommand({"--method", "fixed"}, out, unknown), 2);
    EXPECT_NE(unknown.str().find("--method must be pest, ml, bayes or bayes-robust, not 'fixed'"),
              std::string::npos);
}

TEST(ReplayCli, MlPestWorkedExampleAsJson) {
    const Result r = runSim(
        "replay --method ml --lower 20 --upper 80 --spread 7 --diff 0.45 --answers 010 "
        "--json");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(
        r.output.substr(0, r.output.find(R"("low":)") + 6),
        R"({"method":"ml","first":45,"trials":[)"
        R"({"trial":1,"fired":45,"answer":0,"next":62.188486709462715,"diff":45,"reached":false},)"
        R"({"trial":2,"fired":62.188486709462715,"answer":1,"next":53.241562690674684,)"
        R"("diff":17.188486709462715,"reached":false},)"
        R"({"trial":3,"fired":53.241562690674684,"answer":0,"next":57.28714814333679,)"
        R"("diff":8.946924018788032,"reached":false}],"estimate":null,"interval":{"low":)");
    expectInterval(r.output, {{45, 0}, {62, 1}, {53, 0}});
}

TEST(ReplayCli, TextShowsTheHistoryOldestFirstThenTheEstimate) {
    const Result r = runSim("replay --answers 1100101");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output,
              "First output: 50\n"
              "#    SETTING  ROUND MEP   DIFF\n"
              "01   050.00   050   1.0   07.0000\n"
              "02   043.00   043   1.0   07.0000\n"
              "03   036.00   036   0.0   03.5000\n"
              "04   039.50   040   0.0   03.5000\n"
              "05   043.00   043   1.0   01.7500\n"
              "06   041.25   041   0.0   00.8750\n"
              "07   042.13   042   1.0   00.4375\n"
              "Estimate: 41.6875\n"
              "95% interval: 36.91 to 45.32\n");
    // Before any answer there is no interval; --spread is taken for adaptive PEST as before,
    // and the interval, which learns the spread, does not depend on it.
    EXPECT_NE(runSim("replay --json").output.find(R"("estimate":null,"interval":null})"),
              std::string::npos);
    EXPECT_EQ(runSim("replay --answers 1100101 --spread 9").output, r.output);
}

TEST(ReplayCli, BayesianRunAsJsonAndText) {
    const Result r = runSim("replay --method bayes --answers 0101 --json");
    EXPECT_EQ(r.status, 0);
    // First at 51; a failure there moves the median up, and the next pulse with it.
    EXPECT_EQ(r.output.rfind(R"({"method":"bayes","first":51,"trials":[{"trial":1,"fired":51,)"
                             R"("answer":0,"next":75.6268)",
                             0),
              0U)
        << r.output;
    EXPECT_NE(r.output.find(R"({"trial":2,"fired":76,"answer":1,)"), std::string::npos);
    EXPECT_NE(r.output.find(R"(,"low":50.810)"), std::string::npos);
    EXPECT_NE(r.output.find(R"("estimate":null,"interval":{"low":)"), std::string::npos);

    // Ten answers near 66: at the default width of .11 the interval (8.54 wide at 66.57) is
    // still too wide; at .15 the eighth answer ends the run (9.95 / 66.60 = .149).
    const Result usual = runSim("replay --method bayes --answers 0101100110");
    EXPECT_EQ(usual.status, 0);
    // Each line gives the procedure's own posterior; the run's interval is the robust one.
    EXPECT_NE(usual.output.find("10   066    0    66.57    62.52    71.06    8.54\n"
                                "Estimate: not reached\n95% interval: "),
              std::string::npos)
        << usual.output;
    EXPECT_EQ(usual.output.find("95% interval: 62.52 to 71.06"), std::string::npos);
    const Result wider = runSim("replay --method bayes --width 0.15 --answers 0101100110");
    EXPECT_NE(wider.output.find("07   066    0    67.68    62.49    73.75    11.26\n"
                                "08   068    1    66.60    61.90    71.85    9.95  ended\n"),
              std::string::npos)
        << wider.output;
    EXPECT_NE(wider.output.find("Estimate: 66.57\n"), std::string::npos);  // the last answer's
}

TEST(ReplayCli, UTakesTheLatestAnswerBackInEveryMethod) {
    for (const char* method : {"pest", "ml", "bayes", "bayes-robust"}) {
        SCOPED_TRACE(method);
        const auto replay = [method](const std::string& answers) {
            std::ostringstream out;
            std::ostringstream err;
            EXPECT_EQ(
                limenta::cli::replayCommand({"--method", method, "--answers", answers}, out, err),
                0);
            return out.str();
        };
        const auto seventhTrial = [](const std::string& text) {
            std::istringstream lines(text);
            std::string line;
            for (int i = 0; i < 9; ++i) {
                std::getline(lines, line);
            }
            return line + "\n";
        };
        // A u before any answer changes nothing; each later one takes the latest answer back.
        const std::string kept = replay("1100101");
        const std::string given = replay("u1100101u0u1");
        std::string expected = kept;
        expected.insert(expected.find("Estimate:"),
                        "Withdrawn:\n" + seventhTrial(kept) + seventhTrial(replay("1100100")));
        EXPECT_EQ(given, expected);
    }
    const Result json = runSim("replay --answers 11u --json");
    EXPECT_NE(json.output.find(R"("trials":[{"trial":1,"fired":50,"answer":1,"next":43,)"
                               R"("diff":7,"reached":false}],"withdrawn":[{"trial":2,)"
                               R"("fired":43,"answer":1,"next":36,)"),
              std::string::npos)
        << json.output;
}

TEST(ReplayCli, StopsAtTheTrialLimitWithStatusOne) {
    // Answers after the estimate still count towards the run's 200, for every method.
    for (const char* method : {"pest", "ml", "bayes", "bayes-robust"}) {
        const Result r =
            runSim(std::string("replay --method ") + method + " --answers " + std::string(201, '1'),
                   "2>&1 >/dev/null");
        EXPECT_EQ(r.status, 1) << method;
        EXPECT_EQ(r.output, "Trial limit reached: press Reset or Start for a new run\n");
    }
}

TEST(ReplayCli, ReadsADecimalCommaAndRefusesValuesNoRunCanStartFrom) {
    const Result comma = runSim("replay --start 52,5 --step 7,5 --diff 0,45 --answers 1 --json");
    EXPECT_EQ(comma.status, 0);
    EXPECT_NE(comma.output.find(
                  R"("first":52.5,"trials":[{"trial":1,"fired":52.5,"answer":1,"next":45.5)"),
              std::string::npos)
        << comma.output;

    const std::vector<std::pair<const char*, const char*>> refused{
        {"replay --start 0", "--start must be a number from 1 to 100"},
        {"replay --step ,5", "--step must be at least 1"},
        {"replay --diff 0", "--diff must be greater than 0"},
        {"replay --method ml --lower 80 --upper 20", "--lower must be below --upper"},
        {"replay --method ml --upper 101", "--upper must be a number from 1 to 100"},
        {"replay --method ml --spread 0,9", "--spread must be at least 1"},
        {"replay --method ml --diff -1", "--diff must be greater than 0"},
        {"replay --method bayes --width 0", "--width must be greater than 0"},
        {"replay --method bayes --spread 0", "--spread must be at least 1"},
        {"replay --method bayes-robust --width 1,5", "--width must be greater than 0"},
        {"replay --method bayes-robust --lapse 0,6", "--lapse must be a number from 0 to 0.5"},
        {"replay --method bayes-robust --lapse -0,01", "--lapse must be a number from 0 to 0.5"},
        {"simulate --subjects 3 --method ml --ml-diff 0", "--ml-diff must be greater than 0"},
        {"simulate --subjects 3 --lower 0", "--lower must be a number from 1 to 100"},
        {"simulate --subjects 3 --method pest --step 0", "--step must be at least 1"},
    };
    for (const auto& [arguments, problem] : refused) {
        const Result r = runSim(arguments, "2>&1 >/dev/null");
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_NE(r.output.find(problem), std::string::npos) << arguments << ": " << r.output;
    }
}

TEST(ReplayCli, BadUseIsOneLineOnStderrAndStatusTwo) {
    for (const char* arguments :
         {"replay --bogus", "replay --answers 10x1", "replay --start", "replay --method fast",
          "replay --method pest --lower 20", "replay --method bayes --step 3",
          "replay --method ml --width 0.1", "frobnicate"}) {
        const Result r = runSim(arguments, "2>&1 >/dev/null");
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << arguments << ": " << r.output;
    }
}

TEST(ReplayCli, OutputThatCannotBeWrittenEndsWithStatusThree) {
    for (const char* arguments :
         {"replay --answers 1100101", "replay --answers 1100101 --json", "simulate --subjects 30",
          "simulate --subjects 30 --json", "simulate --subjects 30 --csv",
          "replay --answers "
          "11111111111111111111111111111111111111111111111111111111111111111111"
          "11111111111111111111111111111111111111111111111111111111111111111111111111111111111111"
          "111111111111111111111111111111111111111111111111"}) {
        const Result r = runSim(arguments, "2>&1 >/dev/full");
        EXPECT_EQ(r.status, 3) << arguments;
        EXPECT_NE(r.output.find("could not write the output (No space left on device)"),
                  std::string::npos)
            << arguments << ": " << r.output;
    }
    const Result plot =
        runSim("simulate --subjects 30 --plot /dev/full/plot.svg", "2>&1 >/dev/null");
    EXPECT_EQ(plot.status, 3);
}

TEST(ReplayCli, HelpExplainsEveryOption) {
    const Result r = runSim("replay --help");
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--method", "--answers", "--diff", "--start", "--step", "--lower",
                               "--upper", "--spread", "--width", "bayes", "--json"}) {
        EXPECT_NE(r.output.find(option), std::string::npos) << option;
    }
}

}  // namespace
