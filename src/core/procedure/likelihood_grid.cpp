#include "core/procedure/likelihood_grid.h"

#include <bit>
#include <cstdint>

#include "core/procedure/mlpest_model.h"

namespace limenta {

void LikelihoodGrid::restart(double spread) {
    started_ = true;
    spread_ = spread;
    included_.clear();
    sums_.fill(0.0);
}

const GridValues& LikelihoodGrid::values(const ProcedureState& record, double spread) {
    const int count = record.recordedStimuli();
    // The sums hold only while the record still begins with the stimuli summed so far:
    // a new Start, a different spread or a changed entry means summing afresh.
    bool same = started_ &&
                std::bit_cast<std::uint64_t>(spread) == std::bit_cast<std::uint64_t>(spread_) &&
                static_cast<int>(included_.size()) <= count;
    for (std::size_t k = 0; same && k < included_.size(); ++k) {
        same = included_[k].first == record.staerken[k + 1] &&
               included_[k].second == record.erfolge[k + 1];
    }
    if (!same) {
        restart(spread);
    }
    for (int k = static_cast<int>(included_.size()) + 1; k <= count; ++k) {
        for (int i = 1; i <= kGridLast; ++i) {
            const double t = i;
            const double sigma = (spread * t) / 100;
            sums_[i] = sums_[i] + likelihoodTerm(t, sigma, record.staerken[k], record.erfolge[k]);
        }
        included_.emplace_back(record.staerken[k], record.erfolge[k]);
    }
    for (int i = 1; i <= kGridLast; ++i) {
        values_[i] = -sums_[i];
    }
    return values_;
}

}  // namespace limenta
