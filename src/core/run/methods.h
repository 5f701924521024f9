// The one table of estimation methods: for each, everything that differs between them.
// Code that asks "which method?" asks this table; nothing else names a method.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/procedure/estimation_procedure.h"
#include "core/trial/run_start.h"

namespace limenta {

class Run;
class RunSettings;
struct TrialRecord;

// How a setting is read from what was typed, and how a run states it.
enum class ValueForm {
    Typed,   // a number by the plain conversion; stated as typed
    Bounds,  // made whole by the plain conversion as it is read (ML-PEST's bounds); as typed
    Whole,   // made whole at the nearest by its procedure (ML-PEST's spread); stated so
    Number,  // a preference without a field: kept and stated as a number
};

struct Parameter {
    const char* key;          // "start": limenta-sim's option (--start) and the setting's name
    const char* journalKey;   // "initial_output" in the journal; nullptr: the run is not
                              // described by it (a setting borrowed for the interval alone)
    const char* caption;      // "Initial output value:" on the window's field; nullptr: none
    const char* reportLabel;  // "Starting Value" in the report; nullptr: not reported
    const char* defaultText;  // "50"
    int prefsField;           // the PREFS field the window fills it from; 0: none
    StartValue value;         // what the start checks call it
    ValueForm form = ValueForm::Typed;
    const char* outsideName = nullptr;  // how a refusal names it when it has no field
    const char* simulateKey = nullptr;  // limenta-sim simulate's option, where not `key`
    // Its key in PREFS's extension ("bayes.width"), where a value the 17 fields have no
    // place for is kept.
    const char* prefsKey = nullptr;
};

struct Method {
    const char* key;         // "pest": in PREFS, the journal, the CSV and limenta-sim
    const char* name;        // "adaptive PEST": in Past Runs and limenta-sim
    const char* label;       // "Adaptive PEST": the window's choice of method
    const char* reportName;  // "Adaptive PEST": the report's "Method:" line
    const char* colour;      // in limenta-sim's plot
    bool inWindow;           // the window offers it
    bool prefsFlag;          // PREFS's method flag (field 16) when it is stored
    // The caption over the next output after an answer that does not end the run; nullptr
    // keeps the one Start showed.
    const char* answerCaption;
    // Start shows the first output as the procedure has it, not rounded to a whole percent.
    bool firstShownUnrounded;
    // A reached estimate stands through later answers that do not reach it again;
    // otherwise it stands only while the latest answer holds the stop rule.
    bool estimateStands;
    // Its end may say the threshold lies above what the stimulator gives (see
    // Run::aboveMaximum).
    bool mayEndAboveMaximum;
    // Its settings; those with a caption are the window's three fields, in their order.
    std::vector<Parameter> parameters;

    // Each is given the method's own row. The problem with a run's settings, if any, as
    // Start and limenta-sim refuse it.
    std::function<std::optional<StartProblem>(const Method& self, const RunSettings&)> check;
    // What many runs of these settings share (nothing for most methods).
    std::function<std::shared_ptr<const SharedModel>(const Method& self, const RunSettings&)> share;
    // The procedure over a run's state, started from the settings.
    std::function<std::unique_ptr<EstimationProcedure>(
        const Method& self, Procedure& state, const RunSettings&, const SharedModel* shared)>
        make;
    // The plot: the difference that reaches its top (its scale), and the stop criterion's
    // line, in units of difference.
    std::function<double(const Run&)> differenceAtTop;
    std::function<double(const Run&)> criterion;
    // limenta-sim replay's text: the trials' header, a trial's line, the estimate.
    const char* replayHeader;
    std::function<std::string(const TrialRecord&)> replayLine;
    std::function<std::string(double estimate)> estimateText;

    // The key PREFS named it by before it took another method's place in the window; a file
    // naming that key opens with it.
    const char* formerPrefsKey = nullptr;

    [[nodiscard]] const Parameter* parameter(std::string_view key) const;
    // The parameters shown in the window's fields, in order.
    [[nodiscard]] std::vector<const Parameter*> fields() const;
};

using MethodTable = std::vector<Method>;

// Adaptive PEST, ML-PEST and the Bayesian procedures, the fixed-spread one and the robust one.
const MethodTable& methods();

// The method stored under `key`; nothing for a key the table does not know.
const Method* findMethod(const MethodTable& table, std::string_view key);

// A kept method's name ("adaptive PEST"); "unknown (x)" for a key the table does not know,
// which is never taken for another method.
std::string methodName(std::string_view key);

// The method PREFS's flag stores (the window's methods only).
const Method& methodOfPrefsFlag(const MethodTable& table, bool flag);

class PrefsText;
struct Settings;
// The method preferences store: the one their extension names, when the window offers it,
// else the one their flag stores.
const Method& storedMethod(const MethodTable& table, const Settings& settings);
// A value the preferences' extension keeps for `parameter` of `method`, as it stands; its
// default when there is none, or one the method would refuse (a damaged extension harms
// nothing).
std::string keptValue(const Method& method, const Parameter& parameter, const Settings& settings);
// What the window's field for `parameter` of `method` shows when filled from the
// preferences: the bounds and the spread whole, as a run takes them, other values of the 17
// fields as plain decimals, a value of the extension as kept.
std::string filledFrom(const Method& method, const Parameter& parameter, const PrefsText& prefs);
// The extension that stores `method` (when the flag cannot) and the extension's values that
// differ from their defaults, given by their PREFS keys.
std::vector<std::pair<std::string, std::string>> prefsExtension(
    const MethodTable& table, const Method& method,
    const std::vector<std::pair<std::string, std::string>>& values);

// The problem, if any, with the start values a preferences file keeps: every window
// method's settings as its Start would take them from fields filled from the file.
std::optional<StartProblem> checkStoredStart(const PrefsText& prefs);

}  // namespace limenta
