#include "volume/volume_resize.h"

#include <algorithm>
#include <cstring>

namespace sulcan {

std::vector<uint8_t> ResizeVolume(const uint8_t* source, const VolumeDims& from,
                                  const VolumeDims& to) {
    std::vector<uint8_t> target(to.voxels(), 0);
    const int32_t nx = std::min(from.x, to.x), ny = std::min(from.y, to.y),
                  nz = std::min(from.z, to.z);
    for (int32_t z = 0; z < nz; ++z)
        for (int32_t y = 0; y < ny; ++y)
            std::memcpy(&target[to.index(0, y, z)], source + from.index(0, y, z), size_t(nx));
    return target;
}

}  // namespace sulcan
