#pragma once
// Display pixel formats of the slice pictures: colour to pixel value, storing and loading
// pixels, the application palette of the indexed format, the eleven drawing colours, and the
// conversion of a whole picture back to packed R, G, B rows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Ui.h"

namespace sulcan {

enum class DisplayFormat { Rgb565, Rgb555, Rgb24, Rgb32, Palette8 };

// 16-bit masks that identify the two 16-bit formats.
inline constexpr uint32_t kRgb565Masks[3] = {0xF800, 0x07E0, 0x001F};
inline constexpr uint32_t kRgb555Masks[3] = {0x7C00, 0x03E0, 0x001F};

// The format of a screen probed as bits per pixel and the red, green, blue masks.
DisplayFormat DisplayFormatOf(int bitsPerPixel, uint32_t redMask, uint32_t greenMask,
                              uint32_t blueMask);
int BytesPerPixel(DisplayFormat format);
// Bytes of one picture row: width * bytes per pixel rounded up to a multiple of 4.
size_t PictureRowBytes(int width, DisplayFormat format);

// red * 65536 + green * 256 + blue
constexpr uint32_t PackRgb(Rgb c) {
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}
constexpr Rgb UnpackRgb(uint32_t rgb) {
    return {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
}

// A colour 0xRRGGBB as a pixel value of the format (Palette8: the index in the application
// palette of the nearest grey or colour-cube entry).
uint32_t ToDisplayPixel(uint32_t rgb, DisplayFormat format);
uint8_t PaletteIndexOf(uint32_t rgb);

// Pixel values in memory: little-endian, BytesPerPixel bytes.
void StorePixel(uint8_t* at, uint32_t value, DisplayFormat format);
uint32_t LoadPixel(const uint8_t* at, DisplayFormat format);

// ---- the eleven drawing colours
inline constexpr int kDisplayColourCount = 11;
enum DisplayColourIndex {
    kColourBlack = 0,
    kColourBrush = 1,
    kColourWhiteMatter = 2,
    kColourSelectedWhite = 3,
    kColourGrayMatter = 4,
    kColourSelectedGray = 5,
    kColourCsfMatter = 6,
    kColourZLine = 7,
    kColourYLine = 8,
    kColourXLine = 9,
    kColourLightGray = 10,
};
using ColourTableRgb = std::array<uint32_t, kDisplayColourCount>;  // 0xRRGGBB each

// Defaults of entries 2..6 are the colour preferences' defaults.
ColourTableRgb DefaultDisplayColoursRgb();

struct DisplayColours {
    ColourTableRgb rgb{};                               // as chosen
    std::array<uint32_t, kDisplayColourCount> pixel{};  // in the display format
};
// In Palette8 entry k has its own palette entry 192 + k, so it shows exactly.
DisplayColours BuildDisplayColours(const ColourTableRgb& rgb, DisplayFormat format);

// ---- the application palette (Palette8 only)
inline constexpr int kPaletteSize = 203;
inline constexpr int kPaletteGreys = 64;
inline constexpr int kPaletteCubeBase = 64;
inline constexpr int kPaletteColourBase = 192;
using Palette = std::array<Rgb, kPaletteSize>;
Palette BuildPalette(const ColourTableRgb& colours);

// ---- back to RGB
// The pixels of a picture (rows of rowBytes from the top) as width * height * 3 bytes R, G, B,
// packed row by row. 16-bit values expand by repeating their top bits, so full intensity
// stays 255. Empty when a Palette8 picture has no palette or an index beyond it.
std::vector<uint8_t> PictureToRgb(const uint8_t* picture, int width, int height, size_t rowBytes,
                                  DisplayFormat format, const Palette* palette);

}  // namespace sulcan
