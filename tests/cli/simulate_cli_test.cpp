// limenta-sim simulate, run as a script runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/run_sim.h"

namespace {

TEST(SimulateCli, JsonHasTheShapeScriptsRelyOnAndIgnoresTheThreads) {
    const Result one = runSim("simulate --subjects 60 --seed 5 --threads 1 --json");
    const Result two = runSim("simulate --subjects 60 --seed 5 --threads 2 --json");
    ASSERT_EQ(one.status, 0);
    EXPECT_EQ(one.output, two.output);
    for (
        const char* key :
        {R"({"model":"psychometric","subjects":60,"seed":5,"methods":[{"method":"pest",)",
         R"("parameters":{"start":50,"step":7,"diff":0.45,)",
         R"({"method":"ml","parameters":{"lower":20,)",
         R"("pulses":{"mean":)",
         R"(,"median":)",
         R"(,"p90":)",
         R"(,"max":)",
         R"("error_pct":{"mean":)",
         R"(,"mean_abs":)",
         R"(,"p95_abs":)",
         R"("error_mso":{)",
         R"("within5":)",
         R"("within10":)",
         R"("limit":)",
         R"(,"interval_coverage":)",
         R"(,"interval_width":)",
         R"(,"wide":{"share":)",
         R"("not_wide":{"off5":)",
         R"({"method":"bayes","parameters":{"spread":7,"width":0.11,"false_positive":0,)",
         R"({"method":"bayes-robust","parameters":{"width":0.153,"lapse":0.07,"false_positive":0,)"}) {
        EXPECT_NE(one.output.find(key), std::string::npos) << key;
    }
    EXPECT_NE(one.output, runSim("simulate --subjects 60 --seed 6 --json").output);
}

TEST(SimulateCli, CsvAndTheVariableModelWithOperatorErrors) {
    const Result csv = runSim(
        "simulate --model variable --subjects 20 --method ml --false-positive 0.05 "
        "--false-negative 0.1 --csv");
    ASSERT_EQ(csv.status, 0);
    std::istringstream lines(csv.output);
    std::string header;
    std::string row;
    std::getline(lines, header);
    std::getline(lines, row);
    EXPECT_EQ(header.rfind("model,subjects,seed,method,parameters,pulses_mean", 0), 0U);
    EXPECT_EQ(header.substr(header.size() - 38), "limit,interval_coverage,interval_width");
    EXPECT_EQ(row.rfind("variable,20,1,ml,lower=20;upper=80;spread=7;diff=0.45,", 0), 0U);
    EXPECT_FALSE(std::getline(lines, row));  // one method, one row

    // "both" still means the window's two methods.
    const Result both = runSim("simulate --subjects 20 --method both --csv");
    EXPECT_EQ(std::count(both.output.begin(), both.output.end(), '\n'), 3);
    EXPECT_EQ(both.output.find(",bayes,"), std::string::npos);
    const Result bayes = runSim("simulate --subjects 20 --method bayes --width 0.14 --csv");
    EXPECT_NE(bayes.output.find(",bayes,spread=7;width=0.14,"), std::string::npos) << bayes.output;
}

TEST(SimulateCli, DrawsTheTradeOffAsAnSvg) {
    const std::string file = ::testing::TempDir() + "limenta-trade-off.svg";
    ASSERT_EQ(runSim("simulate --subjects 30 --plot " + file).status, 0);
    std::ifstream svg(file);
    const std::string text((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("<svg", 0), 0U);
    EXPECT_NE(text.find("ML-PEST"), std::string::npos);
    EXPECT_NE(text.find("adaptive PEST"), std::string::npos);
    EXPECT_NE(text.find("Bayesian"), std::string::npos);
    EXPECT_GE(std::count(text.begin(), text.end(), '\n'), 60);  // a dot per subject and method
}

TEST(SimulateCli, BadUseIsOneLineOnStderrAndStatusTwo) {
    for (const char* arguments :
         {"simulate --subjects 0", "simulate --subjects ten", "simulate --threads 0",
          "simulate --model fancy", "simulate --false-positive 2", "simulate --json --csv",
          "simulate --plot out.png", "simulate --method every", "simulate --width 0",
          "simulate --method bayes --spread 0.5"}) {
        const Result r = runSim(arguments, "2>&1 >/dev/null");
        EXPECT_EQ(r.status, 2) << arguments;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << arguments << ": " << r.output;
    }
}

}  // namespace
