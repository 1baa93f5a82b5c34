#include "slices/view_dialogs.h"

#include <algorithm>
#include <new>

#include "platform/format.h"
#include "slices/SliceViewModel.h"
#include "volume/volume_types.h"

namespace sulcan {

namespace {

constexpr SliderRange kZoomRange{kMinZoom, kMaxZoom};

int Clamped(int value, SliderRange range) {
    return std::clamp(value, range.minimum, range.maximum);
}

// value / divisor as text: `belowOne` formats the value alone, `fromOne` the whole part and
// the remainder.
std::string FixedPointText(int value, int divisor, const char* belowOne, const char* fromOne) {
    if (value < divisor) return Format(belowOne, value);
    return Format(fromOne, value / divisor, value % divisor);
}

}  // namespace

int SliderPageStep(SliderRange range) {
    return std::max((range.maximum - range.minimum) / 50, 1);
}

std::string HundredthsText(int value) {
    return FixedPointText(value, 100, "0.%02d", "%d.%02d");
}

std::string TenthsText(int value) {
    return FixedPointText(value, 10, "0.%d", "%d.%d");
}

// ---- greyscale dialog

GreyscaleDialogModel::GreyscaleDialogModel(SliceDrawing& drawing)
    : drawing_(drawing),
      before_(drawing.greyParameters()),
      values_(GreyRegistryValuesOf(before_)) {}

void GreyscaleDialogModel::Apply() {
    drawing_.SetGrey(GreyParametersFromRegistry(values_));
}

void GreyscaleDialogModel::SetBrightness(int value) {
    values_.brightness = Clamped(value, kBrightnessRange);
    Apply();
}

void GreyscaleDialogModel::SetContrast(int value) {
    values_.contrast = Clamped(value, kContrastRange);
    Apply();
}

void GreyscaleDialogModel::SetGamma(int value) {
    values_.gamma = Clamped(value, kGammaRange);
    Apply();
}

void GreyscaleDialogModel::Linear() {
    values_ = {64, 43, 12};
    Apply();
}

void GreyscaleDialogModel::Flat() {
    values_ = {27, 13, 10};
    Apply();
}

GreyRegistryValues GreyscaleDialogModel::Accept() {
    return values_;
}

void GreyscaleDialogModel::Cancel() {
    drawing_.SetGrey(before_);
    values_ = GreyRegistryValuesOf(before_);
}

// ---- greyscale preview

namespace {

bool Inside(int value, int size) {
    return value >= 0 && value < size;
}

// The grey of every preview pixel, black where the picture of the slice has no pixel.
void FillPreview(SlicePicture& p, const uint8_t* slice, const SliceGeometry& g, PicturePoint origin,
                 const SliceTables& tables) {
    const uint32_t black = ToDisplayPixel(0, tables.format);
    for (int j = 0; j < p.height; ++j) {
        const int row = origin.row + j;
        for (int i = 0; i < p.width; ++i) {
            const int column = origin.column + i;
            const bool inside = Inside(column, g.width) && Inside(row, g.height);
            p.SetPixel(i, j,
                       inside ? tables.grey[slice[size_t(column) * g.horizontalStride +
                                                  size_t(row) * g.verticalStride]]
                              : black);
        }
    }
}

}  // namespace

std::optional<SlicePicture> BuildGreyPreview(const SliceSource& source, int orientation,
                                             int32_t slice, PicturePoint centre, int side,
                                             const SliceTables& tables) {
    if (!source.anatomy || !source.dims.valid() || side <= 0) return std::nullopt;
    const SliceGeometry g = SliceGeometryOf(orientation, source.dims);
    if (!Inside(slice, g.depth)) return std::nullopt;
    SlicePicture p;
    p.format = tables.format;
    p.width = p.height = side;
    p.rowBytes = PictureRowBytes(side, tables.format);
    try {
        p.pixels.assign(p.rowBytes * size_t(side), 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const PicturePoint origin{centre.column - side / 2, centre.row - side / 2};
    FillPreview(p, source.anatomy + size_t(slice) * g.sliceStride, g, origin, tables);
    return p;
}

// ---- zoom dialog

ZoomDialogModel::ZoomDialogModel(const std::array<int, 3>& zoom)
    : zoom_(zoom), locked_(zoom[0] == zoom[1] && zoom[1] == zoom[2]) {}

void ZoomDialogModel::SetFactor(int axis, int value) {
    if (axis < 0 || axis >= 3) return;
    const int factor = Clamped(value, kZoomRange);
    if (locked_)
        zoom_.fill(factor);
    else
        zoom_[axis] = factor;
}

}  // namespace sulcan
