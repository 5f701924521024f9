#include "cli/options.h"

namespace limenta::cli {

int badUse(std::ostream& err, const std::string& command, const std::string& problem) {
    err << "limenta-sim " << command << ": " << problem << " (see limenta-sim " << command
        << " --help)\n";
    return kBadUse;
}

std::optional<std::string> Options::parse(const std::vector<std::string>& args,
                                          const std::set<std::string>& valued,
                                          const std::set<std::string>& switches, Options& into) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (switches.contains(arg)) {
            into.switches_.insert(arg);
        } else if (valued.contains(arg)) {
            if (i + 1 >= args.size()) {
                return "missing value after " + arg;
            }
            into.values_[arg] = args[++i];
        } else {
            return "unknown option " + arg;
        }
    }
    return std::nullopt;
}

bool Options::has(const std::string& name) const {
    return values_.contains(name) || switches_.contains(name);
}

std::string Options::value(const std::string& name, const std::string& fallback) const {
    const auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
}

}  // namespace limenta::cli
