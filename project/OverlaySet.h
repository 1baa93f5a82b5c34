#pragma once
// Positions and colours of overlay points read from ROI, functional and cut files.
#include <cstdint>
#include <vector>

namespace sulcan {

struct OverlaySet {
    std::vector<uint32_t> positions;  // PackedVoxel
    std::vector<uint32_t> colours;    // red * 65536 + green * 256 + blue (or display format)
    size_t count() const { return positions.size(); }
    void Clear() {
        positions.clear();
        colours.clear();
    }
};

}  // namespace sulcan
