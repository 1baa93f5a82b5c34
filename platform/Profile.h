#pragma once
// The settings port: integer and string values by section and name, as the registry profile
// of the original platform offered them. Qt keeps them in QSettings; tests use MemoryProfile.
#include <string>

namespace sulcan {

class Profile {
public:
    virtual ~Profile() = default;
    virtual int GetInt(const std::string& section, const std::string& name, int fallback) = 0;
    virtual void SetInt(const std::string& section, const std::string& name, int value) = 0;
    virtual std::string GetString(const std::string& section, const std::string& name,
                                  const std::string& fallback) = 0;
    virtual void SetString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
};

// Section of every preference value.
inline constexpr const char* kSettingsSection = "Settings";

}  // namespace sulcan
