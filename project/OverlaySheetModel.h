#pragma once
// The sheet "Overlay file lists": one page per overlay list, each showing the list's entries
// with their state and changing the project's list at once (there is no undo).
#include <array>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "project/ProjectSettings.h"
#include "project/file_locations.h"

namespace sulcan {

namespace msg {
inline constexpr const char* kOverlaySheetTitle = "Overlay file lists";
inline constexpr const char* kOverlaySheetClose = "Close";
inline constexpr const char* kOverlayPageRois = "ROIs";
inline constexpr const char* kOverlayPageFunctionals = "Functionals";
inline constexpr const char* kOverlayPageCuts = "Cuts";
inline constexpr const char* kOverlayEnabledCaption = "Enabled";
inline constexpr const char* kOverlayDoubleClickHint = "Double click a file to enable / disable.";
inline constexpr const char* kOverlayAddFile = "Add file";
inline constexpr const char* kOverlayRemoveFile = "Remove file";
inline constexpr const char* kOverlayEnableDisable = "Enable / Disable";
inline constexpr const char* kOverlayStatusYes = "Yes\t";
inline constexpr const char* kOverlayStatusNo = "No\t";
inline constexpr const char* kOverlayStatusNotFound = "Not found\t";
inline constexpr const char* kOverlayNoFiles = "\t(No files selected)";
inline constexpr const char* kOverlayFilter = "Overlay Files (*.*)|*.*|All Files (*.*)|*.*||";
}  // namespace msg

// Where the name column of a list line starts, in dialog units.
inline constexpr int kOverlayListTabStop = 45;

// One page (CFileListPage): the lines of its list box, the selected line and the buttons.
class FileListPageModel {
  public:
    // Opening the page removes the list's entries that have no name.
    FileListPageModel(ProjectSettings& settings, OverlayList list, FileLocations& locations,
                      Ui& ui);

    OverlayList list() const { return list_; }
    const char* title() const;
    // Status, tab and stored name per entry; a single "(No files selected)" line when empty.
    const std::vector<std::string>& lines() const { return lines_; }
    // "Remove file" and "Enable / Disable".
    bool buttonsEnabled() const { return settings_.ListCount(list_) > 0; }

    int selection() const { return selection_; }
    // A row of lines(); anything else (or the placeholder line) selects nothing.
    void Select(int row);

    void AddFile();
    void RemoveSelected();
    void ToggleSelected();
    void DoubleClick(int row);

    // The user changed what LoadOverlays would read.
    bool changed() const { return changed_; }

  private:
    bool Openable(int index) const;
    std::string LineOf(int index) const;
    void ShowPlaceholderIfEmpty();

    ProjectSettings& settings_;
    OverlayList list_;
    FileLocations& locations_;
    Ui& ui_;
    std::vector<std::string> lines_;
    int selection_ = -1;
    bool changed_ = false;
};

// The sheet (COverlaySheet): pages "ROIs", "Functionals" and "Cuts", in that order.
class OverlaySheetModel {
  public:
    static constexpr int kPageCount = 3;
    OverlaySheetModel(ProjectSettings& settings, FileLocations& locations, Ui& ui);

    const char* title() const { return msg::kOverlaySheetTitle; }
    FileListPageModel& page(int index) { return pages_[size_t(index)]; }
    const FileListPageModel& page(int index) const { return pages_[size_t(index)]; }
    // Any page changed: the document reloads its overlays when the sheet closes.
    bool changed() const;

  private:
    std::array<FileListPageModel, kPageCount> pages_;
};

}  // namespace sulcan
