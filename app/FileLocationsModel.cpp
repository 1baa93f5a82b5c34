#include "app/FileLocationsModel.h"

#include "app/AppSettings.h"

namespace sulcan {

FileLocationsModel::FileLocationsModel(FileLocations& locations, Ui& ui)
    : locations_(locations), ui_(ui) {
    for (int t = 0; t < kLocationCount; ++t) {
        paths_[t] = locations.GetLocation(t, false);
        autoUpdate_[t] = locations.autoUpdate(t) != 0;
    }
}

void FileLocationsModel::SetPath(int type, const std::string& text) {
    if (IsLocationType(type)) paths_[type] = LimitedText(text, kMaxPathLength);
}

void FileLocationsModel::SetAutoUpdate(int type, bool on) {
    if (IsLocationType(type)) autoUpdate_[type] = on;
}

bool FileLocationsModel::Browse(int type) {
    if (!IsLocationType(type)) return false;
    std::optional<std::string> folder = ui_.ChooseFolder(
        LocationInfoOf(type).browseTitle, locations_.ResolveLocation(type, paths_[type]));
    // A folder longer than the edit holds is refused: cut short it would name another one.
    if (!folder || LimitedText(*folder, kMaxPathLength) != *folder) return false;
    paths_[type] = *folder;
    return true;
}

void FileLocationsModel::Ok() {
    for (int t = 0; t < kLocationCount; ++t) locations_.SetAutoUpdate(t, autoUpdate_[t] ? 1 : 0);
    for (int t = 0; t < kLocationCount; ++t) locations_.SetLocation(paths_[t], t, true);
}

}  // namespace sulcan
