#pragma once
// The "MR Classify" dialog without its window: the six parameter scroll bars, the preview
// options, orientation and centre of the preview volume, the preview run with the apply's
// block parameters, the two preview pictures and the region average of the upper square.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/ProjectSettings.h"
#include "segment/classify.h"
#include "slices/slice_drawing.h"
#include "slices/slice_picture.h"
#include "slices/view_dialogs.h"

namespace sulcan {

class SliceViewModel;
class Ui;

namespace msg::classify {
inline constexpr const char* kTitle = "MR Classify";
inline constexpr const char* kRegionTitle = "Assign Region Average";
inline constexpr const char* kRegionAverage = "Region average is %d";
inline constexpr const char* kWhichSlider = "Assign to which slider?";
}  // namespace msg::classify

enum ClassifySlider {
    kSliderCsfMean = 0,
    kSliderGrayMean,
    kSliderWhiteMean,
    kSliderNoiseStdev,
    kSliderConfidence,  // confidence x 100
    kSliderSmoothness,
};
inline constexpr int kClassifySliderCount = 6;

struct ClassifySliderSpec {
    const char* caption;
    SliderRange range;
};
const ClassifySliderSpec& ClassifySliderOf(int slider);
// "%d", or "%d.%02d" of value / 100 for the confidence.
std::string ClassifySliderText(int slider, int value);

inline constexpr int kClassifyPreviewSide = 80;   // pixels of each preview square
inline constexpr int kClassifyPreviewDepth = 10;  // slices along the normal

// The preview volume in picture axes: `start` and `size` per volume axis (x, y, z).
struct PreviewVolume {
    std::array<int32_t, 3> start{}, size{};
    bool operator==(const PreviewVolume&) const = default;
};
// As many voxels as fit the preview square at the zoom factors (x, y, z) across the
// orientation's slices, kClassifyPreviewDepth along them, centred on `centre` and shifted
// inside the volume; an axis shorter than the window is taken whole.
PreviewVolume PreviewVolumeOf(const VolumeDims& dims, int orientation,
                              const std::array<int32_t, 3>& centre, const std::array<int, 3>& zoom);

class ClassifyDialogModel {
  public:
    // Starts from the document's parameters and the active view's point, orientation and zoom.
    ClassifyDialogModel(SliceViewModel& view, const SliceDrawing& drawing, Ui& ui,
                        const ClassifyDialogOptions& stored, bool classifySlow);

    // ---- scroll bars: clamped into range; with Auto Update the preview runs again
    int value(int slider) const { return values_[slider]; }
    std::string valueText(int slider) const { return ClassifySliderText(slider, value(slider)); }
    void SetValue(int slider, int value);

    // ---- preview options
    bool autoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool on) { autoUpdate_ = on; }
    bool classify3D() const { return options_.classify3D; }
    void SetClassify3D(bool on) { options_.classify3D = on; }
    bool overlayWhite() const { return options_.overlayWhite; }
    void SetOverlayWhite(bool on) { options_.overlayWhite = on; }
    bool overlayCsf() const { return options_.overlayCsf; }
    void SetOverlayCsf(bool on) { options_.overlayCsf = on; }

    // ---- orientation (0 red, 1 green, 2 blue) and centre (x, y, z)
    int orientation() const { return orientation_; }
    void SetOrientation(int orientation);
    const std::array<int32_t, 3>& centre() const { return centre_; }
    // A typed coordinate clamped into the volume; returns the value the edit shows.
    int32_t SetCentre(int axis, int64_t typed);
    PreviewVolume previewVolume() const;
    bool rebuildPending() const { return rebuild_; }

    // ---- preview
    // Classifies the preview volume (3D: all slices; else the centre slice alone). False,
    // with no preview, when there is no anatomy or memory runs out.
    bool Preview();
    bool hasPreview() const { return !labels_.empty(); }
    // Labels of the last preview, in picture order (column, row, slice).
    const std::vector<uint8_t>& previewLabels() const { return labels_; }
    int previewCentreSlice() const { return centreSlice_; }
    // One pixel per voxel of the centre slice: anatomy greys with the switched-on overlay
    // colours, and the labels alone on the background colour. None without a preview.
    std::optional<SlicePicture> UpperPicture() const;
    std::optional<SlicePicture> LowerPicture() const;
    // Screen pixels per picture pixel in the preview squares.
    int horizontalZoom() const;
    int verticalZoom() const;

    // ---- region average; corners in pixels of the preview square, in any order
    int RegionAverage(int x0, int y0, int x1, int y1) const;
    // Offers the average for the CSF, gray or white mean and moves the chosen scroll bar.
    void AssignRegionAverage(int x0, int y0, int x1, int y1);

    // ---- results
    ClassificationParameters Values() const;
    ClassifyDialogOptions Options() const { return options_; }
    ClassifyBlockParameters BlockParameters() const;
    const SliceDrawing& drawing() const { return drawing_; }

  private:
    void Changed();
    bool Extract();
    std::optional<SlicePicture> PictureOf(bool withAnatomy) const;

    SliceViewModel& view_;
    const SliceDrawing& drawing_;
    Ui& ui_;
    bool classifySlow_;
    std::array<int, kClassifySliderCount> values_{};
    ClassifyDialogOptions options_;
    bool autoUpdate_ = false;
    int orientation_ = 0;
    std::array<int32_t, 3> centre_{};
    bool rebuild_ = true;

    // The preview buffers in picture order, width x height x depth.
    PreviewVolume volume_;
    int width_ = 0, height_ = 0, depth_ = 0, centreSlice_ = 0, pictureOrientation_ = 0;
    std::vector<uint8_t> anatomy_, labels_;
};

}  // namespace sulcan
