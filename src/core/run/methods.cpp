#include "core/run/methods.h"

#include "core/numbers/numbers.h"
#include "core/prefs/prefs_format.h"
#include "core/procedure/procedures.h"
#include "core/run/run.h"

namespace limenta {

namespace {

// The difference at the top of the plot under the methods whose difference is an estimate's
// move: 8.6 pixels per unit on the plot's 387.
constexpr double kEstimateMoveTop = 45;

std::string historyReplayLine(const TrialRecord& t) {
    const std::string line = historyLine(t);
    return line.substr(0, line.size() - 1);  // a terminal wants a line feed, not the CR
}

std::string hundredths(double value) {
    return formatMask(value, "0.00");
}

Method adaptivePestRow() {
    return {
        "pest",
        "adaptive PEST",
        "Adaptive PEST",
        "Adaptive PEST",
        "#1b9e77",
        true,
        false,
        "Next Output to Try :",
        false,
        true,
        false,
        {{"start", "initial_output", "Initial output value:", "Starting Value", "50",
          kPrefsInitialOutput, StartValue::InitialOutput},
         {"step", "step_size", "Step Size:", "Step Size", "7", kPrefsStepSize,
          StartValue::StepSize},
         {"diff", "diff_threshold", "Diff. Threshold:", "Difference Threshold", ".45",
          kPrefsDiffThreshold, StartValue::DiffThreshold},
         // Once the spread its interval assumed (the ML-PEST spread of the preferences);
         // the interval now learns the spread, and this is only accepted and stated, so
         // that what asked for it before still runs.
         {"spread", nullptr, nullptr, nullptr, "7", kPrefsSpread, StartValue::Spread}},
        [](const Method& m, const RunSettings& s) {
            return checkAdaptiveStart(settingOf(m, s, "start"), settingOf(m, s, "step"),
                                      settingOf(m, s, "diff"));
        },
        nullptr,
        [](const Method& m, Procedure& state, const RunSettings& s, const SharedModel* /*shared*/) {
            return adaptivePest(state, settingOf(m, s, "start"), settingOf(m, s, "step"),
                                settingOf(m, s, "diff"));
        },
        // A difference of twice the start step reaches the top.
        [](const Run& run) { return 2.0 * run.state().startstep; },
        [](const Run& run) { return run.state().mydiff; },
        kHistoryHeader,
        historyReplayLine,
        plainDecimal,
    };
}

Method mlPestRow() {
    return {
        "ml",
        "ML-PEST",
        "ML-PEST",
        "Maximum-Likelihood PEST",
        "#d95f02",
        true,
        true,
        nullptr,
        true,
        true,
        false,
        {{"lower", "lower_bound", "Lower Bound:", "Lower Bound", "20", kPrefsLowerBound,
          StartValue::LowerBound, ValueForm::Bounds},
         {"upper", "upper_bound", "Upper Bound:", "Upper Bound", "80", kPrefsUpperBound,
          StartValue::UpperBound, ValueForm::Bounds},
         {"spread", "spread", "Spread:", "Spread", "7", kPrefsSpread, StartValue::Spread,
          ValueForm::Whole},
         {"diff", "diff_threshold", nullptr, nullptr, ".45", kPrefsMlDiffThreshold,
          StartValue::MlDiffThreshold, ValueForm::Number,
          "The ML-PEST difference threshold (in Preferences)", "ml-diff"}},
        [](const Method& m, const RunSettings& s) {
            return checkMlStart(toWhole(settingOf(m, s, "lower")),
                                toWhole(settingOf(m, s, "upper")), settingOf(m, s, "spread"),
                                settingOf(m, s, "diff"));
        },
        nullptr,
        [](const Method& m, Procedure& state, const RunSettings& s, const SharedModel* /*shared*/) {
            return mlPest(state, toWhole(settingOf(m, s, "lower")),
                          toWhole(settingOf(m, s, "upper")), settingOf(m, s, "spread"),
                          settingOf(m, s, "diff"));
        },
        [](const Run& /*run*/) { return kEstimateMoveTop; },
        [](const Run& run) { return run.state().mydiff2; },
        kHistoryHeader,
        historyReplayLine,
        plainDecimal,
    };
}

// The Bayesian procedure of a fixed spread: the window's Bayesian method once, now in
// limenta-sim alone, to compare, and in the runs kept from then.
Method fixedSpreadBayesianRow() {
    return {
        "bayes",
        "Bayesian, fixed spread",
        "Bayesian, fixed spread",
        "Bayesian, fixed spread",
        "#7570b3",
        false,
        false,
        // After an answer that ends the run no longer, the caption Start showed.
        "Next Output to Try:",
        false,
        false,
        true,
        {{"spread", "spread", "Spread:", "Spread", "7", 0, StartValue::Spread},
         {"width", "width", "Width:", "Width", ".11", 0, StartValue::Width}},
        [](const Method& m, const RunSettings& s) {
            return checkBayesStart(settingOf(m, s, "spread"), settingOf(m, s, "width"));
        },
        [](const Method& m, const RunSettings& s) -> std::shared_ptr<const SharedModel> {
            return std::make_shared<const BayesModel>(settingOf(m, s, "spread"));
        },
        [](const Method& m, Procedure& /*state*/, const RunSettings& s, const SharedModel* shared) {
            return bayesian(dynamic_cast<const BayesModel&>(*shared), settingOf(m, s, "width"));
        },
        [](const Run& /*run*/) { return kEstimateMoveTop; },
        // The run ends once the interval is at most width times the median.
        [](const Run& run) {
            return settingOf(run.method(), run.settings(), "width") * run.state().mysetting;
        },
        "#    FIRED  MEP  MEDIAN   LOW      HIGH     WIDTH",
        [](const TrialRecord& t) {
            const CredibleInterval interval = t.posterior.value_or(CredibleInterval{});
            return formatMask(t.trial, "00") + "   " + formatMask(t.fired, "000") + "    " +
                   std::to_string(t.answer) + "    " + hundredths(t.next) + "    " +
                   hundredths(interval.low) + "    " + hundredths(interval.high) + "    " +
                   hundredths(t.diff) + (t.reached ? "  ended" : "");
        },
        hundredths,
    };
}

// The window's Bayesian method: it learns the patient's spread and allows for slips, the
// model of every run's interval.
Method robustBayesianRow() {
    Method row = fixedSpreadBayesianRow();
    row.key = "bayes-robust";
    row.name = "Bayesian";
    row.label = "Bayesian";
    row.reportName = "Bayesian";
    row.colour = "#e7298a";
    row.inWindow = true;
    row.formerPrefsKey = "bayes";
    row.parameters = {
        {"width", "width", "Width:", "Width", ".153", 0, StartValue::Width, ValueForm::Typed,
         nullptr, nullptr, "bayes-robust.width"},
        // 7 % of answers slipping, 3.5 % each way: the rate that keeps every method's
        // interval honest with the operator slipping 3 % each way (docs/performance.md).
        {"lapse", "lapse", nullptr, "Lapse Rate", ".07", 0, StartValue::Lapse, ValueForm::Number,
         "The lapse rate"}};
    row.check = [](const Method& m, const RunSettings& s) {
        return checkRobustBayesStart(settingOf(m, s, "width"), settingOf(m, s, "lapse"));
    };
    row.share = [](const Method& m, const RunSettings& s) -> std::shared_ptr<const SharedModel> {
        const double lapse = settingOf(m, s, "lapse");
        if (lapse == kUsualLapse) {
            // The interval's own model, which lives as long as the program: shared, not owned.
            return {std::shared_ptr<const SharedModel>(), &usualRobustModel()};
        }
        return std::make_shared<const RobustBayesModel>(lapse);
    };
    row.make = [](const Method& m, Procedure& /*state*/, const RunSettings& s,
                  const SharedModel* shared) {
        return robustBayesian(dynamic_cast<const RobustBayesModel&>(*shared),
                              settingOf(m, s, "width"));
    };
    return row;
}

}  // namespace

const Parameter* Method::parameter(std::string_view key) const {
    for (const Parameter& p : parameters) {
        if (key == p.key) {
            return &p;
        }
    }
    return nullptr;
}

std::vector<const Parameter*> Method::fields() const {
    std::vector<const Parameter*> shown;
    for (const Parameter& p : parameters) {
        if (p.caption != nullptr) {
            shown.push_back(&p);
        }
    }
    return shown;
}

const MethodTable& methods() {
    static const MethodTable kMethods{adaptivePestRow(), mlPestRow(), fixedSpreadBayesianRow(),
                                      robustBayesianRow()};
    return kMethods;
}

const Method* findMethod(const MethodTable& table, std::string_view key) {
    for (const Method& method : table) {
        if (key == method.key) {
            return &method;
        }
    }
    return nullptr;
}

std::string methodName(std::string_view key) {
    const Method* method = findMethod(methods(), key);
    return method != nullptr ? method->name : "unknown (" + std::string(key) + ")";
}

const Method& methodOfPrefsFlag(const MethodTable& table, bool flag) {
    for (const Method& method : table) {
        if (method.inWindow && method.prefsFlag == flag) {
            return method;
        }
    }
    return table.front();
}

const Method& storedMethod(const MethodTable& table, const Settings& settings) {
    for (const auto& [key, value] : settings.extension) {
        if (key != "method") {
            continue;
        }
        for (const Method& method : table) {
            const bool named = value == method.key ||
                               (method.formerPrefsKey != nullptr && value == method.formerPrefsKey);
            if (named && method.inWindow) {
                return method;
            }
        }
    }
    return methodOfPrefsFlag(table, settings.useMlPest);
}

std::string keptValue(const Method& method, const Parameter& parameter, const Settings& settings) {
    for (const auto& [key, value] : settings.extension) {
        if (parameter.prefsKey != nullptr && key == parameter.prefsKey &&
            !method.check(method, {{parameter.key, value}})) {
            return value;
        }
    }
    return parameter.defaultText;
}

std::string filledFrom(const Method& method, const Parameter& parameter, const PrefsText& prefs) {
    if (const int n = parameter.prefsField; n != 0) {
        const bool whole =
            parameter.form == ValueForm::Bounds || parameter.form == ValueForm::Whole;
        return whole ? std::to_string(prefs.whole(n)) : plainDecimal(prefs.number(n));
    }
    return keptValue(method, parameter, readSettings(prefs));
}

std::vector<std::pair<std::string, std::string>> prefsExtension(
    const MethodTable& table, const Method& method,
    const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<std::pair<std::string, std::string>> extension;
    if (&methodOfPrefsFlag(table, method.prefsFlag) != &method) {
        extension.emplace_back("method", method.key);
    }
    for (const auto& [key, value] : values) {
        for (const Method& m : table) {
            for (const Parameter& p : m.parameters) {
                if (p.prefsKey != nullptr && key == p.prefsKey && value != p.defaultText) {
                    extension.emplace_back(key, value);
                }
            }
        }
    }
    return extension;
}

std::optional<StartProblem> checkStoredStart(const PrefsText& prefs) {
    for (const Method& method : methods()) {
        if (!method.inWindow) {
            continue;
        }
        RunSettings settings;
        for (const Parameter& parameter : method.parameters) {
            // A field shows the value filled in; what has no field is taken as stored.
            settings.set(parameter.key, parameter.caption != nullptr || parameter.prefsField == 0
                                            ? filledFrom(method, parameter, prefs)
                                            : prefs.field(parameter.prefsField));
        }
        if (auto problem = method.check(method, settings)) {
            return problem;
        }
    }
    return std::nullopt;
}

}  // namespace limenta
