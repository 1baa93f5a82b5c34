#include "volume/volume_types.h"

#include <algorithm>
#include <utility>

namespace sulcan {

SliceGeometry SliceGeometryOf(int orientation, const VolumeDims& d) {
    switch (orientation) {
        case Axial: return {d.planeStride(), 1, d.rowStride(), d.z, d.x, d.y};
        case Coronal: return {d.planeStride(), d.rowStride(), 1, d.z, d.y, d.x};
        default: return {1, d.rowStride(), d.planeStride(), d.x, d.y, d.z};
    }
}

namespace {
bool AxisWellFormed(int32_t lo, int32_t hi, int size) { return 0 <= lo && lo <= hi && hi < size; }
void ClampAxis(int32_t& lo, int32_t& hi, int size) {
    lo = std::clamp(lo, 0, std::max(size - 1, 0));
    hi = std::clamp(hi, 0, std::max(size - 1, 0));
    if (lo > hi) std::swap(lo, hi);
}
}  // namespace

int ClampVoi(VoiBox& b, int xsize, int ysize, int zsize) {
    if (AxisWellFormed(b.xmin, b.xmax, xsize) && AxisWellFormed(b.ymin, b.ymax, ysize) &&
        AxisWellFormed(b.zmin, b.zmax, zsize))
        return 0;
    ClampAxis(b.xmin, b.xmax, xsize);
    ClampAxis(b.ymin, b.ymax, ysize);
    ClampAxis(b.zmin, b.zmax, zsize);
    return 1;
}

}  // namespace sulcan
