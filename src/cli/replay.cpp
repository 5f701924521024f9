#include "cli/replay.h"

#include <ostream>

#include "cli/json.h"
#include "cli/options.h"
#include "cli/start_values.h"
#include "core/display/history_line.h"
#include "core/display/numbers.h"
#include "core/prefs/settings.h"
#include "core/procedure/credible_interval.h"
#include "core/trial/answer_step.h"
#include "core/trial/run_start.h"

namespace limenta::cli {

const char* const kReplayHelp =
    R"(Usage: limenta-sim replay [options]

Replays one run from scripted answers, exactly as the Limenta window takes them, and
prints its history (oldest answer first) and the estimate.

  --method pest|ml   adaptive PEST (default) or Maximum-Likelihood PEST
  --answers DIGITS   the answers in order: 1 success (MEP seen), 0 failure (no MEP);
                     answers after the estimate was reached are handled too
  --diff X           difference threshold (default .45): adaptive PEST ends when a move
                     is smaller than X, ML-PEST when two estimates differ by no more
Adaptive PEST:
  --start X          initial output value, percent (default 50)
  --step X           step size, percent (default 7); the first two moves use it made whole
ML-PEST:
  --lower X          lower bound, recorded as a failure (default 20), made whole
  --upper X          upper bound, recorded as a success (default 80), made whole
  --spread X         relative spread of the psychometric function, percent (default 7);
                     the first estimate takes it as typed, later ones made whole, as
                     the preferences keep it; adaptive PEST runs use it for the interval
Output:
  --json             one JSON object: {"method", "first", "trials": [{"trial", "fired",
                     "answer", "next", "diff", "reached"}...], "estimate",
                     "interval": {"low", "high"}}, the run's 95 % interval unrounded
  --help             this text

Numbers are read like the window's fields ("52,5" is 52.5); values a run cannot start
from are refused as the window's Start refuses them.
Exit status: 0 done; 1 the run reached its limit of 200 answers; 2 bad use; 3 the output
could not be written.
)";

namespace {

struct TrialRecord {
    int trial;
    double fired;
    int answer;
    double next;
    double diff;
    bool reached;
    std::string historyLine;
};

int badUse(std::ostream& err, const std::string& problem) {
    err << "limenta-sim replay: " << problem << " (see limenta-sim replay --help)\n";
    return 2;
}

void printText(std::ostream& out, double first, const std::vector<TrialRecord>& trials,
               double estimate, const std::optional<CredibleInterval>& interval) {
    out << "First output: " << plainDecimal(first) << "\n" << kHistoryHeader << "\n";
    for (const TrialRecord& t : trials) {
        // History lines end in a carriage return on screen; a terminal wants a line feed.
        out << t.historyLine.substr(0, t.historyLine.size() - 1) << "\n";
    }
    if (estimate == 0.0) {
        out << "Estimate: not reached\n";
    } else {
        out << "Estimate: " << plainDecimal(estimate) << "\n";
    }
    if (interval) {
        out << "95% interval: " << formatMask(interval->low, "0.00") << " to "
            << formatMask(interval->high, "0.00") << "\n";
    } else {
        out << "95% interval: none (no answers)\n";
    }
}

void printJson(std::ostream& out, const std::string& method, double first,
               const std::vector<TrialRecord>& trials, double estimate,
               const std::optional<CredibleInterval>& interval) {
    out << R"({"method":")" << method << R"(","first":)" << jsonNumber(first) << R"(,"trials":[)";
    for (std::size_t i = 0; i < trials.size(); ++i) {
        const TrialRecord& t = trials[i];
        out << (i == 0 ? "" : ",") << R"({"trial":)" << t.trial << R"(,"fired":)"
            << jsonNumber(t.fired) << R"(,"answer":)" << t.answer << R"(,"next":)"
            << jsonNumber(t.next) << R"(,"diff":)" << jsonNumber(t.diff) << R"(,"reached":)"
            << (t.reached ? "true" : "false") << "}";
    }
    out << R"(],"estimate":)" << (estimate == 0.0 ? "null" : jsonNumber(estimate))
        << R"(,"interval":)";
    if (interval) {
        out << R"({"low":)" << jsonNumber(interval->low) << R"(,"high":)"
            << jsonNumber(interval->high) << "}";
    } else {
        out << "null";
    }
    out << "}\n";
}

}  // namespace

int replayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    if (auto problem = Options::parse(args,
                                      {"--method", "--start", "--step", "--diff", "--lower",
                                       "--upper", "--spread", "--answers"},
                                      {"--json", "--help"}, options)) {
        return badUse(err, *problem);
    }
    if (options.has("--help")) {
        out << kReplayHelp;
        return 0;
    }
    const std::string method = options.value("--method", "pest");
    if (method != "pest" && method != "ml") {
        return badUse(err, "--method must be pest or ml, not '" + method + "'");
    }
    const Method chosen = method == "ml" ? Method::MlPest : Method::AdaptivePest;
    for (const char* name : chosen == Method::MlPest ? std::vector{"--start", "--step"}
                                                     : std::vector{"--lower", "--upper"}) {
        if (options.has(name)) {
            return badUse(err, std::string(name) + " does not apply to --method " + method);
        }
    }
    const std::string answers = options.value("--answers", "");
    for (const char c : answers) {
        if (c != '0' && c != '1') {
            return badUse(err, std::string("an answer must be 0 or 1, not '") + c + "'");
        }
    }

    const double diff = textToNumber(options.value("--diff", kDefaultSettings.diffThreshold));
    const PestSettings pest{textToNumber(options.value("--start", kDefaultSettings.initialOutput)),
                            textToNumber(options.value("--step", kDefaultSettings.stepSize)), diff};
    const MlSettings mlSettings{
        toWhole(textToNumber(options.value("--lower", kDefaultSettings.lowerBound))),
        toWhole(textToNumber(options.value("--upper", kDefaultSettings.upperBound))),
        textToNumber(options.value("--spread", kDefaultSettings.spread)), diff};
    if (auto refused = refusedStart(chosen, pest, mlSettings, {"--diff"})) {
        return badUse(err, *refused);
    }

    Procedure run;
    run.clearTrials();
    double first = 0.0;
    if (chosen == Method::MlPest) {
        run.mydiff2 = mlSettings.diff;
        run.myspread = toWhole(mlSettings.spread);
        first = startMlPest(run, mlSettings.lower, mlSettings.upper, mlSettings.spread);
    } else {
        startAdaptivePest(run, pest.start, pest.step, pest.diff);
        first = run.mysetting;
    }

    std::vector<TrialRecord> trials;
    bool limitReached = false;
    for (const char c : answers) {
        const int answer = c - '0';
        const double fired = chosen == Method::MlPest ? run.curstim : run.mysetting;
        const AnswerStep step = takeAnswer(run, answer, chosen, 0.0);
        if (step.refused) {
            limitReached = true;
            break;
        }
        trials.push_back({run.stepnum, fired, answer, step.next, run.thediff, step.reached,
                          historyLine(run.stepnum, run.lastsetting, answer, run.thediff)});
    }

    // How sure: every answer at the whole percent fired, the spread made whole as the
    // preferences keep it.
    const std::optional<CredibleInterval> interval =
        credibleInterval(firedAnswers(run), toWhole(mlSettings.spread));
    if (options.has("--json")) {
        printJson(out, method, first, trials, run.myrmt, interval);
    } else {
        printText(out, first, trials, run.myrmt, interval);
    }
    if (limitReached) {
        err << kTrialLimitMessage << "\n";
        return 1;
    }
    return 0;
}

}  // namespace limenta::cli
