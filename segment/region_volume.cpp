#include "segment/region_volume.h"

#include <algorithm>
#include <new>

#include "volume/volume_types.h"

namespace sulcan {

namespace {

using namespace PackedVoxel;

struct Box {
    int32_t lo[3], hi[3];
};

struct Geometry {
    int32_t size[3];
    size_t row, plane;
    const uint8_t* At(const uint8_t* labels, int32_t x, int32_t y, int32_t z) const {
        return labels + size_t(x) + size_t(y) * row + size_t(z) * plane;
    }
};

Geometry GeometryOf(uint32_t dims) {
    Geometry g{{X(dims), Y(dims), Z(dims)}, 0, 0};
    g.row = size_t(g.size[0]);
    g.plane = g.row * size_t(g.size[1]);
    return g;
}

Box BoxOf(uint32_t low, uint32_t high) {
    return {{X(low), Y(low), Z(low)}, {X(high), Y(high), Z(high)}};
}

Box ClampedTo(Box b, const Geometry& g) {
    for (int a = 0; a < 3; ++a) {
        b.lo[a] = std::min(b.lo[a], g.size[a] - 1);
        b.hi[a] = std::min(b.hi[a], g.size[a] - 1);
    }
    return b;
}

// Any nonzero byte in the row; written as a plain OR so that it vectorises.
bool RowHasLabel(const uint8_t* p, int32_t n) {
    uint8_t any = 0;
    for (int32_t i = 0; i < n; ++i) any |= p[i];
    return any != 0;
}

// Grows `found` by the labelled voxels of one row that starts at x = x0.
void AddRow(const uint8_t* p, int32_t x0, int32_t n, int32_t y, int32_t z, Box& found) {
    int32_t first = 0, last = n - 1;
    while (p[first] == 0) ++first;
    while (p[last] == 0) --last;
    found.lo[0] = std::min(found.lo[0], x0 + first);
    found.hi[0] = std::max(found.hi[0], x0 + last);
    found.lo[1] = std::min(found.lo[1], y);
    found.hi[1] = std::max(found.hi[1], y);
    found.lo[2] = std::min(found.lo[2], z);
    found.hi[2] = std::max(found.hi[2], z);
}

// Smallest box inside `box` holding every labelled voxel; nothing when there is none.
std::optional<Box> LabelledBox(const uint8_t* labels, const Geometry& g, const Box& box) {
    Box found{{box.hi[0] + 1, box.hi[1] + 1, box.hi[2] + 1}, {-1, -1, -1}};
    const int32_t n = box.hi[0] - box.lo[0] + 1;
    for (int32_t z = box.lo[2]; z <= box.hi[2]; ++z)
        for (int32_t y = box.lo[1]; y <= box.hi[1]; ++y) {
            const uint8_t* p = g.At(labels, box.lo[0], y, z);
            if (RowHasLabel(p, n)) AddRow(p, box.lo[0], n, y, z, found);
        }
    if (found.hi[0] < 0) return std::nullopt;
    return found;
}

RegionVolume EmptyRegion(uint32_t low) {
    RegionVolume r;
    r.bytes.assign(27, 0);
    r.dims = Pack(3, 3, 3);
    r.origin = low;
    return r;
}

void CopyTissue(const uint8_t* labels, const Geometry& g, const Box& box, RegionVolume& r,
                uint8_t mask, uint8_t value) {
    const int32_t off = r.padded ? 1 : 0;
    const size_t row = size_t(r.nx()), plane = row * size_t(r.ny());
    const int32_t n = box.hi[0] - box.lo[0] + 1;
    for (int32_t z = box.lo[2]; z <= box.hi[2]; ++z)
        for (int32_t y = box.lo[1]; y <= box.hi[1]; ++y) {
            const uint8_t* in = g.At(labels, box.lo[0], y, z);
            uint8_t* out = r.bytes.data() + size_t(off) + size_t(y - box.lo[1] + off) * row +
                           size_t(z - box.lo[2] + off) * plane;
            for (int32_t i = 0; i < n; ++i) out[i] = uint8_t((in[i] & mask) == value);
        }
}

}  // namespace

int32_t RegionVolume::nx() const {
    return X(dims);
}
int32_t RegionVolume::ny() const {
    return Y(dims);
}
int32_t RegionVolume::nz() const {
    return Z(dims);
}

std::optional<RegionVolume> ExtractVoi(const uint8_t* labels, uint32_t volumeDims, uint32_t low,
                                       uint32_t high, bool pad, bool shrink, uint8_t tissueMask,
                                       uint8_t tissueValue) {
    const Geometry g = GeometryOf(volumeDims);
    Box box = BoxOf(low, high);
    if (shrink) {
        const Box scan = ClampedTo(box, g);
        if (scan.lo[0] > scan.hi[0] || scan.lo[1] > scan.hi[1] || scan.lo[2] > scan.hi[2])
            return std::nullopt;
        auto found = LabelledBox(labels, g, scan);
        if (!found) return EmptyRegion(low);
        box = *found;
    }
    int32_t work[3];
    for (int a = 0; a < 3; ++a) {
        const int32_t extent = box.hi[a] - box.lo[a] + 1;
        if (extent < 1 || extent > kMaxRegionExtent) return std::nullopt;
        work[a] = extent + (pad ? 2 : 0);
    }
    RegionVolume r;
    try {
        r.bytes.assign(size_t(work[0]) * size_t(work[1]) * size_t(work[2]), 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    r.dims = Pack(uint32_t(work[0]), uint32_t(work[1]), uint32_t(work[2]));
    r.padded = pad;
    box = ClampedTo(box, g);
    r.origin = Pack(uint32_t(box.lo[0]), uint32_t(box.lo[1]), uint32_t(box.lo[2]));
    CopyTissue(labels, g, box, r, tissueMask, tissueValue);
    return r;
}

}  // namespace sulcan
