#include "volume/CSulcanDoc.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "volume/messages.h"

namespace sulcan {

CSulcanDoc::CSulcanDoc() : settings_(std::make_unique<ProjectSettings>()) {}
CSulcanDoc::~CSulcanDoc() = default;

bool CSulcanDoc::AnatomyIsEmpty() const {
    return std::all_of(anatomy_.begin(), anatomy_.end(), [](uint8_t v) { return v == 0; });
}

void CSulcanDoc::InstallAnatomy(std::vector<uint8_t> data, const VolumeDims& dims) {
    anatomy_ = std::move(data);
    dims_ = dims;
    settings_->SetVolumeSize(dims.x, dims.y, dims.z);
}

void CSulcanDoc::InstallClassification(std::vector<uint8_t> labels) {
    classification_ = std::move(labels);
}

void CSulcanDoc::StartNewProject(std::vector<uint8_t> anatomy, VolumeDims dims) {
    if (anatomy.empty()) anatomy.assign(dims.voxels(), 0);
    InstallAnatomy(std::move(anatomy), dims);
    classification_.assign(dims.voxels(), 0);
    voi_ = VoiBox::Whole(dims);
    SetCursor(dims.x / 2, dims.y / 2, dims.z / 2, Sagittal, false);
}

void CSulcanDoc::NoteTissueChange(uint8_t oldTissue, uint8_t newTissue) {
    auto involved = [&](uint8_t t) { return oldTissue == t || newTissue == t; };
    if (involved(Gray)) grayChanged_ = true;
    if (involved(White)) {
        classificationChanged_ = true;
        settings_->ClearTopologyResult();
    }
    if (involved(Csf)) classificationChanged_ = true;
}

int CSulcanDoc::PaintVoxel(int32_t x, int32_t y, int32_t z, uint8_t label, int editMode) {
    uint8_t& voxel = classification_[dims_.index(x, y, z)];
    if (voxel == label) return 0;
    if (voxel != Unknown) {
        const uint8_t tissue = TissueOf(voxel);
        if ((editMode == kEditWhite && tissue != White) || (editMode == kEditCsf && tissue != Csf) ||
            (editMode == kEditGray && tissue != Gray))
            return 0;
    }
    NoteTissueChange(TissueOf(voxel), TissueOf(label));
    voxel = label;
    return 1;
}

uint8_t CSulcanDoc::GetVoxel(int32_t x, int32_t y, int32_t z) {
    if (!dims_.contains(x, y, z)) return 0;
    uint8_t& voxel = classification_[dims_.index(x, y, z)];
    if (!IsLegalLabel(voxel)) voxel = 0;
    return voxel;
}

void CSulcanDoc::ReplaceLabels(uint8_t mask, uint8_t match, uint8_t newLabel) {
    // Branch-free so that the compiler vectorises the pass over the whole volume.
    uint8_t changed = 0;
    uint8_t* p = classification_.data();
    const size_t n = classification_.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t v = p[i];
        const bool hit = (v & mask) == match;
        changed |= uint8_t(hit & (v != newLabel));
        p[i] = hit ? newLabel : v;
    }
    if (changed && TissueOf(match) != TissueOf(newLabel))
        NoteTissueChange(TissueOf(match), TissueOf(newLabel));
}

void CSulcanDoc::Relabel(const Relabelling& command) {
    ReplaceLabels(command.mask, command.match, command.replacement);
    if (command.releasesGrayGraph) {
        ReleaseGrayGraph();
        anySelectedGray_ = false;
    }
}

int CSulcanDoc::HasSelectedGray() {
    anySelectedGray_ = std::find(classification_.begin(), classification_.end(), SelectedGray) !=
                       classification_.end();
    return anySelectedGray_ ? 1 : 0;
}

void CSulcanDoc::ClearClassification() {
    std::fill(classification_.begin(), classification_.end(), 0);
    SetCursor(dims_.x / 2, dims_.y / 2, dims_.z / 2, Sagittal, false);
}

void CSulcanDoc::ShowVoiStatus() {
    if (!host_) return;
    char text[96];
    std::snprintf(text, sizeof text, msg::kVoiStatusFormat, voi_.xmin, voi_.ymin, voi_.zmin,
                  voi_.xmax, voi_.ymax, voi_.zmax);
    host_->ShowVoiStatus(text);
}

void CSulcanDoc::SetVoi(const VoiBox& box) {
    voi_ = box;
    ShowVoiStatus();
    settings_->ClearTopologyResult();
    classificationChanged_ = true;
}

void CSulcanDoc::RefreshStatus() {
    ShowVoiStatus();
    cursorText_.clear();
    if (cursor_.valid) SetCursor(cursor_.x, cursor_.y, cursor_.z, -1, false);
}

bool CSulcanDoc::GetCursor(int32_t& x, int32_t& y, int32_t& z, int32_t& orientation) const {
    if (!cursor_.valid) return false;
    x = cursor_.x, y = cursor_.y, z = cursor_.z, orientation = cursor_.orientation;
    return true;
}

void CSulcanDoc::SetCursor(int32_t x, int32_t y, int32_t z, int32_t orientation, bool redraw) {
    cursor_.valid = true;
    cursor_.x = x, cursor_.y = y, cursor_.z = z;
    if (orientation != -1) cursor_.orientation = orientation;
    if (host_) {
        char text[64];
        std::snprintf(text, sizeof text, msg::kCursorStatusFormat, x % 1000, y % 1000, z % 1000);
        if (cursorText_ != text) {
            cursorText_ = text;
            host_->ShowCursorStatus(cursorText_);
        }
        if (redraw) host_->RedrawViewerHighlights();
    }
}

bool CSulcanDoc::GrayChanged() {
    if (!grayGraph_) grayChanged_ = false;
    return grayChanged_;
}

void CSulcanDoc::ReleaseGrayGraph() {
    grayGraph_.reset();
    anySelectedGray_ = false;
}

void CSulcanDoc::AddObserver(DocumentObserver* view) {
    if (std::find(observers_.begin(), observers_.end(), view) == observers_.end())
        observers_.push_back(view);
}

void CSulcanDoc::RemoveObserver(DocumentObserver* view) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), view), observers_.end());
}

void CSulcanDoc::UpdateAllViews(int changeCode) {
    for (DocumentObserver* v : std::vector<DocumentObserver*>(observers_))
        v->OnDocumentChanged(changeCode);
}

void CSulcanDoc::NotifyDimensionsChanged() {
    for (DocumentObserver* v : std::vector<DocumentObserver*>(observers_))
        v->OnDimensionsChanged();
}

}  // namespace sulcan
