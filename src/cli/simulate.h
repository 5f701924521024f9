// limenta-sim simulate: both procedures measured on many virtual subjects.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace limenta::cli {

// Exit status: 0 done, 2 bad use, 3 the plot file could not be written.
int simulateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace limenta::cli
