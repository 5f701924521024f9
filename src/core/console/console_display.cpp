// What the console shows: the view of its inputs, the run on screen as it stands, and the
// run as its report tells it.
#include <algorithm>

#include "core/console/console.h"
#include "core/display/history_line.h"

namespace limenta {

void Console::refresh() {
    const std::vector<const Parameter*> fields = method_->fields();
    for (std::size_t i = 0; i < view_.parameters.size(); ++i) {
        // A field the method does not use is not there, never showing another's value.
        const bool used = i < fields.size();
        view_.parameters[i] = {used ? fields[i]->caption : "", typed_[i], used};
    }
    const auto& offered = offeredMethods();
    view_.method = static_cast<std::size_t>(std::find(offered.begin(), offered.end(), method_) -
                                            offered.begin());
    view_.startEnabled = !runInputsLocked_;
    view_.startValuesLocked = runInputsLocked_;
    view_.volumes = volumes_;
    view_.patient = patientTyped_;
    view_.setup = describeSetup(setup_);
    // A legend on screen names the keys that count now.
    view_.legend = legendShown_ ? keyLegend(keys_) : std::string();
    guides_.show(view_, run_ ? run_->estimate().value_or(0) : 0, run_ && run_->aboveMaximum());
    view_.timers = {announcer_.on(1), announcer_.on(2), announcer_.on(3), undoWaiting_,
                    pulseTimer_};
}

void Console::showRun() {
    const Run& run = *run_;
    view_.big = shownOutput(run);
    // Newest line on top, so the latest answer is always in view.
    view_.history = historyText(run.trials());
    const std::optional<CredibleInterval> interval = run.interval();
    view_.interval = interval ? intervalLine(*interval, run.state().stepnum) : std::string();
    view_.intervalInk = interval && interval->wide() ? Ink::Amber : Ink::Black;
    view_.plot = plotScene(run);
    ++view_.plotVersion;
}

void Console::showEndReached() {
    // Above what the stimulator gives: "100+" in red, as the quick reference shows it.
    view_.bigInk = run_->aboveMaximum() ? Ink::Red : Ink::Green;
    view_.caption = "rMT Estimate Reached :";
    // myrmt, endtime and totaltime were taken with the step.
    guides_.follow();
}

void Console::showRunGoingOn(const char* caption) {
    view_.bigInk = Ink::Black;
    view_.caption = caption;
    guides_.blank();  // the run goes on: no estimate stands
}

void Console::showRunAsItStands() {
    const std::vector<TrialRecord>& trials = run_->trials();
    const char* answerCaption = run_->method().answerCaption;
    // The caption an answer leaves stands until another answer changes it: the end's, the
    // method's caption over the next output, or Start's.
    const bool endShown =
        !trials.empty() &&
        (trials.back().reached ||
         (answerCaption == nullptr && std::any_of(trials.begin(), trials.end(),
                                                  [](const TrialRecord& t) { return t.reached; })));
    if (endShown) {
        showEndReached();
    } else {
        showRunGoingOn(trials.empty() || answerCaption == nullptr ? kStartCaption : answerCaption);
    }
}

ReportedRun Console::reported() const {
    ReportedRun r;
    r.mydate = startedDate_;
    r.mytime = startedTime_;
    r.percents = guides_.percents();
    r.m1Distance = guides_.m1Distance();
    r.targetDistance = guides_.targetDistance();
    if (!run_) {
        // No run: the fields as they stand.
        r.method = method_->key;
        const RunSettings shown = shownSettings();
        for (const Parameter& parameter : method_->parameters) {
            r.settings[parameter.key] = shown.typed(parameter);
        }
        return r;
    }
    // The run's own settings, as it states them.
    const Run& run = *run_;
    r.stage = run.reached() ? RunStage::Reached : RunStage::InProgress;
    r.method = run.method().key;
    for (const Parameter& parameter : run.method().parameters) {
        r.settings[parameter.key] = run.stated(parameter);
    }
    r.totaltime = run.state().totaltime;
    r.next = run.trials().empty() ? run.firstOutput() : run.state().mysetting;
    r.estimate = run.estimate();
    r.aboveMaximum = run.aboveMaximum();
    r.interval = run.interval();
    r.answers.assign(run.trials().begin(), run.trials().end());
    r.withdrawn = run.withdrawn().size();
    r.practice = practising();
    r.patient = runPatient_;
    r.setup = runSetup_;
    return r;
}

}  // namespace limenta
