#include "project/file_locations.h"

#include "platform/paths.h"

namespace sulcan {

namespace {
const LocationInfo kLocations[kLocationCount] = {
    {"ProjectPath", "ProjectAuto", "", 1, "Project files",
     "Select default location for project files"},
    {"AnatomyPath", "AnatomyAuto", "", 0, "Volume anatomies",
     "Select default location for volume anatomy files"},
    {"ClassificationPath", "ClassificationAuto", "", 0, "Classifications",
     "Select default location for classification files"},
    {"GrayPath", "GrayAuto", "", 0, "Gray matter graphs",
     "Select default location for gray matter files"},
    {"FunctionalPath", "FunctionalAuto", "", 0, "Functional data",
     "Select default location for functional files"},
    {"ROIPath", "ROIAuto", "", 0, "ROI data", "Select default location for ROI files"},
    {"CutPath", "CutAuto", "", 0, "Cut files", "Select default location for cut files"},
    {"3DPath", "3DAuto", "3DMeshes", 0, "3D mesh files",
     "Select default location for 3D mesh files"},
    {"2DPath", "2DAuto", "TIFFs", 0, "2D Image files",
     "Select default location for 2D image files"},
    {"MoviePath", "MovieAuto", "Movies", 0, "Movie files",
     "Select default location for movie files"},
};
const LocationInfo kNoLocation = {"", "", "", 0, "", ""};
}  // namespace

const LocationInfo& LocationInfoOf(int type) {
    return IsLocationType(type) ? kLocations[type] : kNoLocation;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

FileLocations::FileLocations(Profile& profile) : profile_(profile) {
    for (int t = 0; t < kLocationCount; ++t) {
        const LocationInfo& info = kLocations[t];
        autoUpdate_[t] = profile_.GetInt(kSettingsSection, info.autoValue, info.defaultAuto);
        SetLocation(profile_.GetString(kSettingsSection, info.pathValue, info.defaultPath), t,
                    true);
    }
}

std::string FileLocations::GetLocation(int type, bool absolute) const {
    if (!IsLocationType(type)) return {};
    return absolute ? ResolveLocation(type, locations_[type]) : locations_[type];
}

std::string FileLocations::ResolveLocation(int type, const std::string& location) const {
    if (!IsLocationType(type)) return {};
    const std::string text = ToPosixSeparators(location);
    if (IsAbsolutePath(text)) return WithoutTrailingSlashes(NormalisePath(text));
    std::string base;
    if (type == kLocationProject)
        base = CurrentDirectory();
    else
        base = projectFolder_.empty() ? GetLocation(kLocationProject, true) : projectFolder_;
    // An empty location is the base folder itself.
    return WithoutTrailingSlashes(MakeAbsolutePath(text.empty() ? "." : text, base));
}

std::string FileLocations::PathIn(int type, const std::string& name) const {
    return WithTrailingSlash(GetLocation(type, true)) + name;
}

int FileLocations::SetLocation(const std::string& path, int type, bool force) {
    if (!IsLocationType(type)) return 0;
    if (!force && !autoUpdate_[type]) return 0;
    locations_[type] = WithoutTrailingSlashes(ToPosixSeparators(path));
    profile_.SetString(kSettingsSection, kLocations[type].pathValue, locations_[type]);
    return 1;
}

void FileLocations::RecordLastLocation(int type, const std::string& filePath) {
    // A relative name would otherwise be stored as a folder below the project.
    SetLocation(FolderOf(MakeAbsolutePath(ToPosixSeparators(filePath), CurrentDirectory())), type,
                false);
}

void FileLocations::SetAutoUpdate(int type, int value) {
    if (!IsLocationType(type)) return;
    autoUpdate_[type] = value;
    profile_.SetInt(kSettingsSection, kLocations[type].autoValue, value);
}

}  // namespace sulcan
