#include "cli/simulate.h"

#include <algorithm>
#include <charconv>
#include <ostream>
#include <set>
#include <string_view>
#include <thread>

#include "cli/error_plot.h"
#include "cli/json.h"
#include "cli/options.h"
#include "cli/simulation.h"
#include "cli/start_values.h"
#include "core/files/whole_file.h"
#include "core/numbers/numbers.h"

namespace limenta::cli {

namespace {

const char* const kHelp =
    R"(Usage: limenta-sim simulate [options]

Runs virtual subjects through adaptive PEST, ML-PEST and the Bayesian procedures with the
very steps the Limenta window takes, and reports for each method the pulses to the
estimate (mean, median, 90th percentile, maximum), the error of the estimate against the
subject's true threshold in percent of that threshold and in percent of stimulator output
(mean, mean absolute, 95th percentile of the absolute error), the share within +-5 % and
+-10 %, the share that reached the limit of 200 answers, and how often the run's 95 %
interval holds the true threshold. Each pulse is fired at the whole percent the window
shows; the estimate is the whole percent it shows at the end.

Subjects:
  --model psychometric|variable|own-spread
                     psychometric (default): P(MEP at s) = Phi((s - T) / (0.07 T));
                     variable: trial-to-trial threshold variability of 8 % of T and
                     log-normal MEP amplitudes, an MEP counted above 50 microvolts;
                     own-spread: the psychometric model with each subject's own
                     spread in place of 0.07, log-normal around 0.052 (0.02 to 0.15)
  --subjects N       number of subjects (default 7501); subject i has the threshold
                     25 + 75 i / (N - 1), so 7501 subjects span 25 to 100 in steps of 0.01
  --false-positive P the operator reports an MEP that was not there, with probability P
  --false-negative P the operator misses an MEP, with probability P
  --seed S           the same seed gives the same figures on any machine (default 1)
  --threads T        threads to use (default: all cores); the figures do not depend on it
Methods:
  --method M         a method's key (pest, ml, bayes, bayes-robust), several joined by
                     commas ("pest,bayes"), or all (the default); both is pest,ml
  --start X --step X --diff X      adaptive PEST (defaults 50, 7, .45)
  --lower X --upper X --spread X --ml-diff X
                                   ML-PEST (defaults 20, 80, 7, .45)
  --width W --lapse L              Bayesian (bayes-robust, the window's): learns the
                                   subject's spread, allows for a share L of answers going
                                   either way, fires at the posterior median and ends when
                                   the 95 % interval is at most W times it (defaults .153,
                                   .07)
  --width W                        Bayesian, fixed spread (bayes): the same with the spread
                                   --spread and no slips (default .11)
Every method's 95 % interval is that of bayes-robust's model at its defaults, given the
run's answers; a run is flagged wide when it spans more than a fifth of its median.
Output:
  --json             one JSON object
  --csv              a header and one row per method
  --plot FILE.svg    error against pulses for every subject of each method
  --help             this text
)";

// A whole number option within [low, high]; false when the text is anything else.
bool wholeOption(const std::string& text, long long low, long long high, long long& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= low &&
           value <= high;
}

bool shareOption(const std::string& text, double& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= 0 &&
           value <= 1;
}

struct MethodResult {
    const Method* method;
    RunSettings settings;
    std::vector<SubjectOutcome> outcomes;
    Summary summary;
};

// The settings that describe the method's runs, as name and value pairs.
std::vector<std::pair<std::string, std::string>> parameters(const MethodResult& r) {
    std::vector<std::pair<std::string, std::string>> named;
    for (const Parameter& p : r.method->parameters) {
        if (p.journalKey != nullptr) {
            const double value = r.settings.number(p);
            named.emplace_back(p.key, p.form == ValueForm::Bounds ? std::to_string(toWhole(value))
                                                                  : jsonNumber(value));
        }
    }
    return named;
}

std::string parametersJson(const MethodResult& r, const OperatorErrors& errors) {
    std::string json = "{";
    for (const auto& [name, value] : parameters(r)) {
        json += (json.size() > 1 ? "," : "") + ("\"" + name + "\":") + value;
    }
    json += ",\"false_positive\":" + jsonNumber(errors.falsePositive) +
            ",\"false_negative\":" + jsonNumber(errors.falseNegative) + "}";
    return json;
}

std::string spreadJson(const Spread& s) {
    return "{\"mean\":" + jsonNumber(s.mean) + ",\"mean_abs\":" + jsonNumber(s.meanAbs) +
           ",\"p95_abs\":" + jsonNumber(s.p95Abs) + "}";
}

void printJson(std::ostream& out, const Population& population,
               const std::vector<MethodResult>& results) {
    out << "{\"model\":\"" << modelName(population.model)
        << "\",\"subjects\":" << population.subjects << ",\"seed\":" << population.seed
        << ",\"methods\":[";
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Summary& s = results[i].summary;
        out << (i == 0 ? "" : ",") << "{\"method\":\"" << results[i].method->key
            << "\",\"parameters\":" << parametersJson(results[i], population.errors)
            << ",\"pulses\":{\"mean\":" << jsonNumber(s.pulsesMean)
            << ",\"median\":" << jsonNumber(s.pulsesMedian)
            << ",\"p90\":" << jsonNumber(s.pulsesP90) << ",\"max\":" << jsonNumber(s.pulsesMax)
            << "},\"error_pct\":" << spreadJson(s.errorPct)
            << ",\"error_mso\":" << spreadJson(s.errorMso)
            << ",\"within5\":" << jsonNumber(s.within5)
            << ",\"within10\":" << jsonNumber(s.within10) << ",\"limit\":" << jsonNumber(s.limit)
            << ",\"interval_coverage\":" << jsonNumber(s.intervalCoverage)
            << ",\"interval_width\":" << jsonNumber(s.intervalWidth)
            << ",\"wide\":{\"share\":" << jsonNumber(s.wideShare)
            << ",\"off5\":" << jsonNumber(s.wideOff5) << ",\"off10\":" << jsonNumber(s.wideOff10)
            << "},\"not_wide\":{\"off5\":" << jsonNumber(s.narrowOff5)
            << ",\"off10\":" << jsonNumber(s.narrowOff10) << "}}";
    }
    out << "]}\n";
}

void printCsv(std::ostream& out, const Population& population,
              const std::vector<MethodResult>& results) {
    out << "model,subjects,seed,method,parameters,pulses_mean,pulses_median,pulses_p90,"
           "pulses_max,error_pct_mean,error_pct_mean_abs,error_pct_p95_abs,error_mso_mean,"
           "error_mso_mean_abs,error_mso_p95_abs,within5,within10,limit,interval_coverage,"
           "interval_width\n";
    for (const MethodResult& r : results) {
        const Summary& s = r.summary;
        std::string named;
        for (const auto& [name, value] : parameters(r)) {
            named += (named.empty() ? "" : ";") + name + "=" + value;
        }
        out << modelName(population.model) << ',' << population.subjects << ',' << population.seed
            << ',' << r.method->key << ',' << named;
        for (const double v : {s.pulsesMean, s.pulsesMedian, s.pulsesP90, s.pulsesMax,
                               s.errorPct.mean, s.errorPct.meanAbs, s.errorPct.p95Abs,
                               s.errorMso.mean, s.errorMso.meanAbs, s.errorMso.p95Abs, s.within5,
                               s.within10, s.limit, s.intervalCoverage, s.intervalWidth}) {
            out << ',' << jsonNumber(v);
        }
        out << '\n';
    }
}

std::string fixed(double value, int decimals) {
    return formatMask(
        value, decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0'));
}

void printText(std::ostream& out, const Population& population,
               const std::vector<MethodResult>& results) {
    out << population.subjects << " " << modelName(population.model) << " subjects, seed "
        << population.seed << "\n\n";
    // Columns of 15, or wider where a method's name needs it, right-aligned.
    std::size_t width = 15;
    for (const MethodResult& r : results) {
        width = std::max(width, std::string_view(r.method->name).size() + 2);
    }
    const auto cell = [width](const std::string& text) {
        return std::string(text.size() < width ? width - text.size() : 1, ' ') + text;
    };
    std::string header(26, ' ');
    for (const MethodResult& r : results) {
        header += cell(r.method->name);
    }
    out << header << "\n";
    const auto row = [&](const std::string& name, auto value) {
        std::string line = name;
        line.resize(26, ' ');
        for (const MethodResult& r : results) {
            line += cell(value(r.summary));
        }
        out << line << "\n";
    };
    row("pulses, mean", [](const Summary& s) { return fixed(s.pulsesMean, 1); });
    row("pulses, median", [](const Summary& s) { return fixed(s.pulsesMedian, 0); });
    row("pulses, 90th percentile", [](const Summary& s) { return fixed(s.pulsesP90, 0); });
    row("pulses, maximum", [](const Summary& s) { return fixed(s.pulsesMax, 0); });
    row("error %, mean", [](const Summary& s) { return fixed(s.errorPct.mean, 2); });
    row("error %, mean absolute", [](const Summary& s) { return fixed(s.errorPct.meanAbs, 2); });
    row("error %, 95th pct |e|", [](const Summary& s) { return fixed(s.errorPct.p95Abs, 2); });
    row("error MSO, mean", [](const Summary& s) { return fixed(s.errorMso.mean, 2); });
    row("error MSO, mean absolute", [](const Summary& s) { return fixed(s.errorMso.meanAbs, 2); });
    row("error MSO, 95th pct |e|", [](const Summary& s) { return fixed(s.errorMso.p95Abs, 2); });
    row("within +-5 %", [](const Summary& s) { return fixed(100 * s.within5, 1) + "%"; });
    row("within +-10 %", [](const Summary& s) { return fixed(100 * s.within10, 1) + "%"; });
    row("reached 200 answers", [](const Summary& s) { return fixed(100 * s.limit, 1) + "%"; });
    row("95% interval holds T",
        [](const Summary& s) { return fixed(100 * s.intervalCoverage, 1) + "%"; });
    row("interval width, % of T",
        [](const Summary& s) { return fixed(100 * s.intervalWidth, 2) + "%"; });
    row("flagged wide", [](const Summary& s) { return fixed(100 * s.wideShare, 1) + "%"; });
    row("  of them > 5 % off", [](const Summary& s) { return fixed(100 * s.wideOff5, 1) + "%"; });
    row("  of them > 10 % off", [](const Summary& s) { return fixed(100 * s.wideOff10, 1) + "%"; });
    row("not flagged, > 5 % off",
        [](const Summary& s) { return fixed(100 * s.narrowOff5, 1) + "%"; });
    row("not flagged, > 10 % off",
        [](const Summary& s) { return fixed(100 * s.narrowOff10, 1) + "%"; });
}

}  // namespace

int simulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::set<std::string> valued{"--model",  "--subjects",       "--seed",           "--threads",
                                 "--method", "--false-positive", "--false-negative", "--plot"};
    for (const Method& method : methods()) {
        for (const Parameter& p : method.parameters) {
            valued.insert(optionOf(p, OptionNaming::Simulate));
        }
    }
    Options options;
    if (auto problem = Options::parse(args, valued, {"--json", "--csv", "--help"}, options)) {
        return badUse(err, "simulate", *problem);
    }
    if (options.has("--help")) {
        out << kHelp;
        return 0;
    }
    if (options.has("--json") && options.has("--csv")) {
        return badUse(err, "simulate", "choose --json or --csv, not both");
    }
    // Told before the runs, not after them.
    if (const std::string plot = options.value("--plot", "");
        options.has("--plot") && (plot.size() < 4 || plot.substr(plot.size() - 4) != ".svg")) {
        return badUse(err, "simulate", "--plot writes an .svg file");
    }

