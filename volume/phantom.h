#pragma once
// A deterministic, brain-like test volume with its true labels: a folded white matter body,
// a gray ribbon over it, a CSF layer and a dark background, with optional handles (tunnels
// through the white matter), an enclosed cavity and a separate white satellite.
#include <cstdint>
#include <string>
#include <vector>

#include "volume/volume_types.h"

namespace sulcan {

struct PhantomOptions {
    int size = 128;          // edge of the cubic volume, kMinPhantomSize..512
    uint32_t seed = 1;
    double noise = 3.0;      // standard deviation of the Gaussian noise
    int handles = 0;         // 0..kMaxPhantomHandles
    bool cavity = false;
    bool satellite = false;
    // Tissue intensities (before noise).
    double background = 4, csf = 35, gray = 50, white = 60;
};

inline constexpr int kMinPhantomSize = 32;
inline constexpr int kMaxPhantomSize = 512;
inline constexpr int kMaxPhantomHandles = 4;

struct Phantom {
    VolumeDims dims;
    std::vector<uint8_t> anatomy;
    std::vector<uint8_t> labels;  // White, Gray, Csf or Unknown (background)
};

// Empty string when the options can be built, else what is wrong.
std::string CheckPhantomOptions(const PhantomOptions& options);
Phantom MakePhantom(const PhantomOptions& options);

}  // namespace sulcan
