#include "project/project_file.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/byte_io.h"
#include "platform/paths.h"
#include "project/in_range.h"

namespace sulcan {

namespace {

constexpr char kMagic[14] = "sulcanproject";  // 13 letters and the zero byte
constexpr int32_t kVersion = 1, kSecondVersion = 0;
constexpr size_t kNameBytes = 256;
constexpr size_t kMaxStringLength = 4096;  // longest path a stored string may hold
constexpr int32_t kMaxViews = 999;

// Strings order after the fixed part of the file.
constexpr ProjectFile kStringOrder[] = {
    ProjectFile::Anatomy,     ProjectFile::Classification, ProjectFile::GrayGraph,
    ProjectFile::Output,      ProjectFile::Image,          ProjectFile::MovieImage,
    ProjectFile::MovieScript,
};


}  // namespace

class ProjectFileCodec {
public:
    static bool Write(ByteWriter& w, const ProjectSettings& s, const ProjectWindows& win,
                      int32_t viewCount, int32_t activeView);
    static bool Read(ByteReader& r, ProjectSettings& s);
    // Identity from the path being loaded; the names stay relative to its folder, so a moved
    // project folder still finds its files.
    static void TakeLoadedPath(ProjectSettings& s, const std::string& path) {
        s.projectPath_ = MakeAbsolutePath(path, {});
        s.projectName_ = StemOf(s.projectPath_).substr(0, kNameBytes - 1);
        s.modified_ = false;
    }
};

bool ProjectFileCodec::Write(ByteWriter& w, const ProjectSettings& s, const ProjectWindows& win,
                             int32_t viewCount, int32_t activeView) {
    w.Bytes(kMagic, sizeof kMagic);
    w.I32(kVersion);
    w.I32(kSecondVersion);
    uint8_t name[kNameBytes] = {};
    std::memcpy(name, s.projectName_.data(), std::min(s.projectName_.size(), kNameBytes - 1));
    w.Bytes(name, kNameBytes);
    w.I32(s.outputFormat_);
    w.I32(s.spareFlag_);
    w.LE16(uint16_t(s.movieFrameWidth_));
    w.LE16(uint16_t(s.movieFrameHeight_));
    for (int32_t v : s.size_) w.I32(v);
    w.I32(s.spareCount_);
    w.I32(activeView);
    w.I32(viewCount);
    const ClassificationParameters& c = s.classification_;
    for (float v : {c.csfMean, c.grayMean, c.whiteMean, c.noiseStdev, c.confidence}) w.F32(v);
    w.I32(c.smoothness);
    for (const auto& list : s.lists_) w.I32(int32_t(list.names.size()));
    w.I32(s.migrationMode_);
    w.I32(s.growVoxels_);
    const TopologySummary& t = s.topology_;
    for (int32_t v : {t.valid, t.cavityCount, t.volumeCount, t.eulerTimes8, t.handleCount,
                      t.handlesLocated})
        w.I32(v);
    w.I32(int32_t(s.handles_.size()));
    w.I32(s.currentHandle_);
    for (float v : s.voxelSize_) w.F32(v);
    w.I32(s.grayLayers_);
    w.I32(s.isosurfacer_);
    using F = ProjectSettings::Flag;
    for (F f : {F::OverlayRois, F::ClipFunctionalToRois, F::OverlayFunctional, F::OverlayCuts})
        w.I32(s.flag(f));
    uint8_t smooth[SmoothingParameters::kBytes], decimate[DecimationParameters::kBytes];
    s.smoothing1_.Encode(smooth);
    w.Bytes(smooth, sizeof smooth);
    s.decimation_.Encode(decimate);
    w.Bytes(decimate, sizeof decimate);
    s.smoothing2_.Encode(smooth);
    w.Bytes(smooth, sizeof smooth);
    w.I32(s.flag(F::CurvatureBrightness));
    w.F32(s.modulationDepth_);
    w.I32(s.flag(F::SaveOutput));
    w.I32(s.flag(F::StartViewer));
    uint8_t state[ViewerState::kBytes];
    (win.viewerOpen ? win.viewerState : s.viewerState_).Encode(state);
    w.Bytes(state, sizeof state);
    w.I32(win.viewerOpen ? 1 : 0);

    w.CString(s.projectPath_);
    for (ProjectFile f : kStringOrder) w.CString(s.files_[int(f)]);
    for (int32_t v = 0; v < viewCount; ++v)
        for (int32_t word : win.views[v].words) w.I32(word);
    for (const auto& list : s.lists_) {
        for (const std::string& n : list.names) w.CString(n);
        for (int32_t e : list.enabled) w.I32(e);
    }
    w.CString(s.files_[int(ProjectFile::ViewerMesh)]);
    for (uint32_t h : s.handles_) w.LE32(h);
    return w.ok();
}

bool ProjectFileCodec::Read(ByteReader& r, ProjectSettings& s) {
    char magic[sizeof kMagic];
    int32_t version, second;
    if (!r.Bytes(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0)
        return false;
    if (!r.I32(version) || version != kVersion || !r.I32(second) || second != kSecondVersion)
        return false;
    char name[kNameBytes];
    if (!r.Bytes(name, sizeof name)) return false;  // replaced by the loaded path's name

    if (!r.I32(s.outputFormat_) || !InClosedRange(s.outputFormat_, 0, 2)) return false;
    if (!r.I32(s.spareFlag_) || !InClosedRange(s.spareFlag_, 0, 1)) return false;
    if (!r.I16(s.movieFrameWidth_) || !InClosedRange<int16_t>(s.movieFrameWidth_, 160, 1600))
        return false;
    if (!r.I16(s.movieFrameHeight_) || !InClosedRange<int16_t>(s.movieFrameHeight_, 120, 1200))
        return false;
    for (int32_t& v : s.size_)
        if (!r.I32(v) || !InClosedRange(v, 1, 1023)) return false;
    if (!r.I32(s.spareCount_) || !InClosedRange(s.spareCount_, 1, 999)) return false;
    int32_t activeView, viewCount;
    if (!r.I32(activeView) || !r.I32(viewCount) || !InClosedRange(viewCount, 0, kMaxViews)) return false;
    if (viewCount == 0 ? activeView != 0 : !InClosedRange(activeView, 0, viewCount - 1)) return false;

    ClassificationParameters& c = s.classification_;
    for (float* v : {&c.csfMean, &c.grayMean, &c.whiteMean})
        if (!r.F32(*v) || !InClosedRange(*v, 0.0f, 255.999f)) return false;
    if (!r.F32(c.noiseStdev) || !InClosedRange(c.noiseStdev, 1.0f, 25.0f)) return false;
    if (!r.F32(c.confidence) || !InClosedRange(c.confidence, 0.0f, 1.0f)) return false;
    if (!r.I32(c.smoothness) || !InClosedRange(c.smoothness, 0, 10)) return false;
    int32_t listCounts[kOverlayListCount];
    for (int32_t& n : listCounts)
        if (!r.I32(n) || !InClosedRange(n, 0, kMaxListEntries)) return false;
    if (!r.I32(s.migrationMode_) || !InClosedRange(s.migrationMode_, 0, 3)) return false;
    if (!r.I32(s.growVoxels_) || !InClosedRange(s.growVoxels_, 0, 999)) return false;
    TopologySummary t;
    for (int32_t* v : {&t.valid, &t.cavityCount, &t.volumeCount, &t.eulerTimes8, &t.handleCount,
                       &t.handlesLocated})
        if (!r.I32(*v)) return false;
    if (t.cavityCount < 0 || t.volumeCount < 0 || t.handleCount < 0) return false;
    s.topology_ = TopologySummary{};  // counts are recomputed by the next analysis
    int32_t handleCount;
    if (!r.I32(handleCount) || handleCount < 0) return false;
    if (!r.I32(s.currentHandle_)) return false;
    if (s.currentHandle_ != 0 && !InClosedRange(s.currentHandle_, 0, handleCount - 1)) return false;
    for (float& v : s.voxelSize_)
        if (!r.F32(v) || !(v > 0)) return false;
    if (!r.I32(s.grayLayers_) || !InClosedRange(s.grayLayers_, 0, 999)) return false;
    if (!r.I32(s.isosurfacer_) || !InClosedRange(s.isosurfacer_, 0, 1)) return false;
    using F = ProjectSettings::Flag;
    for (F f : {F::OverlayRois, F::ClipFunctionalToRois, F::OverlayFunctional, F::OverlayCuts})
        if (!r.I32(s.flags_[int(f)])) return false;
    uint8_t smooth1[SmoothingParameters::kBytes], smooth2[SmoothingParameters::kBytes];
    uint8_t decimate[DecimationParameters::kBytes];
    if (!r.Bytes(smooth1, sizeof smooth1) || !r.Bytes(decimate, sizeof decimate) ||
        !r.Bytes(smooth2, sizeof smooth2))
        return false;
    s.smoothing1_ = SmoothingParameters::Decode(smooth1);
    s.decimation_ = DecimationParameters::Decode(decimate);
    s.smoothing2_ = SmoothingParameters::Decode(smooth2);
    if (!s.smoothing1_.Valid() || !s.decimation_.Valid() || !s.smoothing2_.Valid()) return false;
    if (!r.I32(s.flags_[int(F::CurvatureBrightness)])) return false;
    if (!r.F32(s.modulationDepth_) || !InClosedRange(s.modulationDepth_, 0.0f, 1.0f)) return false;
    if (!r.I32(s.flags_[int(F::SaveOutput)]) || !r.I32(s.flags_[int(F::StartViewer)]))
        return false;
    uint8_t state[ViewerState::kBytes];
    if (!r.Bytes(state, sizeof state) || !ViewerState::BlockInRange(state)) return false;
    s.viewerState_ = ViewerState::Decode(state);
    if (!r.I32(s.flags_[int(F::ViewerOpen)])) return false;

    std::string text;
    if (!r.CString(text, kMaxStringLength)) return false;  // the stored project path: unused
    for (ProjectFile f : kStringOrder) {
        if (!r.CString(text, kMaxStringLength)) return false;
        s.files_[int(f)] = ToPosixSeparators(text);
    }
    s.viewRecords_.clear();
    for (int32_t v = 0; v < viewCount; ++v) {
        SliceViewRecord record;
        for (int32_t& word : record.words)
            if (!r.I32(word)) return false;
        s.viewRecords_.push_back(record);
    }
    // The active view is restored last.
    if (viewCount > 0) {
        std::swap(s.viewRecords_[activeView], s.viewRecords_.back());
        s.activeView_ = viewCount - 1;
    }
    for (int l = 0; l < kOverlayListCount; ++l) {
        auto& list = s.lists_[l];
        list.names.assign(listCounts[l], {});
        list.enabled.assign(listCounts[l], 0);
        for (std::string& n : list.names) {
            if (!r.CString(n, kMaxStringLength)) return false;
            n = ToPosixSeparators(n);
        }
        for (int32_t& e : list.enabled)
            if (!r.I32(e)) return false;
    }
    if (!r.CString(text, kMaxStringLength)) return false;
    s.files_[int(ProjectFile::ViewerMesh)] = ToPosixSeparators(text);
    s.handles_.clear();
    for (int32_t k = 0; k < handleCount; ++k) {  // grows with the data actually present
        uint32_t h;
        if (!r.LE32(h)) return false;
        s.handles_.push_back(h);
    }
    return true;
}

int SaveProjectFile(ProjectSettings& settings, const std::string& path,
                    const ProjectWindows& windows) {
    if (!path.empty()) settings.SetProjectPath(path);
    if (settings.projectPath().empty()) return 0;
    const std::string target = settings.projectPath();

    if (windows.viewerOpen) {
        settings.SetFileName(ProjectFile::ViewerMesh,
                             windows.viewerMeshFile.empty()
                                 ? settings.FileName(ProjectFile::Output, true)
                                 : windows.viewerMeshFile);
        settings.SetViewerState(windows.viewerState);
    } else {
        settings.SetFileName(ProjectFile::ViewerMesh, "");
    }
    settings.SetFlag(ProjectSettings::Flag::ViewerOpen, windows.viewerOpen ? 1 : 0);
    const int32_t viewCount = int32_t(std::min<size_t>(windows.views.size(), kMaxViews));
    const int32_t activeView =
        InClosedRange(windows.activeView, 0, viewCount - 1) ? windows.activeView : 0;

    File file(target, "wb");
    if (!file) return 0;
    ByteWriter w(file.get());
    bool ok = ProjectFileCodec::Write(w, settings, windows, viewCount, activeView);
    ok = file.Close() && ok;
    if (!ok) {
        std::remove(target.c_str());
        return 0;
    }
    settings.SetModified(false);
    return 1;
}

int LoadProjectFile(ProjectSettings& settings, const std::string& path) {
    if (path.empty()) return 0;
    File file(path, "rb");
    if (!file) return 0;
    ProjectSettings loaded;
    ByteReader r(file.get());
    if (!ProjectFileCodec::Read(r, loaded)) return 0;
    ProjectFileCodec::TakeLoadedPath(loaded, path);
    settings = std::move(loaded);
    return 1;
}

}  // namespace sulcan
