#pragma once
// The work volume of the region operations: a binary copy of one tissue inside a box of the
// classification, optionally framed by one empty voxel on every side.
#include <cstdint>
#include <optional>
#include <vector>

namespace sulcan {

// Widest box (per axis) that still leaves room for the two frame voxels in a packed dimension.
inline constexpr int32_t kMaxRegionExtent = 1020;

struct RegionVolume {
    std::vector<uint8_t> bytes;  // voxel (i, j, k) at i + j*nx + k*nx*ny
    uint32_t dims = 0;           // PackedVoxel: nx, ny, nz
    uint32_t origin = 0;         // PackedVoxel: classification position of the box's low corner
    bool padded = false;         // box at work voxels 1..n-2, frame of 0 around it

    int32_t nx() const;
    int32_t ny() const;
    int32_t nz() const;
    // Offset added to a work voxel to reach its classification voxel (-1 per axis when padded).
    int32_t shift() const { return padded ? -1 : 0; }
};

// Copies the voxels of the box [low, high] (PackedVoxel corners, inclusive) whose
// (label & tissueMask) == tissueValue as 1, all else 0. With `shrink` the box first shrinks to
// the labelled voxels inside it; a box without any gives a 3x3x3 zero volume at `low`. Nothing
// when an extent is outside 1..kMaxRegionExtent or memory runs out.
std::optional<RegionVolume> ExtractVoi(const uint8_t* labels, uint32_t volumeDims, uint32_t low,
                                       uint32_t high, bool pad, bool shrink, uint8_t tissueMask,
                                       uint8_t tissueValue);

}  // namespace sulcan
