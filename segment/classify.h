#pragma once
// Tissue classification of the VOI into white matter, CSF and unknown: Gaussian posteriors per
// class, edge-preserving diffusion of each probability volume, and labelling by a confidence
// margin. ClassifyBlock is the core shared by the preview and the apply; the apply splits the
// VOI into independent blocks, classifies them into a private copy of the classification on
// worker threads and commits the copy afterwards.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "project/ProjectSettings.h"
#include "volume/volume_types.h"

namespace sulcan {

class CSulcanDoc;
struct WorkerTask;

// ---- fixed model constants; classes in the order CSF, gray, white
enum TissueClass { kClassCsf = 0, kClassGray = 1, kClassWhite = 2 };
inline constexpr std::array<float, 3> kClassPriors = {0.3f, 0.3f, 0.4f};
inline constexpr float kDiffusionK = 0.5f;
inline constexpr float kDiffusionRate = 1.0f;
inline constexpr double kZeroEvidence = 2e-23;
inline constexpr int32_t kClassifyBlockEdge = 32;

// The inputs of ClassifyBlock besides the volumes.
struct ClassifyBlockParameters {
    std::array<float, 3> means{}, deviations{}, priors = kClassPriors;
    std::array<float, 3> K = {kDiffusionK, kDiffusionK, kDiffusionK};
    float rate = kDiffusionRate;
    float confidence = 0.7f;  // 0..1
    int iterations = 4;       // smoothness
    bool approximate = true;  // second-order conductance; exp when false ("ClassifySlow")
};

// The block parameters of the preview and the apply for the user's settings.
ClassifyBlockParameters BlockParametersFor(const ClassificationParameters& settings,
                                           bool classifySlow);

// Called four times per block; returns false to stop the block.
using ClassifyCancelCheck = std::function<bool()>;

// The six float volumes of one block (three probabilities, three axis fluxes), kept by a
// worker from block to block.
struct ClassifyWorkspace {
    std::array<std::vector<float>, 3> probability, flux;
    bool Reserve(size_t voxels);  // false when memory runs out
};

// Classifies an nx x ny x nz block read at anatomy + i + j*rowStep + k*planeStep into label
// bytes at the same offsets from `labels`. Returns 0 when memory runs out, otherwise 1 (also
// when the cancel check stopped it; a stopped block writes no labels).
int ClassifyBlock(const uint8_t* anatomy, int nx, int ny, int nz, ptrdiff_t rowStep,
                  ptrdiff_t planeStep, uint8_t* labels, const ClassifyBlockParameters& p,
                  const ClassifyCancelCheck& check = {});
int ClassifyBlock(const uint8_t* anatomy, int nx, int ny, int nz, ptrdiff_t rowStep,
                  ptrdiff_t planeStep, uint8_t* labels, const ClassifyBlockParameters& p,
                  const ClassifyCancelCheck& check, ClassifyWorkspace& workspace);

// ---- the block split of the apply
struct AxisBlock {
    int32_t start, length;
};
// Splits first..last (inclusive) into blocks of kClassifyBlockEdge; the remainder r forms a
// block of its own when r > 15 and is added to the last block otherwise; an axis shorter
// than 16 voxels is one block.
std::vector<AxisBlock> SplitAxis(int32_t first, int32_t last);

struct ClassifyBlockBox {
    int32_t x, y, z, nx, ny, nz;
};
// The blocks of the VOI, z outermost, then y, then x.
std::vector<ClassifyBlockBox> SplitVoi(const VoiBox& voi);

// ---- the apply
// Prepare on the user-interface thread, Run on a worker (or synchronously), then Commit on
// the user-interface thread when Run completed. Dropping the object discards the copy.
class ClassificationApply {
  public:
    // Copies the classification and takes the parameters; false when memory runs out
    // (the caller shows msg::kClassifyOutOfMemory). threads < 1 means all cores.
    bool Prepare(const CSulcanDoc& doc, const VoiBox& voi, const ClassificationParameters& settings,
                 bool classifySlow, int threads = 0);

    // Classifies every block into the copy. `cancelled` is polled before each block and
    // inside each block; `tick` is called with the percentage about every 100 ms on the
    // calling thread. Returns true when all blocks ran, false when cancelled.
    bool Run(const std::function<bool()>& cancelled, const std::function<void(int)>& tick = {});

    // steps * 100 / (4 * blocks), never above 99.
    int Percent() const;
    size_t blockCount() const { return blocks_.size(); }
    int threadCount() const { return threads_; }
    const std::vector<uint8_t>& result() const { return copy_; }

    // After a completed Run: AfterClassification, then the copy replaces the document's
    // classification. Returns false (nothing done) when the last Run did not complete.
    bool Commit(CSulcanDoc& doc);

  private:
    void Work(const std::function<bool()>& cancelled);

    const uint8_t* anatomy_ = nullptr;
    VolumeDims dims_{};
    std::vector<uint8_t> copy_;
    std::vector<ClassifyBlockBox> blocks_;
    ClassifyBlockParameters parameters_;
    int threads_ = 1;
    std::atomic<size_t> nextBlock_{0};
    std::atomic<int64_t> steps_{0};
    std::atomic<bool> stopped_{false};
    bool completed_ = false;
};

// Releases the gray graph, sets the classification and gray change flags and clears the
// stored topology result.
void AfterClassification(CSulcanDoc& doc);

// The preview options of the classification dialog that are kept in the registry.
struct ClassifyDialogOptions {
    bool classify3D = false, overlayCsf = false, overlayWhite = true;
};
// The registry values (section "Settings") written when a classification is applied, in the
// order "CSFMean", "GrayMean", "WhiteMean", "NoiseStdev", "Confidence" (x 100), "Smoothness",
// "3DClassify", "OverlayCSF", "OverlayWhite"; the caller writes them under the setting names.
struct ClassificationRegistryValues {
    int csfMean, grayMean, whiteMean, noiseStdev, confidence, smoothness;
    int classify3D, overlayCsf, overlayWhite;  // 0/1
    bool operator==(const ClassificationRegistryValues&) const = default;
};
ClassificationRegistryValues RegistryValuesOf(const ClassificationParameters& settings,
                                              const ClassifyDialogOptions& options);

// "%d%% Complete" for the progress dialog's text.
std::string PercentCompleteText(int percent);

// Fills a task record ("Applying classification": progress and cancel, no log, closes by
// itself) that runs a prepared apply; the caller commits after an OK result.
void MakeClassifyTask(WorkerTask& task, ClassificationApply& apply);

}  // namespace sulcan
