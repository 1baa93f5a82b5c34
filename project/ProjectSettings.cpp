#include "project/ProjectSettings.h"

#include "platform/paths.h"
#include "project/in_range.h"

namespace sulcan {

namespace {
constexpr size_t kProjectNameCapacity = 256;  // zero-terminated in the file

}  // namespace

ProjectSettings::ProjectSettings() = default;

template <typename T>
T ProjectSettings::SetInRange(T& member, T v, T lo, T hi) {
    if (InClosedRange(v, lo, hi)) {
        Touch(member != v);
        member = v;
    }
    return member;
}

// ---------------------------------------------------------------- paths

std::string ProjectSettings::ProjectFolder() const {
    if (projectPath_.empty()) return {};
    return FolderOf(MakeAbsolutePath(projectPath_, {}));
}

std::string ProjectSettings::MakeRelative(const std::string& path) const {
    const std::string folder = ProjectFolder();
    if (path.empty() || folder.empty()) return path;
    const std::string absolute = MakeAbsolutePath(path, folder);
    if (absolute.compare(0, folder.size(), folder) == 0) return absolute.substr(folder.size());
    return path;
}

std::string ProjectSettings::MakeAbsolute(const std::string& path) const {
    if (path.empty()) return path;
    return MakeAbsolutePath(path, ProjectFolder());
}

void ProjectSettings::SetProjectPath(const std::string& path) {
    // Names stored relative stay relative and so refer to the new folder: a project folder
    // copied or moved as a whole keeps working.
    projectPath_ = MakeAbsolutePath(path, {});
    projectName_ = StemOf(projectPath_).substr(0, kProjectNameCapacity - 1);
    modified_ = true;
}

std::string ProjectSettings::FileName(ProjectFile which, bool absolute) const {
    const std::string& stored = files_[int(which)];
    return absolute ? MakeAbsolute(stored) : stored;
}

void ProjectSettings::SetFileName(ProjectFile which, const std::string& name) {
    std::string& stored = files_[int(which)];
    Touch(name != stored && name != MakeAbsolute(stored));
    stored = MakeRelative(name);
}

// ---------------------------------------------------------------- numbers

int32_t ProjectSettings::SetOutputFormat(int32_t v) { return SetInRange(outputFormat_, v, 0, 2); }
int32_t ProjectSettings::SetSpareFlag(int32_t v) { return SetInRange(spareFlag_, v, 0, 1); }
int32_t ProjectSettings::SetSpareCount(int32_t v) { return SetInRange(spareCount_, v, 0, 999); }
int32_t ProjectSettings::SetMigrationMode(int32_t v) {
    return SetInRange(migrationMode_, v, 0, 3);
}
int32_t ProjectSettings::SetGrowVoxels(int32_t v) { return SetInRange(growVoxels_, v, 0, 50); }
int32_t ProjectSettings::SetGrayLayers(int32_t v) { return SetInRange(grayLayers_, v, 0, 50); }
int32_t ProjectSettings::SetIsosurfacer(int32_t v) { return SetInRange(isosurfacer_, v, 0, 1); }
float ProjectSettings::SetModulationDepth(float v) {
    return SetInRange(modulationDepth_, v, 0.0f, 1.0f);
}

bool ProjectSettings::SetMovieFrameSize(int w, int h) {
    if (!InClosedRange(w, 160, 1600) || !InClosedRange(h, 120, 1200)) return false;
    Touch(movieFrameWidth_ != w || movieFrameHeight_ != h);
    movieFrameWidth_ = int16_t(w);
    movieFrameHeight_ = int16_t(h);
    return true;
}

bool ProjectSettings::SetVolumeSize(int x, int y, int z) {
    if (!InClosedRange(x, 1, 1023) || !InClosedRange(y, 1, 1023) || !InClosedRange(z, 1, 1023)) return false;
    Touch(size_[0] != x || size_[1] != y || size_[2] != z);
    size_[0] = x, size_[1] = y, size_[2] = z;
    return true;
}

bool ProjectSettings::SetVoxelSize(float x, float y, float z) {
    if (!InClosedRange(x, 0.1f, 10.0f) || !InClosedRange(y, 0.1f, 10.0f) || !InClosedRange(z, 0.1f, 10.0f))
        return false;
    Touch(voxelSize_[0] != x || voxelSize_[1] != y || voxelSize_[2] != z);
    voxelSize_[0] = x, voxelSize_[1] = y, voxelSize_[2] = z;
    return true;
}

void ProjectSettings::SetFlag(Flag f, int32_t v) {
    Touch(flags_[int(f)] != v);
    flags_[int(f)] = v;
}

float ProjectSettings::SetCsfMean(float v) {
    return SetInRange(classification_.csfMean, v, 0.0f, 255.999f);
}
float ProjectSettings::SetGrayMean(float v) {
    return SetInRange(classification_.grayMean, v, 0.0f, 255.999f);
}
float ProjectSettings::SetWhiteMean(float v) {
    return SetInRange(classification_.whiteMean, v, 0.0f, 255.999f);
}
float ProjectSettings::SetNoiseStdev(float v) {
    return SetInRange(classification_.noiseStdev, v, 1.0f, 25.0f);
}
float ProjectSettings::SetConfidence(float v) {
    return SetInRange(classification_.confidence, v, 0.0f, 1.0f);
}
int32_t ProjectSettings::SetSmoothness(int32_t v) {
    return SetInRange(classification_.smoothness, v, 0, 10);
}

// ---------------------------------------------------------------- blocks

namespace {
template <typename Block>
bool SetBlock(Block& member, const Block& p, bool& modified) {
    if (!p.Valid()) return false;
    modified = modified || !(member == p);
    member = p;
    return true;
}
}  // namespace

bool ProjectSettings::SetSmoothing1(const SmoothingParameters& p) {
    return SetBlock(smoothing1_, p, modified_);
}
bool ProjectSettings::SetSmoothing2(const SmoothingParameters& p) {
    return SetBlock(smoothing2_, p, modified_);
}
bool ProjectSettings::SetDecimation(const DecimationParameters& p) {
    return SetBlock(decimation_, p, modified_);
}

// ---------------------------------------------------------------- lists

int ProjectSettings::ListCount(OverlayList list) const {
    return int(lists_[int(list)].names.size());
}

bool ProjectSettings::AddListEntry(OverlayList list, const std::string& name) {
    FileList& l = lists_[int(list)];
    if (l.names.size() >= kMaxListEntries) return false;
    l.names.push_back(MakeRelative(name));
    l.enabled.push_back(1);
    modified_ = true;
    return true;
}

std::string ProjectSettings::ListEntry(OverlayList list, int index, bool absolute) const {
    const FileList& l = lists_[int(list)];
    if (index < 0 || index >= int(l.names.size())) return {};
    return absolute ? MakeAbsolute(l.names[index]) : l.names[index];
}

int32_t ProjectSettings::ListEnabled(OverlayList list, int index) const {
    const FileList& l = lists_[int(list)];
    if (index < 0 || index >= int(l.enabled.size())) return 0;
    return l.enabled[index];
}

void ProjectSettings::SetListEnabled(OverlayList list, int index, int32_t enabled) {
    FileList& l = lists_[int(list)];
    if (index < 0 || index >= int(l.enabled.size())) return;
    Touch(l.enabled[index] != enabled);
    l.enabled[index] = enabled;
}

void ProjectSettings::RemoveListEntry(OverlayList list, int index) {
    FileList& l = lists_[int(list)];
    if (index < 0 || index >= int(l.names.size())) return;
    l.names.erase(l.names.begin() + index);
    l.enabled.erase(l.enabled.begin() + index);
    modified_ = true;
}

// ---------------------------------------------------------------- topology

void ProjectSettings::SetTopology(const TopologySummary& t) {
    if (t.cavityCount < 0 || t.volumeCount < 0 || t.handleCount < 0) return;
    TopologySummary next = t;
    if (next.valid != topology_.valid) next.handlesLocated = 0;  // located follows analysed
    Touch(!(next == topology_));
    topology_ = next;
}

void ProjectSettings::ClearTopologyResult() {
    if (!topology_.valid) return;
    topology_.valid = 0;
    topology_.handlesLocated = 0;
    modified_ = true;
}

void ProjectSettings::SetHandles(std::vector<uint32_t> handles) {
    Touch(handles != handles_ || currentHandle_ != 0);
    handles_ = std::move(handles);
    currentHandle_ = 0;
}

int32_t ProjectSettings::SetCurrentHandle(int32_t index) {
    return SetInRange(currentHandle_, index, 0, int32_t(handles_.size()) - 1);
}

int32_t ProjectSettings::NextHandle() {
    if (handles_.empty()) return currentHandle_;
    return SetCurrentHandle((currentHandle_ + 1) % int32_t(handles_.size()));
}

int32_t ProjectSettings::PreviousHandle() {
    if (handles_.empty()) return currentHandle_;
    const int32_t n = int32_t(handles_.size());
    return SetCurrentHandle((currentHandle_ + n - 1) % n);
}

// ---------------------------------------------------------------- viewer and views

void ProjectSettings::SetViewerState(const ViewerState& s) {
    Touch(!(s == viewerState_));
    viewerState_ = s;
}

bool ProjectSettings::TakeFirstViewRecord(SliceViewRecord& out) {
    if (viewRecords_.empty()) return false;
    out = viewRecords_.front();
    viewRecords_.erase(viewRecords_.begin());
    return true;
}

// ---------------------------------------------------------------- reset

void ProjectSettings::ResetSmoothing1() { SetSmoothing1(SmoothingParameters{}); }
void ProjectSettings::ResetSmoothing2() { SetSmoothing2(SmoothingParameters{}); }
void ProjectSettings::ResetDecimation() { SetDecimation(DecimationParameters{}); }

void ProjectSettings::SetClassification(const ClassificationParameters& p) {
    SetCsfMean(p.csfMean);
    SetGrayMean(p.grayMean);
    SetWhiteMean(p.whiteMean);
    SetNoiseStdev(p.noiseStdev);
    SetConfidence(p.confidence);
    SetSmoothness(p.smoothness);
}

void ProjectSettings::ResetClassification() { SetClassification(ClassificationParameters{}); }

void ProjectSettings::ResetAll() { *this = ProjectSettings(); }

}  // namespace sulcan
