#include "cli/replay.h"

#include <ostream>

#include "cli/json.h"
#include "cli/options.h"
#include "cli/start_values.h"
#include "core/display/history_line.h"
#include "core/display/numbers.h"
#include "core/prefs/settings.h"
#include "core/procedure/bayes.h"
#include "core/procedure/credible_interval.h"
#include "core/trial/answer_step.h"
#include "core/trial/run_start.h"

namespace limenta::cli {

const char* const kReplayHelp =
    R"(Usage: limenta-sim replay [options]

Replays one run from scripted answers, exactly as the Limenta window takes them, and
prints its history (oldest answer first) and the estimate.

  --method pest|ml|bayes
                     adaptive PEST (default), Maximum-Likelihood PEST, or the Bayesian
                     procedure (each pulse at the posterior median, ending when the 95 %
                     interval is at most --width times the median)
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
  --spread X         relative spread of the psychometric function, percent (default 7),
                     made whole (7.5 is 8) for every estimate and the interval, as the
                     window takes its Spread field; adaptive PEST runs use it for the
                     interval
Bayesian:
  --spread X         as for ML-PEST (default 7)
  --width W          the stop rule's relative width of the 95 % interval (default .11)
Output:
  --json             one JSON object: {"method", "first", "trials": [{"trial", "fired",
                     "answer", "next", "diff", "reached"}...], "estimate",
                     "interval": {"low", "high"}}, the run's 95 % interval unrounded;
                     Bayesian trials also give "low" and "high", "next" is the new
                     median and "diff" the interval's width
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

std::string formatted(double value) {
    return formatMask(value, "0.00");
}

int replayBayes(const std::string& answers, double spread, double width, bool json,
                std::ostream& out, std::ostream& err) {
    const BayesModel model(spread);
    BayesRun run(model, width);
    std::vector<BayesStep> steps;
    bool limitReached = false;
    for (const char c : answers) {
        const auto step = run.answer(c - '0');
        if (!step) {
            limitReached = true;
            break;
        }
        steps.push_back(*step);
    }
    const bool reached = !steps.empty() && steps.back().ended;
    const auto spanOf = [](const BayesStep& s) { return s.interval.high - s.interval.low; };
    if (json) {
        out << R"({"method":"bayes","first":)" << BayesRun::kFirstOutput << R"(,"trials":[)";
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const BayesStep& s = steps[i];
            out << (i == 0 ? "" : ",") << R"({"trial":)" << i + 1 << R"(,"fired":)" << s.fired
                << R"(,"answer":)" << s.answer << R"(,"next":)" << jsonNumber(s.interval.median)
                << R"(,"diff":)" << jsonNumber(spanOf(s)) << R"(,"reached":)"
                << (s.ended ? "true" : "false") << R"(,"low":)" << jsonNumber(s.interval.low)
                << R"(,"high":)" << jsonNumber(s.interval.high) << "}";
        }
        out << R"(],"estimate":)"
            << (reached ? jsonNumber(steps.back().interval.median) : std::string("null"))
            << R"(,"interval":)";
        if (steps.empty()) {
            out << "null";
        } else {
            out << R"({"low":)" << jsonNumber(steps.back().interval.low) << R"(,"high":)"
                << jsonNumber(steps.back().interval.high) << "}";
        }
        out << "}\n";
    } else {
        out << "First output: " << BayesRun::kFirstOutput << "\n"
            << "#    FIRED  MEP  MEDIAN   LOW      HIGH     WIDTH\n";
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const BayesStep& s = steps[i];
            out << formatMask(static_cast<double>(i + 1), "00") << "   "
                << formatMask(s.fired, "000") << "    " << s.answer << "    "
                << formatted(s.interval.median) << "    " << formatted(s.interval.low) << "    "
                << formatted(s.interval.high) << "    " << formatted(spanOf(s))
                << (s.ended ? "  ended" : "") << "\n";
        }
        out << "Estimate: "
            << (reached ? formatted(steps.back().interval.median) : std::string("not reached"))
            << "\n";
        if (steps.empty()) {
            out << "95% interval: none (no answers)\n";
        } else {
            out << "95% interval: " << formatted(steps.back().interval.low) << " to "
                << formatted(steps.back().interval.high) << "\n";
        }
    }
    if (limitReached) {
        err << kTrialLimitMessage << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int replayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    if (auto problem = Options::parse(args,
                                      {"--method", "--start", "--step", "--diff", "--lower",
                                       "--upper", "--spread", "--answers", "--width"},
                                      {"--json", "--help"}, options)) {
        return badUse(err, *problem);
    }
    if (options.has("--help")) {
        out << kReplayHelp;
        return 0;
    }
    const std::string method = options.value("--method", "pest");
    if (method != "pest" && method != "ml" && method != "bayes") {
        return badUse(err, "--method must be pest, ml or bayes, not '" + method + "'");
    }
    const Method chosen = method == "ml"      ? Method::MlPest
                          : method == "bayes" ? Method::Bayes
                                              : Method::AdaptivePest;
    std::vector<const char*> foreign;
    switch (chosen) {
        case Method::AdaptivePest:
            foreign = {"--lower", "--upper", "--width"};
            break;
        case Method::MlPest:
            foreign = {"--start", "--step", "--width"};
            break;
        case Method::Bayes:
            foreign = {"--start", "--step", "--lower", "--upper", "--diff"};
            break;
    }
    for (const char* name : foreign) {
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
    const BayesSettings bayes{options.has("--width") ? textToNumber(options.value("--width", ""))
                                                     : kDefaultBayesWidth};
    if (auto refused = refusedStart(chosen, pest, mlSettings, bayes, {"--diff"})) {
        return badUse(err, *refused);
    }
    if (chosen == Method::Bayes) {
        return replayBayes(answers, mlSettings.spread, bayes.width, options.has("--json"), out,
                           err);
    }

    Procedure run;
    run.clearTrials();
    double first = 0.0;
    if (chosen == Method::MlPest) {
        run.mydiff2 = mlSettings.diff;
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

    // How sure: every answer at the whole percent fired, at the run's spread (adaptive PEST,
    // which has none, takes the spread setting made whole as the preferences keep it).
    const std::optional<CredibleInterval> interval = credibleInterval(
        firedAnswers(run), chosen == Method::MlPest ? run.runspread : toWhole(mlSettings.spread));
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
