#include "slices/display_format.h"

#include <new>

namespace sulcan {

namespace {

bool MasksAre(const uint32_t (&masks)[3], uint32_t r, uint32_t g, uint32_t b) {
    return masks[0] == r && masks[1] == g && masks[2] == b;
}

// Repeats the top bits of an n-bit component into the low bits of the 8-bit one.
uint8_t Expand(uint32_t component, int bits) {
    const uint32_t c = component << (8 - bits);
    return uint8_t(c | c >> bits);
}

constexpr uint8_t kRedBlueLevels[4] = {0, 85, 170, 255};
constexpr uint8_t kGreenLevels[8] = {0, 37, 73, 110, 146, 183, 219, 255};

}  // namespace

DisplayFormat DisplayFormatOf(int bitsPerPixel, uint32_t redMask, uint32_t greenMask,
                              uint32_t blueMask) {
    if (bitsPerPixel == 16 && MasksAre(kRgb565Masks, redMask, greenMask, blueMask))
        return DisplayFormat::Rgb565;
    if (bitsPerPixel == 16 && MasksAre(kRgb555Masks, redMask, greenMask, blueMask))
        return DisplayFormat::Rgb555;
    if (bitsPerPixel == 24) return DisplayFormat::Rgb24;
    if (bitsPerPixel == 32) return DisplayFormat::Rgb32;
    return DisplayFormat::Palette8;
}

int BytesPerPixel(DisplayFormat format) {
    switch (format) {
        case DisplayFormat::Rgb565:
        case DisplayFormat::Rgb555:
            return 2;
        case DisplayFormat::Rgb24:
            return 3;
        case DisplayFormat::Rgb32:
            return 4;
        default:
            return 1;
    }
}

size_t PictureRowBytes(int width, DisplayFormat format) {
    return (size_t(width) * size_t(BytesPerPixel(format)) + 3) & ~size_t(3);
}

uint8_t PaletteIndexOf(uint32_t rgb) {
    const Rgb c = UnpackRgb(rgb);
    const int r = c.r >> 2, g = c.g >> 2, b = c.b >> 2;
    if (r >> 2 == g >> 2 && g >> 2 == b >> 2) return uint8_t((b + 2 * g + r) >> 2);
    return uint8_t(kPaletteCubeBase + 32 * (c.r >> 6) + 4 * (c.g >> 5) + (c.b >> 6));
}

uint32_t ToDisplayPixel(uint32_t rgb, DisplayFormat format) {
    const Rgb c = UnpackRgb(rgb);
    switch (format) {
        case DisplayFormat::Rgb565:
            return uint32_t(c.r >> 3) << 11 | uint32_t(c.g >> 2) << 5 | c.b >> 3;
        case DisplayFormat::Rgb555:
            return uint32_t(c.r >> 3) << 10 | uint32_t(c.g >> 3) << 5 | c.b >> 3;
        case DisplayFormat::Palette8:
            return PaletteIndexOf(rgb);
        default:
            return rgb & 0xFFFFFF;
    }
}

void StorePixel(uint8_t* at, uint32_t value, DisplayFormat format) {
    const int n = BytesPerPixel(format);
    for (int i = 0; i < n; ++i) at[i] = uint8_t(value >> (8 * i));
}

uint32_t LoadPixel(const uint8_t* at, DisplayFormat format) {
    const int n = BytesPerPixel(format);
    uint32_t value = 0;
    for (int i = 0; i < n; ++i) value |= uint32_t(at[i]) << (8 * i);
    return value;
}

ColourTableRgb DefaultDisplayColoursRgb() {
    return {0x000000, 0xFFFFFF, 0xD2B4F0, 0xFF0000, 0x00FF00, 0x0000FF,
            0xFFFF00, 0xFF0000, 0x00FF00, 0x0000FF, 0xD3D3D3};
}

DisplayColours BuildDisplayColours(const ColourTableRgb& rgb, DisplayFormat format) {
    DisplayColours colours;
    colours.rgb = rgb;
    for (int k = 0; k < kDisplayColourCount; ++k)
        colours.pixel[k] = format == DisplayFormat::Palette8 ? uint32_t(kPaletteColourBase + k)
                                                             : ToDisplayPixel(rgb[k], format);
    return colours;
}

Palette BuildPalette(const ColourTableRgb& colours) {
    Palette palette{};
    for (int i = 0; i < kPaletteGreys; ++i) {
        const uint8_t level = uint8_t(4 * i + i / 20);
        palette[i] = {level, level, level};
    }
    for (int ri = 0; ri < 4; ++ri)
        for (int gi = 0; gi < 8; ++gi)
            for (int bi = 0; bi < 4; ++bi)
                palette[kPaletteCubeBase + 32 * ri + 4 * gi + bi] = {
                    kRedBlueLevels[ri], kGreenLevels[gi], kRedBlueLevels[bi]};
    for (int k = 0; k < kDisplayColourCount; ++k)
        palette[kPaletteColourBase + k] = UnpackRgb(colours[k]);
    return palette;
}

namespace {

Rgb RgbOfPixel(uint32_t v, DisplayFormat format) {
    switch (format) {
        case DisplayFormat::Rgb565:
            return {Expand(v >> 11 & 0x1F, 5), Expand(v >> 5 & 0x3F, 6), Expand(v & 0x1F, 5)};
        case DisplayFormat::Rgb555:
            return {Expand(v >> 10 & 0x1F, 5), Expand(v >> 5 & 0x1F, 5), Expand(v & 0x1F, 5)};
        default:
            return UnpackRgb(v);
    }
}

bool RowToRgb(const uint8_t* row, int width, DisplayFormat format, const Palette* palette,
              uint8_t* out) {
    const int bpp = BytesPerPixel(format);
    for (int c = 0; c < width; ++c, out += 3) {
        const uint32_t v = LoadPixel(row + size_t(c) * bpp, format);
        if (format == DisplayFormat::Palette8 && v >= uint32_t(kPaletteSize)) return false;
        const Rgb rgb = format == DisplayFormat::Palette8 ? (*palette)[v] : RgbOfPixel(v, format);
        out[0] = rgb.r;
        out[1] = rgb.g;
        out[2] = rgb.b;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> PictureToRgb(const uint8_t* picture, int width, int height, size_t rowBytes,
                                  DisplayFormat format, const Palette* palette) {
    if (width <= 0 || height <= 0 || !picture) return {};
    if (format == DisplayFormat::Palette8 && !palette) return {};
    std::vector<uint8_t> rgb;
    try {
        rgb.resize(size_t(width) * size_t(height) * 3);
    } catch (const std::bad_alloc&) {
        return {};
    }
    for (int r = 0; r < height; ++r)
        if (!RowToRgb(picture + size_t(r) * rowBytes, width, format, palette,
                      rgb.data() + size_t(r) * size_t(width) * 3))
            return {};
    return rgb;
}

}  // namespace sulcan
