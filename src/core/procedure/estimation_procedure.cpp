#include "core/procedure/estimation_procedure.h"

#include "core/procedure/robust_bayes.h"

namespace limenta {

std::optional<CredibleInterval> EstimationProcedure::interval(
    const std::vector<FiredAnswer>& answers) const {
    return robustInterval(answers);
}

}  // namespace limenta
