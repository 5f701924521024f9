#include "cli/session.h"

#include <istream>
#include <ostream>

#include "cli/json.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/start_values.h"
#include "core/numbers/numbers.h"
#include "core/run/run.h"

namespace limenta::cli {

const char* const kSessionHelp =
    R"(Usage: limenta-sim session [--method pest|ml|bayes|bayes-robust] [the method's settings]

Runs one run, exactly as the Limenta window takes it, answer by answer: a script fires
the stimulator at "fire", reads the EMG, and writes one line per pulse. The settings are
replay's (limenta-sim replay --help), checked as the window's Start checks them.

Each line read:  1 (MEP seen), 0 (no MEP), or u (take the latest answer back); blank
                 lines are passed over, a carriage return before the line feed is fine.
                 Any other line is not taken: standard error names it, the run goes on.
Each line written (one JSON object, flushed at once):
  {"protocol": "limenta-session", "version": 1, "method", "settings": {...}}  first
  {"fire", "next"}   the first output: "fire" the whole percent to set on the stimulator
                     (as the window's big number shows it), "next" as replay has it
  {"trial", "fired", "answer", "next", "fire", "reached", "estimate", "interval"}
                     after every answer: "estimate" the one the window shows in green
                     (null until reached), "interval" the 95 % interval {"low", "high"};
                     "above_100": true where the threshold lies above what the
                     stimulator gives; after a u the same for the run as it then stands,
                     with "withdrawn": true
  {"result": {"reached", "estimate", "interval", "answers"}}
                     last, when the input ends or the run reaches its 200 answers

Exit status: 0 the input ended; 1 the run reached its limit of 200 answers; 2 bad use; 3
the output could not be written (the reader went away).
)";

namespace {

// A line longer than this is no answer: the rest of it is passed over unread.
constexpr std::size_t kLongestLine = 80;

// Reads one line, at most kLongestLine characters of it; false at the end of the input.
bool readLine(std::istream& in, std::string& line, bool& cut) {
    line.clear();
    cut = false;
    char c = 0;
    bool any = false;
    while (in.get(c)) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < kLongestLine) {
            line += c;
        } else {
            cut = true;
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return any;
}

// A line as a message may quote it: printable, and short.
std::string quoted(const std::string& line, bool cut) {
    std::string shown;
    for (const char c : line.substr(0, 40)) {
        shown += (c >= 0x20 && c < 0x7f) ? c : '?';
    }
    return "'" + shown + (cut || line.size() > 40 ? "...'" : "'");
}

bool blank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

std::string header(const Method& method, const RunSettings& settings) {
    std::string json = R"({"protocol":"limenta-session","version":1,"method":")" +
                       std::string(method.key) + R"(","settings":{)";
    const char* comma = "";
    for (const Parameter& p : method.parameters) {
        json += comma + std::string("\"") + p.key + "\":" + jsonNumber(settings.taken(p));
        comma = ",";
    }
    return json + "}}";
}

std::string fire(const Run& run) {
    return R"("fire":)" + std::to_string(nearestWhole(run.output()));
}

// The output to fire before any answer, as the run and as replay have it.
std::string firstOutput(const Run& run) {
    return fire(run) + R"(,"next":)" + jsonNumber(run.output());
}

// The run as it stands after its latest answer (or at its start, when it has none).
std::string standing(const Run& run) {
    if (run.trials().empty()) {
        return "{" + firstOutput(run) + R"(,"reached":false,)" + jsonEstimateAndInterval(run);
    }
    const TrialRecord& t = run.trials().back();
    return R"({"trial":)" + std::to_string(t.trial) + R"(,"fired":)" + jsonNumber(t.fired) +
           R"(,"answer":)" + std::to_string(t.answer) + R"(,"next":)" + jsonNumber(t.next) + "," +
           fire(run) + R"(,"reached":)" + (t.reached ? "true" : "false") + "," +
           jsonEstimateAndInterval(run);
}

std::string result(const Run& run) {
    return R"({"result":{"reached":)" + std::string(run.reached() ? "true" : "false") + "," +
           jsonEstimateAndInterval(run) + R"(,"answers":)" + std::to_string(run.trials().size()) +
           "}}";
}

}  // namespace

int sessionCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err, const MethodTable& table) {
    Options options;
    if (auto problem = Options::parse(args, runOptions(table), {"--help"}, options)) {
        return badUse(err, "session", *problem);
    }
    if (options.has("--help")) {
        out << kSessionHelp << std::flush;
        return out ? 0 : outputFailed();
    }
    ChosenRun chosen;
    if (auto problem = chooseRun(options, table, chosen)) {
        return badUse(err, "session", *problem);
    }
    Run run(*chosen.method, chosen.settings);
    // Every line goes out whole and at once: the script reads it before its next pulse.
    const auto send = [&out](const std::string& line) {
        out << line << '\n' << std::flush;
        return static_cast<bool>(out);
    };
    if (!send(header(run.method(), run.settings())) || !send("{" + firstOutput(run) + "}")) {
        return outputFailed();
    }
    std::string line;
    bool cut = false;
    for (int number = 1; readLine(in, line, cut); ++number) {
        if (blank(line) && !cut) {
            continue;
        }
        std::string reply;
        if (line == "u" && !cut) {
            if (!run.withdraw()) {
                err << "limenta-sim session: line " << number
                    << ": there is no answer to take back\n";
                continue;
            }
            reply = standing(run) + R"(,"withdrawn":true})";
        } else if ((line == "0" || line == "1") && !cut) {
            if (run.answer(line == "1" ? 1 : 0, 0.0).refused) {
                err << kTrialLimitMessage << "\n";
                return send(result(run)) ? 1 : outputFailed();
            }
            reply = standing(run) + "}";
        } else {
            err << "limenta-sim session: line " << number << ": " << quoted(line, cut)
                << " is not an answer: send 1 (MEP), 0 (no MEP) or u (take the latest answer "
                   "back)\n";
            continue;
        }
        if (!send(reply)) {
            return outputFailed();
        }
    }
    return send(result(run)) ? 0 : outputFailed();
}

}  // namespace limenta::cli
