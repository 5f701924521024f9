// limenta-sim: Limenta's estimation core on the command line.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/output.h"
#include "cli/replay.h"
#include "cli/session.h"
#include "cli/simulate.h"

namespace {

constexpr const char* kHelp = R"(Usage: limenta-sim COMMAND [options]

Commands:
  replay     replay one run from scripted answers (limenta-sim replay --help)
  session    run one run answer by answer over standard input and output, for a
             script that fires the stimulator (limenta-sim session --help)
  simulate   measure the procedures on virtual subjects (limenta-sim simulate --help)

Exit status: 0 done; 1 a run reached its 200 answers; 2 bad use; 3 the output (or
simulate's plot) could not be written.
)";

// Written in one go once the command is done, so the system's reason for a failure is the
// write's own.
int written(const std::string& output, int status) {
    if (std::fwrite(output.data(), 1, output.size(), stdout) != output.size() ||
        std::fflush(stdout) != 0) {
        return limenta::cli::outputFailed();
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
    // A reader that has gone away makes a write fail, reported as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!args.empty() && args[0] == "session") {
        // Line by line as the script answers: nothing waits for the end.
        return limenta::cli::sessionCommand({args.begin() + 1, args.end()}, std::cin, std::cout,
                                            std::cerr);
    }
    std::ostringstream out;
    const int status = run(args, out);
    return written(out.str(), status);
}
