// One assessment run, whatever its method: the settings it started with, its procedure and
// the state that procedure works on (under the design's names), every answer and the output
// fired for it, whether and when the estimate was reached, the estimate and its interval.
// Every front end (the window, limenta-sim) takes answers through Run::answer alone.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/procedure/credible_interval.h"
#include "core/procedure/estimation_procedure.h"
#include "core/run/methods.h"
#include "core/run/trial_line.h"

namespace limenta {

inline constexpr const char* kTrialLimitMessage =
    "Trial limit reached: press Reset or Start for a new run";

// A run's settings as typed, by parameter key; a parameter not given takes its default.
class RunSettings {
  public:
    RunSettings() = default;
    RunSettings(std::initializer_list<std::pair<const std::string, std::string>> typed)
        : typed_(typed) {}
    void set(const std::string& key, std::string typed) { typed_[key] = std::move(typed); }
    // As typed, or the parameter's default.
    [[nodiscard]] std::string typed(const Parameter& parameter) const;
    // As the parameter's form reads it.
    [[nodiscard]] double number(const Parameter& parameter) const;
    // The value the run takes: the number, made whole where its procedure makes it so.
    [[nodiscard]] double taken(const Parameter& parameter) const;
    // As the run states it: typed, or made whole where its procedure makes it so.
    [[nodiscard]] std::string stated(const Parameter& parameter) const;

    friend bool operator==(const RunSettings&, const RunSettings&) = default;

  private:
    std::map<std::string, std::string> typed_;
};

// What runs of a method and its settings share (the Bayesian table of likelihoods), made
// for the first run that asks and kept, for each method, for the next ones with the same
// settings: a window's runs, one after another.
class SharedModels {
  public:
    std::shared_ptr<const SharedModel> of(const Method& method, const RunSettings& settings);

  private:
    struct Kept {
        RunSettings settings;
        std::shared_ptr<const SharedModel> model;
    };
    std::map<const Method*, Kept> kept_;
};

// The number a method's parameter `key` has in `settings`; the method must have it.
double settingOf(const Method& method, const RunSettings& settings, const char* key);

// An answer as the run records it: its line, whether it ended the run, the procedure's own
// interval after it (if the procedure keeps one) and when it was given.
struct TrialRecord : TrialLine {
    bool reached = false;
    std::optional<CredibleInterval> posterior;
    double at = 0;  // the microsecond clock reading
    friend bool operator==(const TrialRecord&, const TrialRecord&) = default;
};

// Every answer at the whole percent the operator fired.
std::vector<FiredAnswer> firedAnswers(const std::vector<TrialRecord>& trials);

class Run {
  public:
    // A run of `method` from `settings`, which its check has taken; `shared` is what the
    // method shares between runs of these settings (made here when not given).
    Run(const Method& method, RunSettings settings, std::shared_ptr<const SharedModel> shared = {});
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    [[nodiscard]] const Method& method() const { return *method_; }
    [[nodiscard]] const RunSettings& settings() const { return settings_; }

    // The one answer step: takes the answer (1 MEP, 0 none) to a pulse at the whole
    // percent of output(), advances the procedure and records the answer (stepnum,
    // lastsetting, mysetting, thediff and clippedThresh); on the end it sets myrmt, endtime
    // (`nowMicros`) and totaltime. A 201st answer, or one the procedure cannot take, is
    // refused and changes nothing.
    AnswerStep answer(std::int32_t answer, double nowMicros);
    // Takes the latest answer back: the run is again exactly as it was before it, in every
    // method (the same answers given afresh), and the output shown is again the one that
    // was fired for it. False, changing nothing, when there is no answer to take back.
    bool withdraw();

    [[nodiscard]] double firstOutput() const { return first_; }
    // The output to fire now, as the procedure has it; the operator fires its whole percent.
    [[nodiscard]] double output() const { return procedure_->output(); }
    [[nodiscard]] const std::vector<TrialRecord>& trials() const { return trials_; }
    // The answers taken back, in the order they were; each as it was given.
    [[nodiscard]] const std::vector<TrialRecord>& withdrawn() const { return withdrawn_; }
    // The latest answer presented the end of the run.
    [[nodiscard]] bool reached() const { return reached_; }
    // The estimate while it stands (see Method::estimateStands); nothing for a run whose
    // end says the threshold lies above what the stimulator gives.
    [[nodiscard]] std::optional<double> estimate() const;
    // The run has ended, for a method that may end so, with its procedure's own 95 %
    // interval reaching the stimulator's maximum (shown as 100) and no pulse within that
    // interval bringing an MEP: the threshold lies above what the stimulator gives, and no
    // number is an estimate of it.
    [[nodiscard]] bool aboveMaximum() const;
    // The 95 % interval of the threshold given the answers (see EstimationProcedure).
    [[nodiscard]] std::optional<CredibleInterval> interval() const;
    [[nodiscard]] std::string stated(const Parameter& parameter) const {
        return settings_.stated(parameter);
    }

    // The state under the design's names (stepnum, mysetting, myrmt, starttime, mydate...).
    [[nodiscard]] Procedure& state() { return *state_; }
    [[nodiscard]] const Procedure& state() const { return *state_; }

  private:
    // Starts the run afresh on `state`, before any answer.
    void begin(std::unique_ptr<Procedure> state);

    const Method* method_;
    RunSettings settings_;
    std::shared_ptr<const SharedModel> shared_;
    std::unique_ptr<Procedure> state_;
    std::unique_ptr<EstimationProcedure> procedure_;  // works on *state_
    double first_ = 0;
    bool reached_ = false;
    std::vector<TrialRecord> trials_;
    std::vector<TrialRecord> withdrawn_;
    // The interval of the answers as they stand, worked out once when first asked for.
    mutable std::optional<std::optional<CredibleInterval>> interval_;
};

}  // namespace limenta
