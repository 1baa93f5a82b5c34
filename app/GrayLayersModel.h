#pragma once
// The "Gray matter layers" dialog without its window: how many layers the next growth makes
// and the document's two contention switches for it.
#include "app/AppSettings.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {

namespace msg::gray_layers {
inline constexpr const char* kMenuItem = "Gray &layers";
inline constexpr const char* kStatusText = "Set the number of layers of gray matter to grow";
inline constexpr const char* kTitle = "Gray matter layers";
inline constexpr const char* kLayersGroup = "Grow how many layers when growing gray matter?";
inline constexpr const char* kContentionGroup = "Contention settings";
inline constexpr const char* kCheckFor = "Check for:";
inline constexpr const char* kWhiteContention = "White contention";
inline constexpr const char* kGrayContention = "Gray contention";
inline constexpr const char* kNote =
    "Changes to these values will only have affect the next time gray matter is grown.  After "
    "that, the default settings (both contention checks ON) will be used.";
}  // namespace msg::gray_layers

inline constexpr int kMinGrayLayers = 1, kMaxGrayLayers = 100;

class GrayLayersModel {
  public:
    GrayLayersModel(const AppSettings& settings, const CSulcanDoc& doc);
    int layers() const { return layers_; }
    // Kept within 1..100; the spin button stops at the limits.
    void SetLayers(int layers);
    void Step(int delta) { SetLayers(layers_ + delta); }
    bool whiteContention() const { return white_; }
    bool grayContention() const { return gray_; }
    void SetWhiteContention(bool on) { white_ = on; }
    void SetGrayContention(bool on) { gray_ = on; }
    // OK: the layer count into "NGrayLayers", the switches into the document.
    void Accept(AppSettings& settings, CSulcanDoc& doc) const;

  private:
    int layers_;
    bool white_, gray_;
};

}  // namespace sulcan
