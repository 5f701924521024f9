// What every estimation procedure does: give the output to fire, take the answer to it,
// and say how sure it is. A run (core/run/run.h) holds one, working on the run's state.
#pragma once

#include <cstdint>
#include <optional>

#include "core/procedure/credible_interval.h"
#include "core/procedure/procedure.h"

namespace limenta {

struct AnswerStep {
    bool refused = false;  // the run can take no further answer: nothing has changed
    bool reached = false;  // this answer presents the end of the run
    double next = 0.0;     // the next output (or the estimate)
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
    // Takes the answer (1 MEP, 0 none) to a pulse at output(): sets stepnum, mep,
    // lastsetting (the output just fired), mysetting (the next one) and thediff.
    virtual AnswerStep answer(std::int32_t answer) = 0;
    // The 95 % interval of the threshold after the answers so far; nothing before any.
    [[nodiscard]] virtual std::optional<CredibleInterval> interval() const = 0;
    // The procedure's own interval after its latest answer, for a procedure that keeps a
    // posterior of its own (shown with each trial); nothing otherwise.
    [[nodiscard]] virtual std::optional<CredibleInterval> posterior() const { return {}; }
};

}  // namespace limenta
