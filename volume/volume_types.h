#pragma once
// Geometry, label encoding and positions shared by every part that touches voxels.
#include <cstddef>
#include <cstdint>

namespace sulcan {

// ---- labels: tissue code in bits 4-6, selection in bit 7
inline constexpr uint8_t TissueMask = 0x70;
inline constexpr uint8_t SelectedBit = 0x80;
inline constexpr uint8_t Unknown = 0x00;
inline constexpr uint8_t White = 0x10;
inline constexpr uint8_t Gray = 0x20;
inline constexpr uint8_t Csf = 0x30;
inline constexpr uint8_t GrayCandidate = 0x40;
inline constexpr uint8_t SelectedWhite = 0x90;
inline constexpr uint8_t SelectedGray = 0xA0;

constexpr uint8_t TissueOf(uint8_t label) { return label & TissueMask; }
constexpr bool IsLegalLabel(uint8_t label) {
    return label == Unknown || label == White || label == Gray || label == Csf ||
           label == GrayCandidate || label == SelectedWhite || label == SelectedGray;
}

// ---- geometry
inline constexpr int kMaxDimension = 1023;

struct VolumeDims {
    int32_t x = 0, y = 0, z = 0;
    size_t rowStride() const { return size_t(x); }
    size_t planeStride() const { return size_t(x) * size_t(y); }
    size_t voxels() const { return size_t(x) * size_t(y) * size_t(z); }
    size_t index(int32_t vx, int32_t vy, int32_t vz) const {
        return size_t(vx) + size_t(vy) * rowStride() + size_t(vz) * planeStride();
    }
    bool contains(int32_t vx, int32_t vy, int32_t vz) const {
        return vx >= 0 && vx < x && vy >= 0 && vy < y && vz >= 0 && vz < z;
    }
    bool valid() const {
        return x >= 1 && x <= kMaxDimension && y >= 1 && y <= kMaxDimension && z >= 1 &&
               z <= kMaxDimension;
    }
    bool operator==(const VolumeDims&) const = default;
};

// ---- a voxel position in one word: x bits 0-9, y bits 10-19, z bits 20-29
namespace PackedVoxel {
inline constexpr uint32_t kFlagBits = 0xC0000000u;  // free for the region algorithms
constexpr uint32_t Pack(uint32_t x, uint32_t y, uint32_t z) {
    return (x & 0x3FF) | (y & 0x3FF) << 10 | (z & 0x3FF) << 20;
}
constexpr int32_t X(uint32_t p) { return int32_t(p & 0x3FF); }
constexpr int32_t Y(uint32_t p) { return int32_t((p >> 10) & 0x3FF); }
constexpr int32_t Z(uint32_t p) { return int32_t((p >> 20) & 0x3FF); }
}  // namespace PackedVoxel

// ---- slice orientations: 0 red/sagittal (fixed z), 1 green/axial (fixed y),
// 2 blue/coronal (fixed x)
enum SliceOrientation : int32_t { Sagittal = 0, Axial = 1, Coronal = 2 };

struct SliceGeometry {
    size_t horizontalStride, verticalStride, sliceStride;
    int32_t width, height;  // image extents
    int32_t depth;          // number of slices
};
SliceGeometry SliceGeometryOf(int orientation, const VolumeDims& dims);

// ---- volume of interest: inclusive bounds
struct VoiBox {
    int32_t xmin = 0, ymin = 0, zmin = 0, xmax = 0, ymax = 0, zmax = 0;
    static VoiBox Whole(const VolumeDims& d) { return {0, 0, 0, d.x - 1, d.y - 1, d.z - 1}; }
    bool operator==(const VoiBox&) const = default;
};

// Returns 0 when the box is well formed for the size (0 <= min <= max <= size-1 on every
// axis); otherwise clamps every bound into range, swaps reversed bounds and returns 1.
int ClampVoi(VoiBox& box, int xsize, int ysize, int zsize);

struct CursorPoint {
    bool valid = false;
    int32_t x = 0, y = 0, z = 0;
    int32_t orientation = 0;
};

}  // namespace sulcan