    Population population;
    const std::string model = options.value("--model", "psychometric");
    if (model == "psychometric") {
        population.model = SubjectModel::Psychometric;
    } else if (model == "variable") {
        population.model = SubjectModel::Variable;
    } else if (model == "own-spread") {
        population.model = SubjectModel::OwnSpread;
    } else {
        return badUse(err, "simulate",
                      "--model must be psychometric, variable or own-spread, not '" + model + "'");
    }
    long long number = 0;
    if (!wholeOption(options.value("--subjects", "7501"), 1, 10'000'000, number)) {
        return badUse(err, "simulate", "--subjects must be a whole number from 1 to 10000000");
    }
    population.subjects = static_cast<int>(number);
    if (!wholeOption(options.value("--seed", "1"), 0, INT64_MAX, number)) {
        return badUse(err, "simulate", "--seed must be a whole number of 0 or more");
    }
    population.seed = static_cast<std::uint64_t>(number);
    const long long cores = std::max(1U, std::thread::hardware_concurrency());
    if (!wholeOption(options.value("--threads", std::to_string(cores)), 1, 256, number)) {
        return badUse(err, "simulate", "--threads must be a whole number from 1 to 256");
    }
    const int threads = static_cast<int>(number);
    if (!shareOption(options.value("--false-positive", "0"), population.errors.falsePositive) ||
        !shareOption(options.value("--false-negative", "0"), population.errors.falseNegative)) {
        return badUse(err, "simulate",
                      "--false-positive and --false-negative must lie from 0 to 1");
    }

