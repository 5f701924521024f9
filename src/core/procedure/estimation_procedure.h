// What every estimation procedure does: give the output to fire, take the answer to it,
// and say how sure it is. A run (core/run/run.h) holds one and keeps the record of the
// answers every method shares.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/procedure/credible_interval.h"
#include "core/procedure/procedure.h"

namespace limenta {

struct AnswerStep {
    bool refused = false;  // the run can take no further answer: nothing has changed
    bool reached = false;  // this answer presents the end of the run
    double fired = 0.0;    // the output the answer was given at, as the procedure had it
    double next = 0.0;     // the next output (or the estimate)
    double diff = 0.0;     // the procedure's difference after the answer
};

// What many runs of one method and settings can share, built once (a table of
// likelihoods, say).
class SharedModel {
  public:
    virtual ~SharedModel() = default;
};

class EstimationProcedure {
  public:
    virtual ~EstimationProcedure() = default;

    // The output to fire now, as the procedure has it (unrounded where it is).
    [[nodiscard]] virtual double output() const = 0;
    // Takes the answer (1 MEP, 0 none) to a pulse at output(), changing the procedure's own
    // state alone.
    virtual AnswerStep answer(std::int32_t answer) = 0;
    // The 95 % interval of the threshold given the run's answers at the whole percents
    // fired, whatever chose them: under the robust model (the patient's spread learned,
    // slips allowed for); nothing before any answer. A procedure that keeps that very
    // posterior gives its own.
    [[nodiscard]] virtual std::optional<CredibleInterval> interval(
        const std::vector<FiredAnswer>& answers) const;
    // The procedure's own interval after its latest answer, for a procedure that keeps a
    // posterior of its own (its stop rule, its placement, its end above 100); nothing
    // otherwise.
    [[nodiscard]] virtual std::optional<CredibleInterval> posterior() const { return {}; }
};

}  // namespace limenta
