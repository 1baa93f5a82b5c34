#pragma once
// The ten default folders of the file dialogs, each with an auto-update flag, kept in the
// profile ("ProjectPath"/"ProjectAuto" ... "MoviePath"/"MovieAuto").
#include <array>
#include <string>

#include "platform/Profile.h"

namespace sulcan {

enum LocationType {
    kLocationProject = 0,
    kLocationAnatomy = 1,
    kLocationClassification = 2,
    kLocationGray = 3,
    kLocationFunctional = 4,
    kLocationRoi = 5,
    kLocationCut = 6,
    kLocation3D = 7,
    kLocation2D = 8,
    kLocationMovie = 9,
};
inline constexpr int kLocationCount = 10;

struct LocationInfo {
    const char* pathValue;  // registry value of the folder
    const char* autoValue;  // registry value of the auto-update flag
    const char* defaultPath;
    int defaultAuto;
    const char* label;        // row label of the "File Locations" dialog
    const char* browseTitle;  // title of the folder chooser of that row
};
// A type outside 0..9 gives a row of empty texts.
const LocationInfo& LocationInfoOf(int type);
inline bool IsLocationType(int type) {
    return type >= 0 && type < kLocationCount;
}

class FileLocations {
public:
    // Reads the ten folders and flags and stores the folders back in their normalised form.
    explicit FileLocations(Profile& profile);

    // Folder of the open project (with or without trailing "/"); empty when none is open.
    void SetProjectFolder(const std::string& folder) { projectFolder_ = folder; }

    // Without `absolute` the stored text. With it, the project location is taken against the
    // working folder and every other location against the open project's folder (or the
    // absolute project location when no project is open); an absolute one is only normalised.
    std::string GetLocation(int type, bool absolute) const;
    // Any folder text made absolute as a location of that type would be (for a dialog's edit
    // that is not stored yet).
    std::string ResolveLocation(int type, const std::string& location) const;
    // The absolute location with a trailing "/" and `name` appended (the start of a dialog).
    std::string PathIn(int type, const std::string& name) const;
    // Without force only when the type's auto-update flag is set: stores the folder (trailing
    // "/" removed) and writes it to the profile at once. Returns 1 when stored.
    int SetLocation(const std::string& path, int type, bool force);
    // SetLocation without force with the folder of a file chosen in a dialog.
    void RecordLastLocation(int type, const std::string& filePath);

    int autoUpdate(int type) const { return IsLocationType(type) ? autoUpdate_[type] : 0; }
    // Stores and writes the flag.
    void SetAutoUpdate(int type, int value);

private:
    Profile& profile_;
    std::array<std::string, kLocationCount> locations_;
    std::array<int, kLocationCount> autoUpdate_{};
    std::string projectFolder_;
};

// "/a/b/" -> "/a/b"; the root "/" stays.
std::string WithoutTrailingSlashes(std::string path);

}  // namespace sulcan
