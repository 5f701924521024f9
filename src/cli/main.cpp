// limenta-sim: Limenta's estimation core on the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/replay.h"
#include "cli/simulate.h"

namespace {

constexpr const char* kHelp = R"(Usage: limenta-sim COMMAND [options]

Commands:
  replay     replay one run from scripted answers (limenta-sim replay --help)
  simulate   measure both procedures on virtual subjects (limenta-sim simulate --help)
)";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kHelp;
        return args.empty() ? 2 : 0;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "replay") {
        return limenta::cli::replayCommand(rest, std::cout, std::cerr);
    }
    if (args[0] == "simulate") {
        return limenta::cli::simulateCommand(rest, std::cout, std::cerr);
    }
    std::cerr << "limenta-sim: unknown command " << args[0] << " (see limenta-sim --help)\n";
    return 2;
}
