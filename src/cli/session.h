// limenta-sim session: one run of any method taken answer by answer, one JSON object per
// line, for a lab's own script that fires the stimulator and reads the EMG.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/run/methods.h"

namespace limenta::cli {

// Reads the answers from `in` and writes each line to `out` at once. Exit status: 0 the
// input ended, 1 the trial limit refused an answer, 2 bad use, 3 `out` could not be
// written. The methods are those of `table`.
int sessionCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err, const MethodTable& table = methods());

extern const char* const kSessionHelp;

}  // namespace limenta::cli
