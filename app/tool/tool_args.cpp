#include "app/tool/tool_args.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace sulcan::tool {

std::string Args::Parse(const std::vector<std::string>& argv, const ArgSpec& spec) {
    for (size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (a.size() < 3 || a.compare(0, 2, "--") != 0) {
            positional_.push_back(a);
            continue;
        }
        std::string name = a.substr(2), value;
        bool inlineValue = false;
        if (size_t eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        if (spec.flags.count(name)) {
            if (inlineValue) return "option --" + name + " takes no value";
            values_.emplace(name, "");
        } else if (spec.valueOptions.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= argv.size()) return "option --" + name + " needs a value";
                value = argv[++i];
            }
            if (values_.count(name) && !spec.repeatable.count(name))
                return "option --" + name + " given twice";
            values_.emplace(name, value);
        } else {
            return "unknown option --" + name;
        }
    }
    return {};
}

std::optional<std::string> Args::Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> Args::Values(const std::string& name) const {
    std::vector<std::string> out;
    auto [first, last] = values_.equal_range(name);
    for (auto it = first; it != last; ++it) out.push_back(it->second);
    return out;
}

std::string Args::Int(const std::string& name, long lo, long hi, long& out) const {
    auto v = Value(name);
    if (!v) return {};
    char* end = nullptr;
    errno = 0;
    long parsed = std::strtol(v->c_str(), &end, 10);
    if (v->empty() || *end || errno || parsed < lo || parsed > hi)
        return "--" + name + " must be a whole number in " + std::to_string(lo) + ".." +
               std::to_string(hi);
    out = parsed;
    return {};
}

std::string Args::Real(const std::string& name, double lo, double hi, double& out) const {
    auto v = Value(name);
    if (!v) return {};
    char* end = nullptr;
    double parsed = std::strtod(v->c_str(), &end);
    if (v->empty() || *end || !(parsed >= lo && parsed <= hi))
        return "--" + name + " must be a number in " + std::to_string(lo) + ".." +
               std::to_string(hi);
    out = parsed;
    return {};
}

}  // namespace sulcan::tool
