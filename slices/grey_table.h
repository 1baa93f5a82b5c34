#pragma once
// The greyscale table of the slice views: one display pixel per anatomy value, from
// brightness, contrast and gamma, and those three as the registry stores them.
#include <array>
#include <cstdint>

#include "slices/display_format.h"

namespace sulcan {

struct GreyParameters {
    double brightness = 0.64;  // 0..1
    double contrast = 0.43;    // 0..1
    double gamma = 1.2;        // 0.5..3
    bool operator==(const GreyParameters&) const = default;
};
bool GreyParametersValid(const GreyParameters& p);

// The registry's integers: brightness and contrast times 100, gamma times 10.
struct GreyRegistryValues {
    int brightness = 64, contrast = 43, gamma = 12;
    bool operator==(const GreyRegistryValues&) const = default;
};
// A stored value outside its range (0..100, 0..100, 5..30) reads as its default.
GreyParameters GreyParametersFromRegistry(const GreyRegistryValues& stored);
GreyRegistryValues GreyRegistryValuesOf(const GreyParameters& p);

// The grey level 0..255 shown for anatomy value i.
uint8_t GreyLevel(int i, const GreyParameters& p);

class GreyTable {
  public:
    // Refused (false, table unchanged) for parameters out of range.
    bool Build(const GreyParameters& p, DisplayFormat format);
    uint32_t operator[](uint8_t value) const { return pixels_[value]; }
    const std::array<uint32_t, 256>& pixels() const { return pixels_; }

  private:
    std::array<uint32_t, 256> pixels_{};
};

}  // namespace sulcan
