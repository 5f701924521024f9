// Everything one assessment run remembers, under the names the whole program uses.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace limenta {

// Trials are numbered from 1; index 0 of every per-trial array stays 0.
inline constexpr int kLastTrial = 200;
// ML-PEST stimuli are numbered from 1 as well.
inline constexpr int kLastStimulus = 1000;

struct ProcedureState {
    // Written by the run's answer step for every method, as the design's key handlers write
    // them (runpest counts stepnum too).
    std::int32_t stepnum = 0;  // answers taken in this run
    double mysetting = 0.0;    // output just fired before an answer, next output after it
    double lastsetting = 0.0;  // output of the trial just answered
    // The latest answer's difference: adaptive PEST's move, ML-PEST's distance between its
    // last two estimates, a Bayesian run's interval width.
    double thediff = 0.0;

    // Adaptive PEST's staircase.
    std::int32_t startstep = 0;                      // step of the first two trials, whole percent
    double mystep = 0.0;                             // current step, percent of output
    std::array<std::int32_t, kLastTrial + 1> mep{};  // answer of trial k
    std::array<std::int32_t, kLastTrial + 1> reversal{};  // trial k reversed the direction
    std::array<std::int32_t, kLastTrial + 1> doubled{};   // the step of trial k was doubled
    double mydiff = 0.0;  // adaptive PEST ends when a move is smaller than this

    // ML-PEST.
    std::int32_t runspread = 0;   // this run's spread, as Start took it, whole
    double mydiff2 = 0.0;         // ML-PEST ends when two estimates differ by no more
    std::int32_t nrstimulus = 0;  // stimuli recorded
    std::array<double, kLastStimulus + 1> staerken{};  // intensity of stimulus i
    std::array<double, kLastStimulus + 1> erfolge{};   // 1.0 MEP, 0.0 none
    double relsigmafinal = 0.0;                        // spread used by the likelihood
    double curstim = 0.0;                              // the estimate to fire now
    double laststim = 0.0;                             // the estimate fired before it
    double teststim = 0.0;                             // the first estimate of the run

    // Result, announcement and timing, written by the run.
    double myrmt = 0.0;              // the latest estimate reached; 0 before the first
    std::int32_t clippedThresh = 0;  // the next output as a whole percent, announced
    double starttime = 0.0;          // microseconds at Start
    double endtime = 0.0;            // microseconds when the estimate was reached
    double totaltime = 0.0;          // seconds from Start to the estimate
    std::string mydate;              // long date at Start
    std::string mytime;              // long time at Start

    // The per-trial arrays take no further answer (a full run, or a count gone wrong).
    [[nodiscard]] bool trialsFull() const { return stepnum < 0 || stepnum >= kLastTrial; }
    // The ML-PEST record takes no further stimulus.
    [[nodiscard]] bool recordFull() const { return nrstimulus < 0 || nrstimulus >= kLastStimulus; }
    // How many recorded stimuli the likelihood sums: the count, within the record.
    [[nodiscard]] int recordedStimuli() const { return std::clamp(nrstimulus, 0, kLastStimulus); }

    friend bool operator==(const ProcedureState&, const ProcedureState&) = default;
};

}  // namespace limenta
