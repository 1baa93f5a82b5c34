#pragma once
// Command-line parsing for sulcan-tool: "--name value" options, "--flag" switches and
// positional arguments, checked against what a subcommand accepts.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sulcan::tool {

enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitCancelled = 3 };

struct ArgSpec {
    std::set<std::string> valueOptions;  // take a value: "--size 128"
    std::set<std::string> flags;         // stand alone: "--cavity"
    std::set<std::string> repeatable;    // value options that may be given more than once
};

class Args {
public:
    // Returns an error text, or empty on success.
    std::string Parse(const std::vector<std::string>& argv, const ArgSpec& spec);
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // Integer / real option with range check; on error returns an error text.
    std::string Int(const std::string& name, long lo, long hi, long& out) const;
    std::string Real(const std::string& name, double lo, double hi, double& out) const;

private:
    std::multimap<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

}  // namespace sulcan::tool