    // Methods by their keys, joined by commas, or all; "both", as scripts wrote it when there
    // were two, is "pest,ml".
    std::string which = options.value("--method", "all");
    if (which == "both") {
        which = "pest,ml";
    }
    const MethodTable& table = methods();
    std::vector<std::string> keys;
    for (std::size_t from = 0; which != "all" && from <= which.size();) {
        const std::size_t comma = std::min(which.find(',', from), which.size());
        keys.push_back(which.substr(from, comma - from));
        from = comma + 1;
    }
    for (const std::string& key : keys) {
        if (findMethod(table, key) == nullptr) {
            return badUse(err, "simulate",
                          "--method must be " + methodKeys(table) +
                              ", several joined by commas, or all, not '" +
                              options.value("--method", "all") + "'");
        }
    }
    const auto chosen = [&](const Method& method) {
        return which == "all" || std::find(keys.begin(), keys.end(), method.key) != keys.end();
    };
    std::vector<MethodResult> results;
    for (const Method& method : table) {
        if (chosen(method)) {
            // Read like the window's fields.
            results.push_back(
                {&method, settingsFrom(method, options, OptionNaming::Simulate), {}, {}});
            if (auto refused =
                    refusedStart(method, results.back().settings, OptionNaming::Simulate)) {
                return badUse(err, "simulate", *refused);
            }
        }
    }
    for (MethodResult& r : results) {
        // Each method draws from a random stream of its own, numbered by its row.
        const auto stream = static_cast<std::uint64_t>(r.method - table.data()) + 1;
        r.outcomes = runPopulation(population, *r.method, r.settings, stream, threads);
        r.summary = summarise(r.outcomes);
    }

    if (options.has("--plot")) {
        const std::string file = options.value("--plot", "");
        std::vector<PlotSeries> series;
        for (const MethodResult& r : results) {
            series.push_back({r.method->name, r.method->colour, &r.outcomes});
        }
        // Whole or not at all: a full disk keeps an earlier plot rather than leave half of one.
        const WriteOutcome written =
            writeWholeFile(file,
                           errorPlotSvg(series, std::to_string(population.subjects) + " " +
                                                    modelName(population.model) + " subjects"),
                           LinkPolicy::WriteTarget);
        if (!written.written) {
            err << "limenta-sim simulate: could not write " << file << " (" << written.problem
                << ")\n";
            return 3;
        }
    }

    if (options.has("--json")) {
        printJson(out, population, results);
    } else if (options.has("--csv")) {
        printCsv(out, population, results);
    } else {
        printText(out, population, results);
    }
    return 0;
}

}  // namespace limenta::cli
