#include "cli/output.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace limenta::cli {

int outputFailed() {
    std::cerr << "limenta-sim: could not write the output (" << std::strerror(errno) << ")\n";
    return kOutputFailed;
}

}  // namespace limenta::cli
