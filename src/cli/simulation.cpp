#include "cli/simulation.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <optional>
#include <thread>

#include "core/numbers/numbers.h"

namespace limenta::cli {

double subjectThreshold(int i, int n) {
    return n <= 1 ? 25.0 : 25.0 + 75.0 * i / (n - 1);
}

SubjectOutcome runSubject(const Subject& subject, const Method& method, const RunSettings& settings,
                          Random& random, std::shared_ptr<const SharedModel> shared) {
    Run run(method, settings, std::move(shared));
    SubjectOutcome outcome;
    outcome.truth = subject.threshold();
    while (true) {
        const double shown = run.output();
        const int answer = subject.answer(roundHalfAway(shown), random);
        const AnswerStep step = run.answer(answer, 0.0);
        if (step.refused) {
            outcome.limit = true;
            outcome.estimate = roundHalfAway(shown);
            break;
        }
        if (step.reached) {
            outcome.estimate = roundHalfAway(run.state().myrmt);
            break;
        }
    }
    outcome.pulses = run.state().stepnum;
    if (const auto interval = run.interval()) {
        outcome.intervalLow = interval->low;
        outcome.intervalHigh = interval->high;
        outcome.wide = interval->wide();
    }
    return outcome;
}

std::vector<SubjectOutcome> runPopulation(const Population& population, const Method& method,
                                          const RunSettings& settings, std::uint64_t stream,
                                          int threads) {
    const int n = std::max(population.subjects, 0);
    // What the runs share (a table of likelihoods), made once and read by every thread.
    const std::shared_ptr<const SharedModel> shared =
        method.share ? method.share(method, settings) : nullptr;
    std::vector<SubjectOutcome> outcomes(static_cast<std::size_t>(n));
    std::atomic<int> nextSubject{0};
    const auto work = [&] {
        for (int i = nextSubject++; i < n; i = nextSubject++) {
            const auto number = static_cast<std::uint64_t>(i);
            const Subject subject(population.model, subjectThreshold(i, n), population.errors,
                                  population.model == SubjectModel::OwnSpread
                                      ? ownSpread(population.seed, number)
                                      : kLiteratureSpread);
            Random random = subjectRandom(population.seed, number, stream);
            outcomes[static_cast<std::size_t>(i)] =
                runSubject(subject, method, settings, random, shared);
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        workers.emplace_back(work);
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }
    return outcomes;
}

namespace {

double nearestRank(std::vector<double> values, double share) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

Spread spreadOf(const std::vector<double>& errors) {
    std::vector<double> absolute;
    absolute.reserve(errors.size());
    for (const double e : errors) {
        absolute.push_back(std::fabs(e));
    }
    return {mean(errors), mean(absolute), nearestRank(absolute, 0.95)};
}

}  // namespace

Summary summarise(const std::vector<SubjectOutcome>& outcomes) {
    std::vector<double> pulses;
    std::vector<double> pct;
    std::vector<double> mso;
    double within5 = 0;
    double within10 = 0;
    double limit = 0;
    double covered = 0;
    double width = 0;
    std::array<double, 3> wide{};    // runs flagged; of them, more than 5 % and 10 % away
    std::array<double, 3> narrow{};  // the same for the runs not flagged
    for (const SubjectOutcome& o : outcomes) {
        pulses.push_back(o.pulses);
        const double errorPct = 100.0 * (o.estimate - o.truth) / o.truth;
        pct.push_back(errorPct);
        mso.push_back(o.estimate - o.truth);
        within5 += std::fabs(errorPct) <= 5.0 ? 1 : 0;
        within10 += std::fabs(errorPct) <= 10.0 ? 1 : 0;
        limit += o.limit ? 1 : 0;
        covered += o.truth >= o.intervalLow && o.truth <= o.intervalHigh ? 1 : 0;
        width += (o.intervalHigh - o.intervalLow) / o.truth;
        std::array<double, 3>& tally = o.wide ? wide : narrow;
        tally[0] += 1;
        tally[1] += std::fabs(errorPct) > 5.0 ? 1 : 0;
        tally[2] += std::fabs(errorPct) > 10.0 ? 1 : 0;
    }
    const auto share = [](double part, double whole) { return whole > 0 ? part / whole : 0.0; };
    const double n = outcomes.empty() ? 1.0 : static_cast<double>(outcomes.size());
    Summary s;
    s.pulsesMean = mean(pulses);
    s.pulsesMedian = nearestRank(pulses, 0.5);
    s.pulsesP90 = nearestRank(pulses, 0.9);
    s.pulsesMax = pulses.empty() ? 0 : *std::max_element(pulses.begin(), pulses.end());
    s.errorPct = spreadOf(pct);
    s.errorMso = spreadOf(mso);
    s.within5 = within5 / n;
    s.within10 = within10 / n;
    s.limit = limit / n;
    s.intervalCoverage = covered / n;
    s.intervalWidth = width / n;
    s.wideShare = wide[0] / n;
    s.wideOff5 = share(wide[1], wide[0]);
    s.wideOff10 = share(wide[2], wide[0]);
    s.narrowOff5 = share(narrow[1], narrow[0]);
    s.narrowOff10 = share(narrow[2], narrow[0]);
    return s;
}

}  // namespace limenta::cli
