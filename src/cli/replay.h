// limenta-sim replay: a run replayed from scripted answers, as the window would take them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/run/methods.h"

namespace limenta::cli {

// Exit status: 0 done, 1 the trial limit refused an answer, 2 bad use. The methods are
// those of `table`.
int replayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  const MethodTable& table = methods());

extern const char* const kReplayHelp;

}  // namespace limenta::cli
