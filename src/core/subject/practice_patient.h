// A virtual patient to practise on: a threshold kept from the operator, drawn from a
// clinical range, answering each pulse by the variable model with an EMG sweep to judge.
// The operator's judgement, not the model's, is the run's answer: a wrong one counts as a
// real slip would, and the end tells which judgements the sweeps did not bear out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/subject/emg_sweep.h"
#include "core/subject/virtual_subjects.h"

namespace limenta {

struct PracticePulse {
    std::int32_t output = 0;             // the whole percent fired
    Pulse pulse;                         // what the patient's muscle did
    EmgSweep sweep;                      // what the operator sees of it
    std::optional<std::int32_t> judged;  // the operator's answer: 1 MEP, 0 none
    // The judgement against the model's amplitude and the 50 microvolt criterion.
    [[nodiscard]] bool disagrees() const { return judged && (*judged != 0) != pulse.mep; }
};

struct PracticeResult {
    double threshold = 0;  // the patient's, hidden until now
    double estimate = 0;
    double errorMso = 0;                     // estimate - threshold
    double errorPercent = 0;                 // of the threshold
    int pulses = 0;                          // pulses judged
    std::vector<std::size_t> disagreements;  // into pulses(), in order
};

class PracticePatient {
  public:
    static constexpr double kLowestThreshold = 30;
    static constexpr double kHighestThreshold = 80;

    // Every draw (the threshold, the pulses, the sweeps' noise) from streams of `seed`'s own:
    // the sweeps change no pulse.
    explicit PracticePatient(std::uint64_t seed);

    [[nodiscard]] double threshold() const { return subject_.threshold(); }
    // Fires a pulse at `output`, unless the latest still waits for its judgement.
    const PracticePulse* fire(std::int32_t output);
    [[nodiscard]] bool awaitingJudgement() const {
        return !pulses_.empty() && !pulses_.back().judged;
    }
    // Judges the latest pulse; false (and nothing changes) when none waits.
    bool judge(std::int32_t answer);
    // Takes the latest judged pulse back, with its judgement, as the run takes its answer
    // back; a pulse still waiting goes with it.
    void withdraw();
    [[nodiscard]] const std::vector<PracticePulse>& pulses() const { return pulses_; }
    [[nodiscard]] PracticeResult result(double estimate) const;

  private:
    Subject subject_;
    Random pulseRandom_;
    Random sweepRandom_;
    std::vector<PracticePulse> pulses_;
};

}  // namespace limenta
