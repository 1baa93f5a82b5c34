#pragma once
// A Profile kept in memory: for tests and for the command-line tool.
#include <map>
#include <string>
#include <utility>

#include "platform/Profile.h"

namespace sulcan {

class MemoryProfile : public Profile {
public:
    int GetInt(const std::string& section, const std::string& name, int fallback) override;
    void SetInt(const std::string& section, const std::string& name, int value) override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& fallback) override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;

    bool HasInt(const std::string& section, const std::string& name) const {
        return ints_.count({section, name}) != 0;
    }
    bool HasString(const std::string& section, const std::string& name) const {
        return strings_.count({section, name}) != 0;
    }
    // Number of values written so far (to check that a command wrote nothing).
    int writes() const { return writes_; }

private:
    using Key = std::pair<std::string, std::string>;
    std::map<Key, int> ints_;
    std::map<Key, std::string> strings_;
    int writes_ = 0;
};

}  // namespace sulcan
