#include "slices/slice_picture.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "volume/CSulcanDoc.h"

namespace sulcan {

namespace {

// Volume axis (0 x, 1 y, 2 z) of the slice index and of the picture's horizontal and vertical
// axes, per orientation.
struct OrientationAxes {
    int slice, horizontal, vertical;
};
constexpr OrientationAxes kAxes[3] = {{2, 0, 1}, {1, 2, 0}, {0, 2, 1}};
constexpr int kAxisColour[3] = {kColourXLine, kColourYLine, kColourZLine};

const OrientationAxes& AxesOf(int orientation) {
    return kAxes[orientation == Axial || orientation == Coronal ? orientation : Sagittal];
}

// Columns gathered together from a strided slice: each is a stream through memory, and the
// picture row receives them as one contiguous run. Streams a plane stride apart fall into the
// same cache set (a 256^3 plane is 64 KiB), so no more of them than the cache has ways.
constexpr int kGatherStrip = 8;

void GatherSlice(const uint8_t* base, const SliceGeometry& g, uint8_t* out) {
    const size_t w = size_t(g.width);
    if (g.horizontalStride == 1) {
        for (int r = 0; r < g.height; ++r) std::memcpy(out + r * w, base + r * g.verticalStride, w);
        return;
    }
    for (int c0 = 0; c0 < g.width; c0 += kGatherStrip) {
        const int n = std::min(kGatherStrip, g.width - c0);
        const uint8_t* column = base + size_t(c0) * g.horizontalStride;
        for (int r = 0; r < g.height; ++r, column += g.verticalStride) {
            uint8_t* dst = out + r * w + c0;
            for (int k = 0; k < n; ++k) dst[k] = column[size_t(k) * g.horizontalStride];
        }
    }
}

template <int N>
void StoreRow(uint8_t* dst, const uint32_t* values, int n) {
    for (int c = 0; c < n; ++c, dst += N)
        for (int i = 0; i < N; ++i) dst[i] = uint8_t(values[c] >> (8 * i));
}

void StoreRow(uint8_t* dst, const uint32_t* values, int n, DisplayFormat format) {
    switch (BytesPerPixel(format)) {
        case 1:
            return StoreRow<1>(dst, values, n);
        case 2:
            return StoreRow<2>(dst, values, n);
        case 3:
            return StoreRow<3>(dst, values, n);
        default:
            return StoreRow<4>(dst, values, n);
    }
}

// Per label byte: the label as drawn (illegal bytes read as unknown), and either its overlay
// pixel or an all-ones mask that selects the grey value, so the colour pass has no branch.
struct LabelTable {
    std::array<uint8_t, 256> legal;
    std::array<uint32_t, 256> pixel;
    std::array<uint32_t, 256> greyMask;
};

LabelTable LabelTableOf(const OverlaySwitches& on, const DisplayColours& colours) {
    LabelTable t{};
    for (int l = 0; l < 256; ++l) {
        t.legal[l] = IsLegalLabel(uint8_t(l)) ? uint8_t(l) : Unknown;
        const int k = OverlayColourOf(uint8_t(l), on);
        t.pixel[l] = k < 0 ? 0 : colours.pixel[k];  // illegal bytes show grey, like unknown
        t.greyMask[l] = k < 0 ? ~0u : 0u;
    }
    return t;
}

// Illegal label bytes are copied as unknown, as the document reads them.
void SanitiseLabels(std::vector<uint8_t>& labels, const LabelTable& table) {
    for (uint8_t& l : labels) l = table.legal[l];
}

// Turns the anatomy and label copies into pixels, row by row. Indexing the tables by the raw
// byte keeps the loop free of stores into the copies, which would alias the tables.
void ColourPicture(SlicePicture& p, const LabelTable& table, const SliceTables& tables) {
    std::vector<uint32_t> row(size_t(p.width));
    const auto& grey = tables.grey.pixels();
    for (int r = 0; r < p.height; ++r) {
        const size_t at = size_t(r) * size_t(p.width);
        const uint8_t* labels = p.labels.data() + at;
        const uint8_t* anatomy = p.anatomy.data() + at;
        uint32_t* out = row.data();
        for (int c = 0; c < p.width; ++c)
            out[c] = (grey[anatomy[c]] & table.greyMask[labels[c]]) | table.pixel[labels[c]];
        StoreRow(p.pixels.data() + size_t(r) * p.rowBytes, out, p.width, p.format);
    }
    SanitiseLabels(p.labels, table);
}

int SliceIndexOf(int orientation, const std::array<int32_t, 3>& v) {
    return v[AxesOf(orientation).slice];
}

void PaintOverlay(SlicePicture& p, const OverlaySet* set, int orientation, int slice,
                  const VolumeDims& dims) {
    if (!set) return;
    const size_t n = std::min(set->positions.size(), set->colours.size());
    for (size_t i = 0; i < n; ++i) {
        const uint32_t pos = set->positions[i];
        const std::array<int32_t, 3> v = {PackedVoxel::X(pos), PackedVoxel::Y(pos),
                                          PackedVoxel::Z(pos)};
        if (!dims.contains(v[0], v[1], v[2]) || SliceIndexOf(orientation, v) != slice) continue;
        const PicturePoint at = PicturePointOf(orientation, v[0], v[1], v[2]);
        p.SetPixel(at.column, at.row, set->colours[i]);
    }
}

void PaintOverlays(SlicePicture& p, const SliceSource& s, int orientation, int slice,
                   const OverlaySwitches& on) {
    if (on.rois) PaintOverlay(p, s.roi, orientation, slice, s.dims);
    if (on.functional)
        PaintOverlay(p, on.clipFunctionals ? s.functionalInRoi : s.functional, orientation, slice,
                     s.dims);
    if (on.cuts) PaintOverlay(p, s.cut, orientation, slice, s.dims);
}

std::optional<SlicePicture> AllocatePicture(const SliceGeometry& g, DisplayFormat format) {
    try {
        SlicePicture p;
        p.format = format;
        p.width = g.width;
        p.height = g.height;
        p.rowBytes = PictureRowBytes(g.width, format);
        p.pixels.assign(p.rowBytes * size_t(g.height), 0);
        p.anatomy.resize(size_t(g.width) * size_t(g.height));
        p.labels.resize(p.anatomy.size());
        return p;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

SliceSource SliceSourceOf(CSulcanDoc& doc) {
    SliceSource s;
    // A volume of the wrong size (a half-installed project) gives no picture rather than a
    // read beyond it.
    const size_t voxels = doc.dims().voxels();
    if (doc.anatomy().size() == voxels) s.anatomy = doc.anatomy().data();
    if (doc.classification().size() == voxels) s.labels = doc.classification().data();
    s.dims = doc.dims();
    s.roi = &doc.overlay(kOverlayRoi);
    s.functional = &doc.overlay(kOverlayFunctional);
    s.functionalInRoi = &doc.overlay(kOverlayFunctionalInRoi);
    s.cut = &doc.overlay(kOverlayCut);
    return s;
}

uint32_t SlicePicture::PixelAt(int column, int row) const {
    return LoadPixel(
        pixels.data() + size_t(row) * rowBytes + size_t(column) * BytesPerPixel(format), format);
}

void SlicePicture::SetPixel(int column, int row, uint32_t value) {
    StorePixel(PixelAddress(column, row), value, format);
}

int OverlayColourOf(uint8_t label, const OverlaySwitches& on) {
    if (!IsLegalLabel(label)) return -1;
    const bool selected = (label & SelectedBit) != 0;
    switch (TissueOf(label)) {
        case White:
            if (on.white) return selected ? kColourSelectedWhite : kColourWhiteMatter;
            return -1;
        case Gray:
            if (on.gray) return selected ? kColourSelectedGray : kColourGrayMatter;
            return -1;
        case Csf:
            return on.csf ? kColourCsfMatter : -1;
        default:
            return -1;
    }
}

std::optional<SlicePicture> BuildSlicePicture(const SliceSource& source, int orientation, int slice,
                                              const OverlaySwitches& on,
                                              const SliceTables& tables) {
    if (!source.anatomy || !source.labels || !source.dims.valid()) return std::nullopt;
    const SliceGeometry g = SliceGeometryOf(orientation, source.dims);
    if (slice < 0 || slice >= g.depth) return std::nullopt;
    std::optional<SlicePicture> p = AllocatePicture(g, tables.format);
    if (!p) return p;
    const size_t start = size_t(slice) * g.sliceStride;
    GatherSlice(source.anatomy + start, g, p->anatomy.data());
    GatherSlice(source.labels + start, g, p->labels.data());
    ColourPicture(*p, LabelTableOf(on, tables.colours), tables);
    PaintOverlays(*p, source, orientation, slice, on);
    return p;
}

void RecolourPixel(SlicePicture& p, int column, int row, const OverlaySwitches& on,
                   const SliceTables& tables) {
    const size_t at = size_t(row) * size_t(p.width) + size_t(column);
    const int k = OverlayColourOf(p.labels[at], on);
    p.SetPixel(column, row, k < 0 ? tables.grey[p.anatomy[at]] : tables.colours.pixel[k]);
}

// ---- marks

int SliceAxisOf(int orientation) { return AxesOf(orientation).slice; }
int HorizontalAxisOf(int orientation) { return AxesOf(orientation).horizontal; }
int VerticalAxisOf(int orientation) { return AxesOf(orientation).vertical; }

PicturePoint PicturePointOf(int orientation, int32_t x, int32_t y, int32_t z) {
    const std::array<int32_t, 3> v = {x, y, z};
    const OrientationAxes& a = AxesOf(orientation);
    return {v[a.horizontal], v[a.vertical]};
}

PictureBox PictureBoxOf(int orientation, const VoiBox& voi) {
    const PicturePoint lo = PicturePointOf(orientation, voi.xmin, voi.ymin, voi.zmin);
    const PicturePoint hi = PicturePointOf(orientation, voi.xmax, voi.ymax, voi.zmax);
    return {lo.column, lo.row, hi.column, hi.row};
}

int HorizontalAxisColour(int orientation) {
    return kAxisColour[AxesOf(orientation).horizontal];
}
int VerticalAxisColour(int orientation) {
    return kAxisColour[AxesOf(orientation).vertical];
}

SliceMarks MarksOf(int orientation, int32_t x, int32_t y, int32_t z, const VoiBox& voi,
                   const OverlaySwitches& on) {
    SliceMarks m;
    m.orientation = orientation;
    m.positionCrossbars = on.positionCrossbars;
    m.point = PicturePointOf(orientation, x, y, z);
    m.voiCrossbars = on.voiCrossbars;
    m.voi = PictureBoxOf(orientation, voi);
    return m;
}

PictureBox BrushSquare(PicturePoint at, int size, int width, int height) {
    const int before = size / 2, after = size - before - 1;
    return {std::max(at.column - before, 0), std::max(at.row - before, 0),
            std::min(at.column + after, width - 1), std::min(at.row + after, height - 1)};
}

namespace {

void VerticalLine(SlicePicture& p, int column, int step, uint32_t value) {
    if (column < 0 || column >= p.width) return;
    for (int r = 0; r < p.height; r += step) p.SetPixel(column, r, value);
}

void HorizontalLine(SlicePicture& p, int row, int step, uint32_t value) {
    if (row < 0 || row >= p.height) return;
    for (int c = 0; c < p.width; c += step) p.SetPixel(c, row, value);
}

void FillBox(SlicePicture& p, const PictureBox& box, uint32_t value) {
    for (int r = box.rowMin; r <= box.rowMax; ++r)
        for (int c = box.columnMin; c <= box.columnMax; ++c) p.SetPixel(c, r, value);
}

}  // namespace

void DrawMarks(SlicePicture& p, const SliceMarks& m, const DisplayColours& colours) {
    const uint32_t horizontal = colours.pixel[HorizontalAxisColour(m.orientation)];
    const uint32_t vertical = colours.pixel[VerticalAxisColour(m.orientation)];
    if (m.brush)
        FillBox(p, BrushSquare(m.brushAt, m.brushSize, p.width, p.height),
                colours.pixel[kColourBrush]);
    if (m.positionCrossbars) {
        VerticalLine(p, m.point.column, 1, horizontal);
        HorizontalLine(p, m.point.row, 1, vertical);
    }
    if (m.voiCrossbars) {
        VerticalLine(p, m.voi.columnMin, 2, horizontal);
        VerticalLine(p, m.voi.columnMax, 2, horizontal);
        HorizontalLine(p, m.voi.rowMin, 2, vertical);
        HorizontalLine(p, m.voi.rowMax, 2, vertical);
    }
}

MarkedPicture::MarkedPicture(SlicePicture& picture, const SliceMarks& marks,
                             const DisplayColours& colours)
    : picture_(picture) {
    try {
        saved_ = picture.pixels;
    } catch (const std::bad_alloc&) {
        return;
    }
    DrawMarks(picture, marks, colours);
}

MarkedPicture::~MarkedPicture() {
    if (!saved_.empty()) picture_.pixels.swap(saved_);
}

}  // namespace sulcan
