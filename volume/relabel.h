#pragma once
// The whole-volume relabelling commands as ReplaceLabels calls: every voxel with
// (label & mask) == match becomes `replacement`.
#include <cstdint>

namespace sulcan {

struct Relabelling {
    uint8_t mask, match, replacement;
    // Deleting gray (or everything) also drops the gray graph and the gray selection.
    bool releasesGrayGraph;
};

inline constexpr Relabelling kDeselectWhite{0xFF, 0x90, 0x10, false};
inline constexpr Relabelling kDeselectGray{0xFF, 0xA0, 0x20, false};
inline constexpr Relabelling kDeleteUnselectedWhite{0xFF, 0x10, 0x00, false};
inline constexpr Relabelling kDeleteAllGray{0x70, 0x20, 0x00, true};
inline constexpr Relabelling kDeleteAllCsf{0x70, 0x30, 0x00, false};
inline constexpr Relabelling kClearClassification{0x00, 0x00, 0x00, true};

}  // namespace sulcan
