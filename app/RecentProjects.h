#pragma once
// The three most recently used projects, kept by the profile in "Recent File List" as
// "File1".."File3", newest first.
#include <string>
#include <vector>

#include "platform/Profile.h"

namespace sulcan {

class RecentProjects {
public:
    static constexpr int kEntries = 3;

    explicit RecentProjects(Profile& profile);
    // Moves the file to the front (an entry naming the same file is dropped) and writes.
    void Add(const std::string& path);
    void Remove(int index);
    // Entry i (0-based), empty when there is none.
    std::string Entry(int index) const;
    int count() const { return int(entries_.size()); }

private:
    void Write();
    Profile& profile_;
    std::vector<std::string> entries_;
};

}  // namespace sulcan
