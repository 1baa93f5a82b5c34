#pragma once
// The slice picture of a slice view: one pixel per voxel in the display format, greys from the
// anatomy, tissue colours from the classification, then the overlay point lists; and the marks
// (brush square, position and VOI crossbars) drawn into it for one paint and removed again.
#include <cstdint>
#include <optional>
#include <vector>

#include "project/OverlaySet.h"
#include "slices/display_format.h"
#include "slices/grey_table.h"
#include "volume/volume_types.h"

namespace sulcan {

class CSulcanDoc;

struct OverlaySwitches {
    bool white = false, csf = false, gray = false;
    bool rois = false, functional = false, clipFunctionals = false, cuts = false;
    bool positionCrossbars = true, voiCrossbars = false;
    bool operator==(const OverlaySwitches&) const = default;
};

// What the picture reads from the document. Overlay colours are in the display format.
struct SliceSource {
    const uint8_t* anatomy = nullptr;
    const uint8_t* labels = nullptr;
    VolumeDims dims{};
    const OverlaySet* roi = nullptr;
    const OverlaySet* functional = nullptr;
    const OverlaySet* functionalInRoi = nullptr;
    const OverlaySet* cut = nullptr;
};
// No volume pointers when a volume does not match the dimensions.
SliceSource SliceSourceOf(CSulcanDoc& doc);

struct SliceTables {
    const GreyTable& grey;
    const DisplayColours& colours;
    DisplayFormat format;
};

struct SlicePicture {
    DisplayFormat format = DisplayFormat::Rgb32;
    int32_t width = 0, height = 0;
    size_t rowBytes = 0;
    std::vector<uint8_t> pixels;           // rows from the top
    std::vector<uint8_t> anatomy, labels;  // width * height each, as drawn

    uint8_t* PixelAddress(int column, int row) {
        return pixels.data() + size_t(row) * rowBytes + size_t(column) * BytesPerPixel(format);
    }
    uint32_t PixelAt(int column, int row) const;
    void SetPixel(int column, int row, uint32_t value);
};

// The DisplayColours index a label shows in, or -1 for its grey value. Illegal labels and
// tissues whose overlay is off show grey.
int OverlayColourOf(uint8_t label, const OverlaySwitches& on);

// None when the slice index is outside the volume or memory runs out.
std::optional<SlicePicture> BuildSlicePicture(const SliceSource& source, int orientation, int slice,
                                              const OverlaySwitches& on, const SliceTables& tables);

// Recolours one pixel from its label and anatomy copies, as painting with the mouse needs.
void RecolourPixel(SlicePicture& picture, int column, int row, const OverlaySwitches& on,
                   const SliceTables& tables);

// ---- marks
struct PicturePoint {
    int32_t column = 0, row = 0;
};
struct PictureBox {
    int32_t columnMin = 0, rowMin = 0, columnMax = 0, rowMax = 0;
};
// Volume axis (0 x, 1 y, 2 z) along the slices of an orientation and along its picture's
// horizontal and vertical axes.
int SliceAxisOf(int orientation);
int HorizontalAxisOf(int orientation);
int VerticalAxisOf(int orientation);
// The picture position of voxel (x, y, z) and the VOI's extent in picture axes.
PicturePoint PicturePointOf(int orientation, int32_t x, int32_t y, int32_t z);
PictureBox PictureBoxOf(int orientation, const VoiBox& voi);
// DisplayColours index of the lines marking the horizontal and the vertical picture axis.
int HorizontalAxisColour(int orientation);
int VerticalAxisColour(int orientation);

struct SliceMarks {
    int orientation = 0;
    bool positionCrossbars = false;
    PicturePoint point;
    bool voiCrossbars = false;
    PictureBox voi;
    bool brush = false;
    PicturePoint brushAt;
    int brushSize = 1;
};
// Crossbars and VOI lines as switched; the caller adds the brush when the preview is shown.
SliceMarks MarksOf(int orientation, int32_t x, int32_t y, int32_t z, const VoiBox& voi,
                   const OverlaySwitches& on);

// The brush square covers exactly the voxels a paint of that size changes: s / 2 columns
// left of the position and s - s / 2 - 1 right of it, clipped to the picture.
PictureBox BrushSquare(PicturePoint at, int size, int width, int height);

// Brush, then position crossbars, then dotted VOI lines; lines outside the picture are left out.
void DrawMarks(SlicePicture& picture, const SliceMarks& marks, const DisplayColours& colours);

// Draws the marks for as long as it lives and then puts the pixels back, so the marks never
// stay in the picture. Without memory for the copy nothing is drawn.
class MarkedPicture {
  public:
    MarkedPicture(SlicePicture& picture, const SliceMarks& marks, const DisplayColours& colours);
    ~MarkedPicture();
    MarkedPicture(const MarkedPicture&) = delete;
    MarkedPicture& operator=(const MarkedPicture&) = delete;
    bool marked() const { return !saved_.empty(); }

  private:
    SlicePicture& picture_;
    std::vector<uint8_t> saved_;
};

}  // namespace sulcan
