#include "platform/MemoryProfile.h"

namespace sulcan {

int MemoryProfile::GetInt(const std::string& section, const std::string& name, int fallback) {
    auto it = ints_.find({section, name});
    return it == ints_.end() ? fallback : it->second;
}
void MemoryProfile::SetInt(const std::string& section, const std::string& name, int value) {
    ints_[{section, name}] = value;
    ++writes_;
}
std::string MemoryProfile::GetString(const std::string& section, const std::string& name,
                                     const std::string& fallback) {
    auto it = strings_.find({section, name});
    return it == strings_.end() ? fallback : it->second;
}
void MemoryProfile::SetString(const std::string& section, const std::string& name,
                              const std::string& value) {
    strings_[{section, name}] = value;
    ++writes_;
}

}  // namespace sulcan
