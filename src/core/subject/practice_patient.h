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

// What the window's title, its banner and a report say while practice runs.
inline constexpr const char* kPracticeTitle = "PRACTICE \u2013 virtual patient";

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
    // Nothing where the run ended above what the stimulator gives, with no estimate.
    std::optional<double> estimate;
    std::optional<double> errorMso;          // estimate - threshold
    std::optional<double> errorPercent;      // of the threshold
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
    // Takes the latest judgement back, as the run takes its answer back: its pulse, the one
    // the run shows again, waits to be judged afresh, and a later pulse not yet judged is
    // gone. Nothing when no pulse is judged.
    void withdraw();
    [[nodiscard]] const std::vector<PracticePulse>& pulses() const { return pulses_; }
    [[nodiscard]] PracticeResult result(std::optional<double> estimate) const;

  private:
    Subject subject_;
    Random pulseRandom_;
    Random sweepRandom_;
    std::vector<PracticePulse> pulses_;
};

}  // namespace limenta
