#pragma once
// The "File Locations" dialog: one row per location type with its folder and auto-update
// flag, edited in the dialog and stored only on OK.
#include <array>
#include <string>

#include "platform/Ui.h"
#include "project/file_locations.h"

namespace sulcan {

namespace msg::locations {
inline constexpr const char* kCaption = "File Locations";
inline constexpr const char* kFirstPlace = "Enter first place to look for each file type";
inline constexpr const char* kAutoUpdateNote =
    "If \"Auto Update\" is checked, Sulcan will automatically track the last location used to "
    "load files of the associated type.";
inline constexpr const char* kRelativeNote =
    "Where a fully qualified path is not specified, all paths are assumed relative to the "
    "current project directory except for the default project directory itself, which is "
    "assumed relative to the Windows working directory.";
inline constexpr const char* kAutoUpdateHeader = "Auto\nupdate";
inline constexpr const char* kBrowse = "Browse";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kCancel = "Cancel";
}  // namespace msg::locations

class FileLocationsModel {
public:
    static constexpr size_t kMaxPathLength = 254;

    // Starts from the stored locations and flags.
    FileLocationsModel(FileLocations& locations, Ui& ui);

    const char* label(int type) const { return LocationInfoOf(type).label; }
    std::string path(int type) const { return IsLocationType(type) ? paths_[type] : ""; }
    // Typed text, kept to the edit's 254 characters.
    void SetPath(int type, const std::string& text);
    bool autoUpdate(int type) const { return IsLocationType(type) && autoUpdate_[type]; }
    void SetAutoUpdate(int type, bool on);

    // "Browse": the folder chooser with the row's title, starting at the row's folder made
    // absolute. A chosen folder replaces the row's text; true when it did.
    bool Browse(int type);

    // "OK": writes the ten flags, then stores all ten folders. Cancel needs nothing.
    void Ok();

private:
    FileLocations& locations_;
    Ui& ui_;
    std::array<std::string, kLocationCount> paths_;
    std::array<bool, kLocationCount> autoUpdate_{};
};

}  // namespace sulcan
