// Runs limenta-sim as a separate program, the way a user or a script runs it.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

struct Result {
    int status = -1;
    std::string output;
};

// Runs limenta-sim with `arguments`; `streams` picks what is captured ("" stdout only,
// "2>&1" both, "2>&1 >/dev/null" stderr only).
inline Result runSim(const std::string& arguments, const std::string& streams = "") {
    const std::string command = std::string(LIMENTA_SIM) + " " + arguments + " " + streams;
    Result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.output.append(buffer.data(), n);
    }
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

}  // namespace
