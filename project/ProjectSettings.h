#pragma once
// Everything a project stores besides its volumes. Number setters ignore a value outside the
// member's range and return the stored value, so passing an out-of-range value (for example
// -1) reads the member; a setter marks the settings modified only on a real change.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "project/ViewerState.h"
#include "project/vis_blocks.h"

namespace sulcan {

// File names a project keeps, each stored relative to the project folder when inside it.
enum class ProjectFile {
    Anatomy,
    Classification,
    GrayGraph,
    Output,
    Image,
    MovieImage,
    MovieScript,
    ViewerMesh,
};
inline constexpr int kProjectFileCount = 8;

// The three overlay file lists.
enum class OverlayList { Functional = 0, Roi = 1, Cut = 2 };
inline constexpr int kOverlayListCount = 3;
inline constexpr int kMaxListEntries = 999;

struct ClassificationParameters {
    float csfMean = 35, grayMean = 50, whiteMean = 60;  // 0..255.999
    float noiseStdev = 4;                               // 1..25
    float confidence = 0.7f;                            // 0..1
    int32_t smoothness = 4;                             // 0..10
};

// One slice view window as saved in the project: 48 int32 words.
struct SliceViewRecord {
    static constexpr int kWords = 48;
    enum Word {
        kClientLeft = 0,
        kClientTop = 1,
        kFramePlacement = 2,     // 11 words
        kToolPlacement = 13,     // 11 words
        kScrollX = 24,
        kScrollY = 25,
        kZoomX = 26,
        kZoomY = 27,
        kZoomZ = 28,
        kEditMode = 29,
        kOrientation = 30,
        kPositionX = 31,
        kPositionY = 32,
        kPositionZ = 33,
        kShowCrossbars = 34,
        kShowWhite = 35,
        kShowCsf = 36,
        kShowGray = 37,
        kShowVoi = 38,
        kShowFunctional = 39,
        kShowCut = 40,
        kShowRoi = 41,
        kClipFunctional = 42,
        kSavedOverlayStates = 43,  // 4 words
        kEditSize = 47,
    };
    std::array<int32_t, kWords> words{};
    bool operator==(const SliceViewRecord&) const = default;
};

struct TopologySummary {
    int32_t valid = 0;  // analysed
    int32_t cavityCount = 0;
    int32_t volumeCount = 0;
    int32_t eulerTimes8 = 0;
    int32_t handleCount = 0;
    int32_t handlesLocated = 0;
    bool operator==(const TopologySummary&) const = default;
};

class ProjectSettings {
public:
    ProjectSettings();

    bool modified() const { return modified_; }
    void SetModified(bool m) { modified_ = m; }

    // --- project file identity
    const std::string& projectPath() const { return projectPath_; }
    const std::string& projectName() const { return projectName_; }
    // Takes a new project file path; the name follows it and the settings count as modified.
    void SetProjectPath(const std::string& path);
    std::string ProjectFolder() const;  // with trailing "/", or "" without a project path

    // --- file names
    std::string FileName(ProjectFile which, bool absolute) const;
    void SetFileName(ProjectFile which, const std::string& name);
    std::string MakeRelative(const std::string& path) const;
    std::string MakeAbsolute(const std::string& path) const;

    // --- simple numbers
    int32_t SetOutputFormat(int32_t v);       // 0..2
    int32_t SetSpareFlag(int32_t v);          // 0..1
    int32_t SetSpareCount(int32_t v);         // 0..999
    int32_t SetMigrationMode(int32_t v);      // 0..3
    int32_t SetGrowVoxels(int32_t v);         // 0..50
    int32_t SetGrayLayers(int32_t v);         // 0..50
    int32_t SetIsosurfacer(int32_t v);        // 0..1
    float SetModulationDepth(float v);        // 0..1
    // Set together or not at all; each returns whether the value was accepted.
    bool SetMovieFrameSize(int w, int h);     // 160..1600 x 120..1200
    bool SetVolumeSize(int x, int y, int z);  // each 1..1023
    bool SetVoxelSize(float x, float y, float z);  // each 0.1..10
    int32_t outputFormat() const { return outputFormat_; }
    int32_t spareFlag() const { return spareFlag_; }
    int32_t spareCount() const { return spareCount_; }
    int32_t migrationMode() const { return migrationMode_; }
    int32_t growVoxels() const { return growVoxels_; }
    int32_t grayLayers() const { return grayLayers_; }
    int32_t isosurfacer() const { return isosurfacer_; }
    float modulationDepth() const { return modulationDepth_; }
    int16_t movieFrameWidth() const { return movieFrameWidth_; }
    int16_t movieFrameHeight() const { return movieFrameHeight_; }
    int32_t xsize() const { return size_[0]; }
    int32_t ysize() const { return size_[1]; }
    int32_t zsize() const { return size_[2]; }
    const float* voxelSize() const { return voxelSize_; }

