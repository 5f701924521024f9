// A small command-line option reader: "--name value" pairs and "--flag" switches.
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace limenta::cli {

// The exit status of a command used wrongly.
inline constexpr int kBadUse = 2;

// "limenta-sim replay: <problem> (see limenta-sim replay --help)" on `err`; returns kBadUse.
int badUse(std::ostream& err, const std::string& command, const std::string& problem);

class Options {
  public:
    // Reads `args` against the options that take a value and the switches that do not.
    // Returns the problem as one line when the use is bad.
    static std::optional<std::string> parse(const std::vector<std::string>& args,
                                            const std::set<std::string>& valued,
                                            const std::set<std::string>& switches, Options& into);

    [[nodiscard]] bool has(const std::string& name) const;
    [[nodiscard]] std::string value(const std::string& name, const std::string& fallback) const;

  private:
    std::map<std::string, std::string> values_;
    std::set<std::string> switches_;
};

}  // namespace limenta::cli
