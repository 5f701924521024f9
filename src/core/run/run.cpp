#include "core/run/run.h"

#include <algorithm>

#include "core/numbers/numbers.h"
#include "core/numbers/output_range.h"

namespace limenta {

std::string RunSettings::typed(const Parameter& parameter) const {
    const auto found = typed_.find(parameter.key);
    return found != typed_.end() ? found->second : parameter.defaultText;
}

double RunSettings::number(const Parameter& parameter) const {
    const double value = textToNumber(typed(parameter));
    return parameter.form == ValueForm::Bounds ? toWhole(value) : value;
}

double RunSettings::taken(const Parameter& parameter) const {
    const double value = number(parameter);
    return parameter.form == ValueForm::Whole ? nearestWhole(value) : value;
}

std::string RunSettings::stated(const Parameter& parameter) const {
    return parameter.form == ValueForm::Whole ? std::to_string(nearestWhole(number(parameter)))
                                              : typed(parameter);
}

std::vector<FiredAnswer> firedAnswers(const std::vector<TrialRecord>& trials) {
    std::vector<FiredAnswer> answers;
    answers.reserve(trials.size());
    for (const TrialRecord& t : trials) {
        answers.push_back({nearestWhole(t.fired), t.answer});
    }
    return answers;
}

double settingOf(const Method& method, const RunSettings& settings, const char* key) {
    return settings.number(*method.parameter(key));
}

std::shared_ptr<const SharedModel> SharedModels::of(const Method& method,
                                                    const RunSettings& settings) {
    if (!method.share) {
        return nullptr;
    }
    const auto found = kept_.find(&method);
    if (found != kept_.end() && found->second.settings == settings) {
        return found->second.model;
    }
    Kept& kept = kept_[&method];
    kept = {settings, method.share(method, settings)};
    return kept.model;
}

Run::Run(const Method& method, RunSettings settings, std::shared_ptr<const SharedModel> shared)
    : method_(&method), settings_(std::move(settings)), shared_(std::move(shared)) {
    if (!shared_ && method.share) {
        shared_ = method.share(method, settings_);
    }
    begin(std::make_unique<Procedure>());
}

void Run::begin(std::unique_ptr<Procedure> state) {
    procedure_.reset();  // it works on the state it replaces
    state_ = std::move(state);
    procedure_ = method_->make(*method_, *state_, settings_, shared_.get());
    first_ = procedure_->output();
    state_->clippedThresh = nearestWhole(first_);
    trials_.clear();
    reached_ = false;
    interval_.reset();
}

AnswerStep Run::answer(std::int32_t answer, double nowMicros) {
    Procedure& s = *state_;
    if (trials_.size() >= static_cast<std::size_t>(kLastTrial)) {
        return {true, false, procedure_->output(), procedure_->output(), s.thediff};
    }
    const AnswerStep step = procedure_->answer(answer);
    if (step.refused) {
        return step;
    }
    s.stepnum = static_cast<std::int32_t>(trials_.size()) + 1;
    s.lastsetting = step.fired;
    s.mysetting = step.next;
    s.thediff = step.diff;
    if (step.reached) {
        s.myrmt = s.mysetting;
        s.endtime = nowMicros;
        s.totaltime = (s.endtime - s.starttime) / 1000000;
    }
    s.clippedThresh = nearestWhole(s.mysetting);
    reached_ = step.reached;
    interval_.reset();
    trials_.push_back({{s.stepnum, step.fired, answer, step.next, step.diff},
                       step.reached,
                       procedure_->posterior(),
                       nowMicros});
    return step;
}

bool Run::withdraw() {
    if (trials_.empty()) {
        return false;
    }
    withdrawn_.push_back(trials_.back());
    std::vector<TrialRecord> kept(trials_.begin(), trials_.end() - 1);
    // A fresh start from the same settings and clock, given the answers kept: exactly the
    // run that never had the withdrawn one.
    auto state = std::make_unique<Procedure>();
    state->starttime = state_->starttime;
    state->mydate = state_->mydate;
    state->mytime = state_->mytime;
    begin(std::move(state));
    for (const TrialRecord& t : kept) {
        answer(t.answer, t.at);
    }
    return true;
}

std::optional<CredibleInterval> Run::interval() const {
    if (!interval_) {
        interval_ = procedure_->interval(firedAnswers(trials_));
    }
    return *interval_;
}

std::optional<double> Run::estimate() const {
    if ((method_->estimateStands ? state_->myrmt == 0 : !reached_) || aboveMaximum()) {
        return std::nullopt;
    }
    return state_->myrmt;
}

bool Run::aboveMaximum() const {
    if (!method_->mayEndAboveMaximum || !reached_) {
        return false;
    }
    // The procedure's own posterior decides, as it decided the end.
    const std::optional<CredibleInterval> shown = procedure_->posterior();
    if (!shown || shown->shownHigh() < kHighestOutput) {
        return false;
    }
    // An MEP within the interval puts the threshold within the stimulator's reach.
    return std::ranges::none_of(trials_, [&shown](const TrialRecord& t) {
        return t.answer != 0 && nearestWhole(t.fired) >= shown->shownLow();
    });
}

}  // namespace limenta
