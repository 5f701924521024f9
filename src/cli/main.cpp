// limenta-sim: Limenta's estimation core on the command line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/replay.h"
#include "cli/simulate.h"

namespace {

constexpr const char* kHelp = R"(Usage: limenta-sim COMMAND [options]

Commands:
  replay     replay one run from scripted answers (limenta-sim replay --help)
  simulate   measure both procedures on virtual subjects (limenta-sim simulate --help)

Exit status: 0 done; 1 a replayed run reached its 200 answers; 2 bad use; 3 the output
(or simulate's plot) could not be written.
)";

constexpr int kOutputFailed = 3;

// Output that could not be written is reported, never lost in silence: written in one go
// once the command is done, so the system's reason is the write's own.
int written(const std::string& output, int status) {
    if (std::fwrite(output.data(), 1, output.size(), stdout) != output.size() ||
        std::fflush(stdout) != 0) {
        std::cerr << "limenta-sim: could not write the output (" << std::strerror(errno) << ")\n";
        return kOutputFailed;
    }
    return status;
}

int run(const std::vector<std::string>& args, std::ostream& out) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kHelp;
        return args.empty() ? 2 : 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "replay") {
        return limenta::cli::replayCommand(rest, out, std::cerr);
    }
    if (args[0] == "simulate") {
        return limenta::cli::simulateCommand(rest, out, std::cerr);
    }
    std::cerr << "limenta-sim: unknown command " << args[0] << " (see limenta-sim --help)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::ostringstream out;
    const int status = run(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), out);
    return written(out.str(), status);
}
