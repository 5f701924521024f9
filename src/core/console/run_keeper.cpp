#include "core/console/run_keeper.h"

#include <map>

#include "core/numbers/json_text.h"

namespace limenta {

std::string journalSettings(const Run& run) {
    std::map<std::string, std::string> members{{"method", jsonString(run.method().key)}};
    for (const Parameter& parameter : run.method().parameters) {
        if (parameter.journalKey != nullptr) {
            members[parameter.journalKey] = parameter.form == ValueForm::Number
                                                ? jsonNumber(run.settings().number(parameter))
                                                : jsonString(run.stated(parameter));
        }
    }
    std::string json = "{";
    for (const auto& [key, value] : members) {
        json += (json.size() > 1 ? "," : "") + jsonString(key) + ":" + value;
    }
    return json + "}";
}

JournalWrite RunKeeper::start(const Run& run, std::string uid, std::string started,
                              std::optional<double> trueThreshold, std::string patient,
                              Setup setup) {
    forget();
    row_.uid = std::move(uid);
    row_.started = std::move(started);
    row_.method = run.method().key;
    row_.settings = journalSettings(run);
    row_.practice = trueThreshold.has_value();
    row_.trueThreshold = trueThreshold;
    row_.patient = std::move(patient);
    row_.setup = std::move(setup);
    return JournalWrite::start(row_);
}

JournalWrite RunKeeper::take(const Run& run, const GuidePanel& panel, const std::string& at) {
    const TrialRecord& t = run.trials().back();
    JournalAnswer answer;
    static_cast<TrialLine&>(answer) = t;
    answer.at = at;
    // Its place among every answer the run was given, those taken back too.
    answer.seq = static_cast<int>(run.trials().size() + run.withdrawn().size());
    kept_.push_back(answer);
    follow(run, panel);
    return JournalWrite::taken(row_, answer);
}

std::optional<JournalWrite> RunKeeper::withdraw(const Run& run, const GuidePanel& panel,
                                                const std::string& at) {
    if (kept_.empty()) {
        return std::nullopt;
    }
    JournalAnswer answer = kept_.back();
    answer.withdrawnAt = at;
    kept_.pop_back();
    follow(run, panel);
    return JournalWrite::withdrawn(row_, answer);
}

JournalWrite RunKeeper::update(const Run& run, const GuidePanel& panel) {
    follow(run, panel);
    return JournalWrite::update(row_);
}

void RunKeeper::follow(const Run& run, const GuidePanel& panel) {
    // An answer may end the run, again or no longer, and taking one back may too. It ended
    // with the latest kept answer that reached its end.
    row_.estimate = run.estimate();
    row_.aboveMaximum = run.aboveMaximum();
    row_.ended.clear();
    if (row_.estimate || row_.aboveMaximum) {
        const std::vector<TrialRecord>& trials = run.trials();
        for (std::size_t i = trials.size(); i-- > 0;) {
            if (trials[i].reached && i < kept_.size()) {
                row_.ended = kept_[i].at;
                break;
            }
        }
    }
    const std::optional<CredibleInterval> interval = run.interval();
    row_.intervalLow = interval ? std::optional(interval->low) : std::nullopt;
    row_.intervalHigh = interval ? std::optional(interval->high) : std::nullopt;
    row_.percents = panel.percents();
    row_.m1Distance = panel.m1Distance();
    row_.targetDistance = panel.targetDistance();
}

}  // namespace limenta
