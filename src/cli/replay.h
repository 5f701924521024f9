// limenta-sim replay: a run replayed from scripted answers, as the window would take them.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace limenta::cli {

// Exit status: 0 done, 1 the trial limit refused an answer, 2 bad use.
int replayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kReplayHelp;

}  // namespace limenta::cli
