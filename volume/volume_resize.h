#pragma once
#include <cstdint>
#include <vector>

#include "volume/volume_types.h"

namespace sulcan {

// The source cropped or padded with zeros to the target size, anchored at voxel (0,0,0).
// Throws std::bad_alloc when the target cannot be allocated.
std::vector<uint8_t> ResizeVolume(const uint8_t* source, const VolumeDims& from,
                                  const VolumeDims& to);

}  // namespace sulcan
