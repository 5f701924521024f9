// limenta-sim session driven through a pipe, as a lab's script drives it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_sim.h"

namespace {

// limenta-sim session with `arguments`, its standard input `input`; `streams` as runSim's.
Result runSession(const std::string& input, const std::string& arguments,
                  const std::string& streams = "") {
    // A file of its own: tests run side by side.
    std::string path = ::testing::TempDir() + "session-input-XXXXXX";
    const int file = mkstemp(path.data());
    if (file < 0) {
        return {};
    }
    close(file);
    std::ofstream(path, std::ios::binary) << input;
    Result result = runSim("session " + arguments + " <" + path, streams);
    std::remove(path.c_str());
    return result;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The text of `name`'s value in a one-line JSON object, up to the next member.
std::string member(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\":");
    if (at == std::string::npos) {
        return "<none>";
    }
    const std::size_t from = at + name.size() + 3;
    int depth = 0;
    std::size_t to = from;
    for (; to < json.size(); ++to) {
        const char c = json[to];
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0 || (depth == 0 && c == ',')) {
            break;
        }
    }
    return json.substr(from, to - from);
}

// Each answer's line carries replay's values for that trial, the whole percent to fire
// next, and the run's end as replay gives it for the answers so far.
TEST(SessionCli, EveryMethodAnswersLineByLineAsReplayDoes) {
    for (const std::string method : {"pest", "ml", "bayes", "bayes-robust"}) {
        SCOPED_TRACE(method);
        const std::string answers = "1100101";
        const Result session = runSession("1\n1\n0\n0\n1\n0\n1\nu\n", "--method " + method);
        ASSERT_EQ(session.status, 0);
        const std::vector<std::string> lines = linesOf(session.output);
        ASSERT_EQ(lines.size(), 2 + answers.size() + 2);
        EXPECT_EQ(lines[0].find(R"({"protocol":"limenta-session","version":1,"method":")" + method +
                                R"(","settings":{)"),
                  0U);
        const std::string replayed =
            runSim("replay --json --method " + method + " --answers " + answers).output;
        EXPECT_EQ(member(lines[1], "next"), member(replayed, "first"));
        for (std::size_t k = 1; k <= answers.size(); ++k) {
            const std::string& line = lines[1 + k];
            const std::string prefix =
                runSim("replay --json --method " + method + " --answers " + answers.substr(0, k))
                    .output;
            const std::string trial = prefix.substr(prefix.rfind(R"({"trial":)"));
            for (const char* name : {"trial", "fired", "answer", "next", "reached"}) {
                EXPECT_EQ(member(line, name), member(trial, name)) << k << " " << name;
            }
            EXPECT_EQ(member(line, "fire"),
                      std::to_string(std::lround(std::stod(member(trial, "next")))));
            EXPECT_EQ(member(line, "estimate"), member(prefix, "estimate")) << k;
            EXPECT_EQ(member(line, "interval"), member(prefix, "interval")) << k;
        }
        // u: the run as it stood after the sixth answer; the input's end: its result.
        EXPECT_EQ(lines[9], lines[7].substr(0, lines[7].size() - 1) + R"(,"withdrawn":true})");
        const std::string six =
            runSim("replay --json --method " + method + " --answers " + answers.substr(0, 6))
                .output;
        EXPECT_EQ(lines[10], R"({"result":{"reached":)" + member(lines[7], "reached") +
                                 R"(,"estimate":)" + member(six, "estimate") + R"(,"interval":)" +
                                 member(six, "interval") + R"(,"answers":6}})");
    }
}

TEST(SessionCli, ALineThatIsNoAnswerIsNamedOnStderrAndTheRunGoesOn) {
    const std::string input = "1\r\n\n  \nyes\nu\nu\n" + std::string(5000, '1') + "\n0";
    const Result out = runSession(input, "");
    EXPECT_EQ(out.status, 0);
    const std::vector<std::string> lines = linesOf(out.output);
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(member(lines[2], "trial"), "1");
    EXPECT_EQ(lines[3], R"({"fire":50,"next":50,"reached":false,"estimate":null,)"
                        R"("interval":null,"withdrawn":true})");
    EXPECT_EQ(member(lines[4], "answer"), "0");  // the last line needs no line feed
    EXPECT_EQ(member(lines[5], "answers"), "1");
    EXPECT_EQ(runSession(input, "", "2>&1 >/dev/null").output,
              "limenta-sim session: line 4: 'yes' is not an answer: send 1 (MEP), 0 (no MEP) "
              "or u (take the latest answer back)\n"
              "limenta-sim session: line 6: there is no answer to take back\n"
              "limenta-sim session: line 7: '1111111111111111111111111111111111111111...' is "
              "not an answer: send 1 (MEP), 0 (no MEP) or u (take the latest answer back)\n");
}

TEST(SessionCli, TheTrialLimitTheReaderGoneAndRefusedSettingsEndIt) {
    std::string answers;
    for (int i = 0; i < 201; ++i) {
        answers += "1\n";
    }
    const Result limit = runSession(answers + "0\n", "--method bayes");
    EXPECT_EQ(limit.status, 1);
    const std::vector<std::string> lines = linesOf(limit.output);
    ASSERT_EQ(lines.size(), 2U + 200 + 1);
    EXPECT_EQ(member(lines.back(), "answers"), "200");
    EXPECT_EQ(runSession(answers, "--method bayes", "2>&1 >/dev/null").output,
              "Trial limit reached: press Reset or Start for a new run\n");

    // The reader gone before the first answer: a failed write, said so, not a crash.
    const std::string gone = "( { sleep 1; printf '1\\n1\\n'; } | { " + std::string(LIMENTA_SIM) +
                             " session; echo \"status $?\" >&2; } | true ) 2>&1";
    FILE* pipe = popen(gone.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string said;
    for (int c = 0; (c = std::fgetc(pipe)) != EOF;) {
        said += static_cast<char>(c);
    }
    pclose(pipe);
    EXPECT_EQ(said, "limenta-sim: could not write the output (Broken pipe)\nstatus 3\n");

    for (const auto& [arguments, problem] : std::vector<std::pair<std::string, std::string>>{
             {"--method ml --lower 80 --upper 20", "--lower must be below --upper"},
             {"--method bayes --width 2", "--width must be greater than 0 and at most 1"},
             {"--answers 1", "unknown option --answers"},
             {"--method pest --width 0.1", "--width does not apply to --method pest"}}) {
        const Result refused = runSession("1\n", arguments, "2>&1");
        EXPECT_EQ(refused.status, 2) << arguments;
        EXPECT_EQ(refused.output,
                  "limenta-sim session: " + problem + " (see limenta-sim session --help)\n");
    }
}

}  // namespace
