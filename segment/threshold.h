#pragma once
// The threshold tool: inside the VOI every non-gray voxel brighter than a level becomes white
// matter and every other one unknown; optionally the white matter is then grown once by a cube
// of a given radius into unknown voxels ("blur"). ThresholdModel holds the dialog's four
// values with their registry clamping.
#include <cstdint>
#include <vector>

#include "volume/volume_types.h"

namespace sulcan {

class CSulcanDoc;

inline constexpr int kMaxThresholdLevel = 255;
inline constexpr int kMaxBlurRadius = 20;

struct ThresholdOptions {
    int level = 127;  // 0..255
    int radius = 0;   // 0..20
    bool doThreshold = true;
    bool doBlur = false;
};

// Non-gray voxels of the VOI: White when the intensity is above `level`, else Unknown.
void ThresholdVoi(std::vector<uint8_t>& labels, const std::vector<uint8_t>& anatomy,
                  const VolumeDims& dims, const VoiBox& voi, int level);
// Marks every Unknown voxel within `radius` on each axis of a white voxel (selected or not),
// cut at the VOI, and makes the marked voxels White in one pass. Returns the number of new
// white voxels, -1 when memory for the mask runs out (nothing changed).
int64_t BlurWhite(std::vector<uint8_t>& labels, const VolumeDims& dims, const VoiBox& voi,
                  int radius);

// Threshold and blur as the options say, then the change flags, the topology result and
// change code 0. Returns 0 without anatomy or classification (nothing done), else 1.
int ApplyThreshold(CSulcanDoc& doc, const VoiBox& voi, const ThresholdOptions& options);

// The registry values of the dialog (section "Settings"): "Threshold", "Fill", "DoThres",
// "DoFill"; the caller reads and writes them under the setting names.
struct ThresholdRegistryValues {
    int threshold = 127, fill = 0, doThres = 1, doFill = 0;
    bool operator==(const ThresholdRegistryValues&) const = default;
};

// The "Set VOI classify threshold" dialog's values.
class ThresholdModel {
  public:
    // From the stored values: a level of 256 or more is read as 255, a radius of 21 or more
    // as 20.
    explicit ThresholdModel(const ThresholdRegistryValues& stored = {});
    const ThresholdOptions& options() const { return options_; }
    // The range validation of the edits: false (value refused) outside 0..255 / 0..20.
    bool SetLevel(int level);
    bool SetRadius(int radius);
    void SetDoThreshold(bool on) { options_.doThreshold = on; }
    void SetDoBlur(bool on) { options_.doBlur = on; }
    // What Apply and Close write to the registry.
    ThresholdRegistryValues TakeOver() const;
    // "Apply" on the document's VOI (after the caller wrote TakeOver()).
    int Apply(CSulcanDoc& doc) const;

  private:
    ThresholdOptions options_;
};

}  // namespace sulcan
