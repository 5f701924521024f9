// Many virtual subjects through the window's own procedures, and what came of it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/run/run.h"
#include "core/subject/virtual_subjects.h"

namespace limenta::cli {

struct Population {
    SubjectModel model = SubjectModel::Psychometric;
    int subjects = 7501;
    std::uint64_t seed = 1;
    OperatorErrors errors;
};

// Subject i of n has the threshold 25 + 75 i / (n - 1): for n = 7501 the reference
// population of the literature, 25 to 100 % in steps of 0.01.
double subjectThreshold(int i, int n);

struct SubjectOutcome {
    double truth = 0;        // the subject's threshold, percent of output
    double estimate = 0;     // the whole percent the window showed at the end of the run
    int pulses = 0;          // answers given until the estimate (or the limit)
    bool limit = false;      // the run reached its 200 answers without an estimate
    double intervalLow = 0;  // the run's 95 % interval at its end
    double intervalHigh = 0;
    bool wide = false;  // the window would have shown the interval amber
};

// One subject through one run of `method`, exactly as the window takes the operator's
// answers: each pulse is fired at the whole percent the big number shows. `shared` is what
// runs of these settings share (made for this run when not given).
SubjectOutcome runSubject(const Subject& subject, const Method& method, const RunSettings& settings,
                          Random& random, std::shared_ptr<const SharedModel> shared = {});

// Every subject of the population through one method, on `threads` threads, drawing from
// the method's own random stream. The outcome of each subject depends only on the seed,
// the stream and its number, never on the threads.
std::vector<SubjectOutcome> runPopulation(const Population& population, const Method& method,
                                          const RunSettings& settings, std::uint64_t stream,
                                          int threads);

struct Spread {
    double mean = 0;
    double meanAbs = 0;
    double p95Abs = 0;
};

struct Summary {
    double pulsesMean = 0;
    double pulsesMedian = 0;
    double pulsesP90 = 0;
    double pulsesMax = 0;
    Spread errorPct;              // (estimate - truth) / truth, percent
    Spread errorMso;              // estimate - truth, percent of stimulator output
    double within5 = 0;           // share within +-5 % of the threshold
    double within10 = 0;          // share within +-10 %
    double limit = 0;             // share that reached the trial limit
    double intervalCoverage = 0;  // share whose true threshold lies inside their interval
    double intervalWidth = 0;     // mean interval width, as a share of the true threshold
    double wideShare = 0;         // share of runs whose interval the window flags as wide
    double wideOff5 = 0;          // of the flagged runs, the share more than 5 % away
    double wideOff10 = 0;         // ... more than 10 % away
    double narrowOff5 = 0;        // of the others, the share more than 5 % away
    double narrowOff10 = 0;       // ... more than 10 % away
};

// Percentiles are nearest-rank: the smallest value with at least p of all values at or
// below it.
Summary summarise(const std::vector<SubjectOutcome>& outcomes);

}  // namespace limenta::cli
