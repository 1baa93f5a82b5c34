#include "app/RecentProjects.h"

#include <algorithm>

#include "app/AppSettings.h"
#include "platform/format.h"

namespace sulcan {

namespace {
std::string ValueName(int i) { return Format(setting::kRecentFileFormat, i + 1); }
constexpr const char* kSection = setting::kRecentFileSection;
}  // namespace

RecentProjects::RecentProjects(Profile& profile) : profile_(profile) {
    for (int i = 0; i < kEntries; ++i) {
        std::string name = profile_.GetString(kSection, ValueName(i), "");
        if (!name.empty()) entries_.push_back(name);
    }
}

void RecentProjects::Add(const std::string& path) {
    if (path.empty()) return;
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > size_t(kEntries)) entries_.resize(kEntries);
    Write();
}

void RecentProjects::Remove(int index) {
    if (index < 0 || index >= count()) return;
    entries_.erase(entries_.begin() + index);
    Write();
}

std::string RecentProjects::Entry(int index) const {
    return index >= 0 && index < count() ? entries_[index] : std::string();
}

void RecentProjects::Write() {
    for (int i = 0; i < kEntries; ++i) profile_.SetString(kSection, ValueName(i), Entry(i));
}

}  // namespace sulcan
