#pragma once
// The two dialogs of a slice view without their windows: "Set Display Parameters" (the
// greyscale sliders with a live preview) and "Set X-Y-Z Zoom factors".
#include <array>
#include <string>

#include "slices/slice_drawing.h"
#include "slices/slice_picture.h"

namespace sulcan {

namespace msg::view {
inline constexpr const char* kGreyscaleTitle = "Set Display Parameters";
inline constexpr const char* kZoomTitle = "Set X-Y-Z Zoom factors";
}  // namespace msg::view

struct SliderRange {
    int minimum, maximum;
};
inline constexpr SliderRange kBrightnessRange{0, 100}, kContrastRange{0, 100}, kGammaRange{5, 30};
// range / 50, at least 1
int SliderPageStep(SliderRange range);
// Brightness and contrast: "0.%02d" below 100, "%d.%02d" from 100; gamma "0.%d" below 10,
// "%d.%d" from 10.
std::string HundredthsText(int value);
std::string TenthsText(int value);

// The sliders edit the shared greyscale table directly, so every view and the preview show
// the values at once; Cancel puts the table back as it was.
class GreyscaleDialogModel {
  public:
    explicit GreyscaleDialogModel(SliceDrawing& drawing);
    const GreyRegistryValues& values() const { return values_; }
    // Clamped to the slider's range; rebuilds the table.
    void SetBrightness(int value);
    void SetContrast(int value);
    void SetGamma(int value);
    void Linear();  // 64, 43, 12
    void Flat();    // 27, 13, 10
    // The values to write to the registry; the table is built from them.
    GreyRegistryValues Accept();
    void Cancel();

  private:
    void Apply();
    SliceDrawing& drawing_;
    GreyParameters before_;
    GreyRegistryValues values_;
};

// The preview box: a side x side part of the slice centred on the point, greys only, black
// outside the volume. None when the slice lies outside the volume or memory runs out.
std::optional<SlicePicture> BuildGreyPreview(const SliceSource& source, int orientation,
                                             int32_t slice, PicturePoint centre, int side,
                                             const SliceTables& tables);

class ZoomDialogModel {
  public:
    // x, y, z; "Lock" starts ticked when the three are equal.
    explicit ZoomDialogModel(const std::array<int, 3>& zoom);
    const std::array<int, 3>& zoom() const { return zoom_; }
    bool locked() const { return locked_; }
    void SetLocked(bool locked) { locked_ = locked; }
    // Clamped to 1..25; while locked all three follow.
    void SetFactor(int axis, int value);

  private:
    std::array<int, 3> zoom_;
    bool locked_;
};

}  // namespace sulcan
