// The negative log-likelihood of each whole threshold 1 to 100, kept up to date as stimuli
// are added, so an estimate costs 100 likelihood terms per new stimulus rather than 100
// per recorded stimulus. Every value is summed in the same order as funcfinal sums it,
// so the results are the same to the last bit.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "core/numbers/output_range.h"
#include "core/procedure/procedure_state.h"

namespace limenta {

// The grid's thresholds are the whole outputs 1 to kGridLast.
inline constexpr int kGridLast = static_cast<int>(kHighestOutput);
using GridValues = std::array<double, kGridLast + 1>;

class LikelihoodGrid {
  public:
    // values()[i] == funcfinal(i) for i = 1 to kGridLast, with relsigmafinal == spread.
    const GridValues& values(const ProcedureState& record, double spread);

  private:
    void restart(double spread);

    bool started_ = false;
    double spread_ = 0.0;
    std::vector<std::pair<double, double>> included_;  // (staerken, erfolge) summed so far
    GridValues sums_{};
    GridValues values_{};
};

}  // namespace limenta