    // Flags with no range: any value is stored.
    enum class Flag { CurvatureBrightness, OverlayRois, ClipFunctionalToRois, OverlayFunctional,
                      OverlayCuts, SaveOutput, StartViewer, ViewerOpen };
    int32_t flag(Flag f) const { return flags_[int(f)]; }
    void SetFlag(Flag f, int32_t v);

    // --- classification parameters (each value checked on its own)
    const ClassificationParameters& classification() const { return classification_; }
    float SetCsfMean(float v);      // 0..255.999
    float SetGrayMean(float v);     // 0..255.999
    float SetWhiteMean(float v);    // 0..255.999
    float SetNoiseStdev(float v);   // 1..25
    float SetConfidence(float v);   // 0..1
    int32_t SetSmoothness(int32_t v);  // 0..10
    // All six through the setters above, so a value out of its range keeps the old one.
    void SetClassification(const ClassificationParameters& p);

    // --- mesh build blocks: a block with any word out of range is refused whole
    const SmoothingParameters& smoothing1() const { return smoothing1_; }
    const SmoothingParameters& smoothing2() const { return smoothing2_; }
    const DecimationParameters& decimation() const { return decimation_; }
    bool SetSmoothing1(const SmoothingParameters& p);
    bool SetSmoothing2(const SmoothingParameters& p);
    bool SetDecimation(const DecimationParameters& p);

    // --- overlay file lists
    int ListCount(OverlayList list) const;
    bool AddListEntry(OverlayList list, const std::string& name);  // refused at 999 entries
    std::string ListEntry(OverlayList list, int index, bool absolute) const;
    int32_t ListEnabled(OverlayList list, int index) const;
    void SetListEnabled(OverlayList list, int index, int32_t enabled);
    void RemoveListEntry(OverlayList list, int index);

    // --- topology summary and handle list
    const TopologySummary& topology() const { return topology_; }
    void SetTopology(const TopologySummary& t);  // counts below 0 are refused
    // Clears the analysed flag (and with it the located flag).
    void ClearTopologyResult();
    const std::vector<uint32_t>& handles() const { return handles_; }
    int32_t currentHandle() const { return currentHandle_; }
    void SetHandles(std::vector<uint32_t> handles);  // current handle back to 0
    int32_t SetCurrentHandle(int32_t index);         // 0..count-1
    int32_t NextHandle();                            // wraps around
    int32_t PreviousHandle();

    // --- 3D viewer and slice view records
    const ViewerState& viewerState() const { return viewerState_; }
    void SetViewerState(const ViewerState& s);
    const std::vector<SliceViewRecord>& viewRecords() const { return viewRecords_; }
    int32_t activeView() const { return activeView_; }
    // A restored view takes the first record and removes it.
    bool TakeFirstViewRecord(SliceViewRecord& out);

    // --- reset by group
    void ResetSmoothing1();
    void ResetSmoothing2();
    void ResetDecimation();
    void ResetClassification();
    void ResetAll();

private:
    friend class ProjectFileCodec;
    template <typename T>
    T SetInRange(T& member, T v, T lo, T hi);
    void Touch(bool changed) { modified_ = modified_ || changed; }

    bool modified_ = true;
    std::string projectPath_, projectName_;
    std::array<std::string, kProjectFileCount> files_;
    int32_t outputFormat_ = 0, spareFlag_ = 0, spareCount_ = 3;
    int16_t movieFrameWidth_ = 160, movieFrameHeight_ = 120;
    int32_t size_[3] = {1, 1, 1};
    int32_t activeView_ = 0;
    std::vector<SliceViewRecord> viewRecords_;
    ClassificationParameters classification_;
    struct FileList {
        std::vector<std::string> names;
        std::vector<int32_t> enabled;
    };
    std::array<FileList, kOverlayListCount> lists_;
    int32_t migrationMode_ = 3, growVoxels_ = 0;
    TopologySummary topology_;
    std::vector<uint32_t> handles_;
    int32_t currentHandle_ = 0;
    float voxelSize_[3] = {0.9375f, 0.9375f, 1.2f};
    int32_t grayLayers_ = 1, isosurfacer_ = 1;
    std::array<int32_t, 8> flags_ = {1, 0, 0, 0, 0, 1, 1, 0};
    SmoothingParameters smoothing1_, smoothing2_;
    DecimationParameters decimation_;
    float modulationDepth_ = 0.5f;
    ViewerState viewerState_;
};

}  // namespace sulcan
