#include "cli/replay.h"

#include <algorithm>
#include <ostream>
#include <set>

#include "cli/json.h"
#include "cli/options.h"
#include "cli/start_values.h"
#include "core/numbers/numbers.h"
#include "core/procedure/credible_interval.h"
#include "core/run/run.h"

namespace limenta::cli {

const char* const kReplayHelp =
    R"(Usage: limenta-sim replay [options]

Replays one run from scripted answers, exactly as the Limenta window takes them, and
prints its history (oldest answer first) and the estimate.

  --method pest|ml|bayes|bayes-robust
                     adaptive PEST (default), Maximum-Likelihood PEST, or a Bayesian
                     procedure (each pulse at the posterior median, ending when the 95 %
                     interval is at most --width times the median; a run that ends
                     with the interval reaching 100 and no MEP at 100 ends "above 100",
                     with no estimate): bayes-robust (the window's Bayesian method)
                     learning the patient's spread and allowing for slips, bayes with a
                     fixed spread (the window's before, to compare)
  --answers DIGITS   the answers in order: 1 success (MEP seen), 0 failure (no MEP), u
                     to take the latest answer back ("1101u0"); answers after the
                     estimate was reached are handled too
  --diff X           difference threshold (default .45): adaptive PEST ends when a move
                     is smaller than X, ML-PEST when two estimates differ by no more
Adaptive PEST:
  --start X          initial output value, percent (default 50)
  --step X           step size, percent (default 7); the first two moves use it made whole
ML-PEST:
  --lower X          lower bound, recorded as a failure (default 20), made whole
  --upper X          upper bound, recorded as a success (default 80), made whole
  --spread X         relative spread of the psychometric function, percent (default 7),
                     made whole (7.5 is 8) for every estimate, as the window takes its
                     Spread field; adaptive PEST runs take it and state it, and it shapes
                     nothing there
Bayesian (bayes-robust):
  --width W          the stop rule's relative width of the 95 % interval (default .153)
  --lapse L          the share of answers that go either way whatever the output
                     (default .07)
Bayesian, fixed spread (bayes):
  --spread X         as for ML-PEST (default 7)
  --width W          as above (default .11)
Output:
  --json             one JSON object: {"method", "first", "trials": [{"trial", "fired",
                     "answer", "next", "diff", "reached"}...], "estimate",
                     "interval": {"low", "high"}}, the run's 95 % interval unrounded,
                     and after the trials a "withdrawn" list of the answers taken back;
                     Bayesian trials also give "low" and "high" (the procedure's own
                     interval, which its stop rule reads), "next" is the new median and
                     "diff" that interval's width
  --help             this text

The run's 95 % interval is the same statement for every method: the threshold's interval
given the answers at the whole percents fired, learning the patient's spread and allowing
for 7 % of answers going either way (the model of bayes-robust at its defaults).

Numbers are read like the window's fields ("52,5" is 52.5); values a run cannot start
from are refused as the window's Start refuses them.
Exit status: 0 done; 1 the run reached its limit of 200 answers; 2 bad use; 3 the output
could not be written.
)";

namespace {

void printText(std::ostream& out, const Run& run) {
    const Method& method = run.method();
    out << "First output: " << plainDecimal(run.firstOutput()) << "\n"
        << method.replayHeader << "\n";
    for (const TrialRecord& t : run.trials()) {
        out << method.replayLine(t) << "\n";
    }
    if (!run.withdrawn().empty()) {
        out << "Withdrawn:\n";
        for (const TrialRecord& t : run.withdrawn()) {
            out << method.replayLine(t) << "\n";
        }
    }
    const std::optional<double> estimate = run.estimate();
    out << "Estimate: "
        << (run.aboveMaximum() ? "above 100"
            : estimate         ? method.estimateText(*estimate)
                               : "not reached")
        << "\n";
    if (const std::optional<CredibleInterval> interval = run.interval()) {
        out << "95% interval: " << formatMask(interval->low, "0.00") << " to "
            << formatMask(interval->high, "0.00") << "\n";
    } else {
        out << "95% interval: none (no answers)\n";
    }
}

void printTrials(std::ostream& out, const std::vector<TrialRecord>& trials) {
    for (std::size_t i = 0; i < trials.size(); ++i) {
        const TrialRecord& t = trials[i];
        out << (i == 0 ? "" : ",") << R"({"trial":)" << t.trial << R"(,"fired":)"
            << jsonNumber(t.fired) << R"(,"answer":)" << t.answer << R"(,"next":)"
            << jsonNumber(t.next) << R"(,"diff":)" << jsonNumber(t.diff) << R"(,"reached":)"
            << (t.reached ? "true" : "false");
        if (t.posterior) {
            out << R"(,"low":)" << jsonNumber(t.posterior->low) << R"(,"high":)"
                << jsonNumber(t.posterior->high);
        }
        out << "}";
    }
}

void printJson(std::ostream& out, const Run& run) {
    out << R"({"method":")" << run.method().key << R"(","first":)" << jsonNumber(run.firstOutput())
        << R"(,"trials":[)";
    printTrials(out, run.trials());
    if (!run.withdrawn().empty()) {
        out << R"(],"withdrawn":[)";
        printTrials(out, run.withdrawn());
    }
    out << "]," << jsonEstimateAndInterval(run) << "}\n";
}

}  // namespace

int replayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const MethodTable& table) {
    std::set<std::string> valued = runOptions(table);
    valued.insert("--answers");
    Options options;
    if (auto problem = Options::parse(args, valued, {"--json", "--help"}, options)) {
        return badUse(err, "replay", *problem);
    }
    if (options.has("--help")) {
        out << kReplayHelp;
        return 0;
    }
    ChosenRun chosen;
    if (auto problem = chooseRun(options, table, chosen)) {
        return badUse(err, "replay", *problem);
    }
    const std::string answers = options.value("--answers", "");
    for (const char c : answers) {
        if (c != '0' && c != '1' && c != 'u') {
            return badUse(err, "replay",
                          std::string("an answer must be 0, 1 or u, not '") + c + "'");
        }
    }

    Run run(*chosen.method, chosen.settings);
    bool limitReached = false;
    for (const char c : answers) {
        if (c == 'u') {
            run.withdraw();  // nothing to take back: nothing happens
        } else if (run.answer(c - '0', 0.0).refused) {
            limitReached = true;
            break;
        }
    }
    if (options.has("--json")) {
        printJson(out, run);
    } else {
        printText(out, run);
    }
    if (limitReached) {
        err << kTrialLimitMessage << "\n";
        return 1;
    }
    return 0;
}

}  // namespace limenta::cli
