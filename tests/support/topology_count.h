#pragma once
// An independent, plain oracle for the topology of a binary object in a volume, for tests:
// 26-connected object components, 6-connected background pockets not reaching the border,
// and the Euler characteristic of the union of closed voxel cubes.
#include <cstdint>
#include <functional>
#include <vector>

#include "volume/volume_types.h"

namespace sulcan::testing {

struct TopologyCount {
    int components = 0;
    int cavities = 0;
    long euler = 0;
    long handles() const { return components + cavities - euler; }
};

TopologyCount CountTopology(const std::vector<uint8_t>& labels, const VolumeDims& dims,
                            const std::function<bool(uint8_t)>& isObject);

}  // namespace sulcan::testing
