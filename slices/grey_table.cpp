#include "slices/grey_table.h"

#include <algorithm>
#include <cmath>

namespace sulcan {

namespace {

bool InRange(double v, double lo, double hi) {
    return v >= lo && v <= hi;
}
bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

}  // namespace

bool GreyParametersValid(const GreyParameters& p) {
    return InRange(p.brightness, 0.0, 1.0) && InRange(p.contrast, 0.0, 1.0) &&
           InRange(p.gamma, 0.5, 3.0);
}

GreyParameters GreyParametersFromRegistry(const GreyRegistryValues& stored) {
    const GreyParameters defaults;
    GreyParameters p;
    p.brightness =
        InRange(stored.brightness, 0, 100) ? stored.brightness / 100.0 : defaults.brightness;
    p.contrast = InRange(stored.contrast, 0, 100) ? stored.contrast / 100.0 : defaults.contrast;
    p.gamma = InRange(stored.gamma, 5, 30) ? stored.gamma / 10.0 : defaults.gamma;
    return p;
}

GreyRegistryValues GreyRegistryValuesOf(const GreyParameters& p) {
    // Rounded, since 0.29 * 100 is 28.999... in binary.
    return {int(std::lround(p.brightness * 100)), int(std::lround(p.contrast * 100)),
            int(std::lround(p.gamma * 10))};
}

uint8_t GreyLevel(int i, const GreyParameters& p) {
    const float brightness = float(p.brightness) * 120000.0f;
    const double t =
        p.contrast * (std::pow(i / 255.0, 1.0 / p.gamma) - 0.5) * 500000.0 + double(brightness);
    return uint8_t(int32_t(std::clamp(t, 0.0, 65535.0)) >> 8);
}

bool GreyTable::Build(const GreyParameters& p, DisplayFormat format) {
    if (!GreyParametersValid(p)) return false;
    for (int i = 0; i < 256; ++i) {
        const uint32_t level = GreyLevel(i, p);
        pixels_[i] = ToDisplayPixel(level << 16 | level << 8 | level, format);
    }
    return true;
}

}  // namespace sulcan
