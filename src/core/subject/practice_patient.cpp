#include "core/subject/practice_patient.h"

#include <algorithm>

namespace limenta {

namespace {

// A patient's streams: its threshold, its pulses, the noise of its sweeps.
constexpr std::uint64_t kThresholdStream = 0;
constexpr std::uint64_t kPulseStream = 1;
constexpr std::uint64_t kSweepStream = 2;

double drawnThreshold(std::uint64_t seed) {
    Random random = subjectRandom(seed, 0, kThresholdStream);
    return PracticePatient::kLowestThreshold +
           (PracticePatient::kHighestThreshold - PracticePatient::kLowestThreshold) *
               random.uniform();
}

}  // namespace

PracticePatient::PracticePatient(std::uint64_t seed)
    : subject_(SubjectModel::Variable, drawnThreshold(seed), {}),
      pulseRandom_(subjectRandom(seed, 0, kPulseStream)),
      sweepRandom_(subjectRandom(seed, 0, kSweepStream)) {}

const PracticePulse* PracticePatient::fire(std::int32_t output) {
    if (awaitingJudgement()) {
        return nullptr;
    }
    PracticePulse fired;
    fired.output = output;
    fired.pulse = subject_.pulse(output, pulseRandom_);
    fired.sweep = emgSweep(fired.pulse, sweepRandom_);
    pulses_.push_back(std::move(fired));
    return &pulses_.back();
}

bool PracticePatient::judge(std::int32_t answer) {
    if (!awaitingJudgement()) {
        return false;
    }
    pulses_.back().judged = answer != 0 ? 1 : 0;
    return true;
}

void PracticePatient::withdraw() {
    const auto judged = std::find_if(pulses_.rbegin(), pulses_.rend(),
                                     [](const PracticePulse& p) { return p.judged.has_value(); });
    if (judged == pulses_.rend()) {
        return;
    }
    judged->judged.reset();
    pulses_.erase(judged.base(), pulses_.end());
}

PracticeResult PracticePatient::result(std::optional<double> estimate) const {
    PracticeResult result;
    result.threshold = threshold();
    result.estimate = estimate;
    if (estimate) {
        result.errorMso = *estimate - result.threshold;
        result.errorPercent = 100 * *result.errorMso / result.threshold;
    }
    for (std::size_t i = 0; i < pulses_.size(); ++i) {
        if (pulses_[i].judged) {
            ++result.pulses;
        }
        if (pulses_[i].disagrees()) {
            result.disagreements.push_back(i);
        }
    }
    return result;
}

}  // namespace limenta
