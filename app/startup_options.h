#pragma once
// The start-up command line: server registration words and the program's own options.
#include <optional>
#include <string>
#include <vector>

namespace sulcan {

struct StartupOptions {
    bool serverRegistration = false;  // "RegServer" / "UnregServer": nothing to do on Linux
    std::optional<int> layers;        // 1..99
    std::optional<int> zoom[3];       // x, y, z, each 1..10
    std::string mri, classification;  // accepted and kept; no effect
};

// argv without the program name. An option is a word after "-" or "/", case-sensitive, taking
// the next argument as its value; values out of range, options without a value and plain
// arguments are ignored.
StartupOptions ParseStartupOptions(const std::vector<std::string>& args);

}  // namespace sulcan
