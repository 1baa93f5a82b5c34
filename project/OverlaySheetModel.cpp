#include "project/OverlaySheetModel.h"

#include "project/overlay_file.h"

namespace sulcan {

FileListPageModel::FileListPageModel(ProjectSettings& settings, OverlayList list,
                                     FileLocations& locations, Ui& ui)
    : settings_(settings), list_(list), locations_(locations), ui_(ui) {
    for (int i = settings_.ListCount(list_) - 1; i >= 0; --i)
        if (settings_.ListEntry(list_, i, false).empty()) settings_.RemoveListEntry(list_, i);
    for (int i = 0; i < settings_.ListCount(list_); ++i) lines_.push_back(LineOf(i));
    ShowPlaceholderIfEmpty();
}

const char* FileListPageModel::title() const {
    switch (list_) {
        case OverlayList::Roi:
            return msg::kOverlayPageRois;
        case OverlayList::Functional:
            return msg::kOverlayPageFunctionals;
        case OverlayList::Cut:
            return msg::kOverlayPageCuts;
    }
    return "";
}

bool FileListPageModel::Openable(int index) const {
    return CanOpenOverlayFile(settings_.ListEntry(list_, index, true));
}

std::string FileListPageModel::LineOf(int index) const {
    const std::string name = settings_.ListEntry(list_, index, false);
    if (!Openable(index)) return msg::kOverlayStatusNotFound + name;
    return (settings_.ListEnabled(list_, index) ? msg::kOverlayStatusYes : msg::kOverlayStatusNo) +
           name;
}

void FileListPageModel::ShowPlaceholderIfEmpty() {
    if (settings_.ListCount(list_) == 0) lines_.assign(1, msg::kOverlayNoFiles);
}

void FileListPageModel::Select(int row) {
    selection_ = row >= 0 && row < settings_.ListCount(list_) ? row : -1;
}

void FileListPageModel::AddFile() {
    const int location = OverlayLocationType(list_);
    FileRequest request;
    request.mode = FileRequest::Mode::Open;
    request.filter = msg::kOverlayFilter;
    request.initialPath = locations_.PathIn(location, "");
    const auto choice = ui_.ChooseFile(request);
    if (!choice) return;
    locations_.RecordLastLocation(location, choice->path);
    if (!settings_.AddListEntry(list_, choice->path)) return;
    const int added = settings_.ListCount(list_) - 1;
    if (added == 0) lines_.clear();
    lines_.push_back(LineOf(added));
    if (Openable(added)) changed_ = true;
}

void FileListPageModel::RemoveSelected() {
    if (selection_ < 0) return;
    const int index = selection_;
    if (settings_.ListEnabled(list_, index) && Openable(index)) changed_ = true;
    settings_.RemoveListEntry(list_, index);
    lines_.erase(lines_.begin() + index);
    selection_ = -1;
    ShowPlaceholderIfEmpty();
}

void FileListPageModel::ToggleSelected() {
    if (selection_ < 0) return;
    const int index = selection_;
    settings_.SetListEnabled(list_, index, settings_.ListEnabled(list_, index) ? 0 : 1);
    if (Openable(index)) changed_ = true;
    lines_[size_t(index)] = LineOf(index);
}

void FileListPageModel::DoubleClick(int row) {
    Select(row);
    ToggleSelected();
}

OverlaySheetModel::OverlaySheetModel(ProjectSettings& settings, FileLocations& locations, Ui& ui)
    : pages_{FileListPageModel(settings, OverlayList::Roi, locations, ui),
             FileListPageModel(settings, OverlayList::Functional, locations, ui),
             FileListPageModel(settings, OverlayList::Cut, locations, ui)} {}

bool OverlaySheetModel::changed() const {
    for (const FileListPageModel& p : pages_)
        if (p.changed()) return true;
    return false;
}

}  // namespace sulcan
