// Greyscale table, display pixel formats, the palette and the conversion back to RGB.
#include <gtest/gtest.h>

#include <vector>

#include "slices/display_format.h"
#include "slices/grey_table.h"

namespace sulcan {
namespace {

TEST(GreyTable, DefaultsShowBlackBelow25AndWhiteFrom97) {
    GreyTable table;
    ASSERT_TRUE(table.Build(GreyParameters{}, DisplayFormat::Rgb32));
    EXPECT_EQ(table[0], 0x000000u);
    EXPECT_EQ(table[24], 0x000000u);
    EXPECT_NE(table[25], 0x000000u);
    EXPECT_NE(table[96], 0xFFFFFFu);
    EXPECT_EQ(table[97], 0xFFFFFFu);
    EXPECT_EQ(table[255], 0xFFFFFFu);
    for (int i = 1; i < 256; ++i) EXPECT_GE(table[uint8_t(i)], table[uint8_t(i - 1)]) << i;
}

TEST(GreyTable, LevelFollowsTheFormula) {
    // contrast 0 leaves brightness * 120000 / 256 for every value
    const GreyParameters flat{0.5, 0.0, 1.0};
    for (int i : {0, 128, 255}) EXPECT_EQ(GreyLevel(i, flat), 234) << i;
    // contrast 1, gamma 1, brightness 0.5: value 255 gives 0.5 * 500000 + 60000, clamped
    const GreyParameters steep{0.5, 1.0, 1.0};
    EXPECT_EQ(GreyLevel(255, steep), 255);
    EXPECT_EQ(GreyLevel(0, steep), 0);
    // 128: (128/255 - 0.5) * 500000 + 60000 = 60980.39 -> 238
    EXPECT_EQ(GreyLevel(128, steep), 238);
}

TEST(GreyTable, RefusesParametersOutOfRangeAndKeepsTheTable) {
    const GreyParameters bad[] = {{-0.01, 0.4, 1.0}, {1.01, 0.4, 1.0}, {0.5, -0.1, 1.0},
                                  {0.5, 1.1, 1.0},   {0.5, 0.4, 0.49}, {0.5, 0.4, 3.01}};
    GreyTable table;
    ASSERT_TRUE(table.Build(GreyParameters{}, DisplayFormat::Rgb32));
    const auto before = table.pixels();
    for (const GreyParameters& p : bad) {
        EXPECT_FALSE(table.Build(p, DisplayFormat::Rgb32));
        EXPECT_EQ(table.pixels(), before);
    }
    EXPECT_TRUE(table.Build({0.0, 0.0, 0.5}, DisplayFormat::Rgb32));
    EXPECT_TRUE(table.Build({1.0, 1.0, 3.0}, DisplayFormat::Rgb32));
}

TEST(GreyTable, GreysInEveryFormat) {
    struct Case {
        DisplayFormat format;
        uint32_t white;
    };
    const Case cases[] = {{DisplayFormat::Rgb565, 0xFFFF},
                          {DisplayFormat::Rgb555, 0x7FFF},
                          {DisplayFormat::Rgb24, 0xFFFFFF},
                          {DisplayFormat::Rgb32, 0xFFFFFF},
                          {DisplayFormat::Palette8, 63}};
    for (const Case& c : cases) {
        GreyTable table;
        ASSERT_TRUE(table.Build(GreyParameters{}, c.format));
        EXPECT_EQ(table[0], 0u);
        EXPECT_EQ(table[255], c.white);
    }
}

TEST(GreyRegistry, StoredValuesOutOfRangeReadAsDefaults) {
    struct Case {
        GreyRegistryValues stored;
        GreyParameters expected;
    };
    const Case cases[] = {
        {{64, 43, 12}, {0.64, 0.43, 1.2}}, {{0, 0, 5}, {0.0, 0.0, 0.5}},
        {{100, 100, 30}, {1.0, 1.0, 3.0}}, {{101, 43, 12}, {0.64, 0.43, 1.2}},
        {{27, -1, 10}, {0.27, 0.43, 1.0}}, {{27, 13, 4}, {0.27, 0.13, 1.2}},
        {{27, 13, 31}, {0.27, 0.13, 1.2}},
    };
    for (const Case& c : cases) {
        const GreyParameters p = GreyParametersFromRegistry(c.stored);
        EXPECT_DOUBLE_EQ(p.brightness, c.expected.brightness);
        EXPECT_DOUBLE_EQ(p.contrast, c.expected.contrast);
        EXPECT_DOUBLE_EQ(p.gamma, c.expected.gamma);
    }
}

TEST(GreyRegistry, EverySliderPositionSurvivesTheRoundTrip) {
    for (int b = 0; b <= 100; ++b)
        for (int g = 5; g <= 30; ++g) {
            const GreyRegistryValues v{b, 100 - b, g};
            EXPECT_EQ(GreyRegistryValuesOf(GreyParametersFromRegistry(v)), v);
        }
}

TEST(DisplayFormat, ProbedFormatAndPixelSizes) {
    struct Case {
        int bits;
        uint32_t r, g, b;
        DisplayFormat format;
        int bytes;
        size_t rowOf5;
    };
    const Case cases[] = {
        {16, 0xF800, 0x07E0, 0x001F, DisplayFormat::Rgb565, 2, 12},
        {16, 0x7C00, 0x03E0, 0x001F, DisplayFormat::Rgb555, 2, 12},
        {16, 0x001F, 0x07E0, 0xF800, DisplayFormat::Palette8, 1, 8},
        {24, 0, 0, 0, DisplayFormat::Rgb24, 3, 16},
        {32, 0, 0, 0, DisplayFormat::Rgb32, 4, 20},
        {8, 0, 0, 0, DisplayFormat::Palette8, 1, 8},
        {4, 0, 0, 0, DisplayFormat::Palette8, 1, 8},
    };
    for (const Case& c : cases) {
        const DisplayFormat f = DisplayFormatOf(c.bits, c.r, c.g, c.b);
        EXPECT_EQ(f, c.format) << c.bits;
        EXPECT_EQ(BytesPerPixel(f), c.bytes);
        EXPECT_EQ(PictureRowBytes(5, f), c.rowOf5);
    }
}

TEST(DisplayFormat, ColourToPixel) {
    struct Case {
        uint32_t rgb;
        DisplayFormat format;
        uint32_t pixel;
    };
    const Case cases[] = {
        {0xD2B4F0, DisplayFormat::Rgb565, 0xD5BE},  // 26 << 11 | 45 << 5 | 30
        {0xD2B4F0, DisplayFormat::Rgb555, 0x6ADE},  // 26 << 10 | 22 << 5 | 30
        {0xD2B4F0, DisplayFormat::Rgb24, 0xD2B4F0}, {0xD2B4F0, DisplayFormat::Rgb32, 0xD2B4F0},
        {0xD2B4F0, DisplayFormat::Palette8, 183},  // 64 + 32*3 + 4*5 + 3
        {0x808080, DisplayFormat::Palette8, 32},   // grey
        {0xFFFFFF, DisplayFormat::Palette8, 63},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToDisplayPixel(c.rgb, c.format), c.pixel) << std::hex << c.rgb;
}

TEST(DisplayFormat, NearGreysWhoseTopBitsDifferUseTheColourCube) {
    // six-bit 32, 32, 31: the top four bits of blue differ
    EXPECT_EQ(PaletteIndexOf(0x82807E), 64 + 32 * 2 + 4 * 4 + 1);
    // six-bit 33, 32, 34 agree in their top four bits: grey (34 + 64 + 33) >> 2
    EXPECT_EQ(PaletteIndexOf(0x868088), (34 + 64 + 33) >> 2);
}

TEST(DisplayFormat, PixelsAreStoredLittleEndian) {
    uint8_t bytes[4] = {9, 9, 9, 9};
    StorePixel(bytes, 0x00D2B4F0, DisplayFormat::Rgb24);
    EXPECT_EQ(bytes[0], 0xF0);
    EXPECT_EQ(bytes[1], 0xB4);
    EXPECT_EQ(bytes[2], 0xD2);
    EXPECT_EQ(bytes[3], 9);
    EXPECT_EQ(LoadPixel(bytes, DisplayFormat::Rgb24), 0xD2B4F0u);
    StorePixel(bytes, 0xD5BE, DisplayFormat::Rgb565);
    EXPECT_EQ(bytes[0], 0xBE);
    EXPECT_EQ(bytes[1], 0xD5);
}

TEST(Palette, GreysCubeAndDrawingColours) {
    ColourTableRgb colours = DefaultDisplayColoursRgb();
    colours[kColourWhiteMatter] = 0x123456;
    const Palette p = BuildPalette(colours);
    EXPECT_EQ(p.size(), 203u);
    EXPECT_EQ(p[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(p[20], (Rgb{81, 81, 81}));
    EXPECT_EQ(p[63], (Rgb{255, 255, 255}));
    EXPECT_EQ(p[64 + 32 * 1 + 4 * 2 + 3], (Rgb{85, 73, 255}));
    EXPECT_EQ(p[191], (Rgb{255, 255, 255}));
    EXPECT_EQ(p[192 + kColourWhiteMatter], (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(p[202], (Rgb{211, 211, 211}));
    // every coloured cube entry is the entry its own colour maps to
    for (int i = 64; i < 192; ++i) {
        const Rgb c = p[i];
        if (c.r == c.g && c.g == c.b) continue;
        EXPECT_EQ(PaletteIndexOf(PackRgb(c)), i);
    }
}

TEST(DisplayColours, DrawingColoursInEachFormat) {
    const ColourTableRgb rgb = DefaultDisplayColoursRgb();
    EXPECT_EQ(rgb[kColourWhiteMatter], 0xD2B4F0u);
    EXPECT_EQ(rgb[kColourCsfMatter], 0xFFFF00u);
    const DisplayColours palette = BuildDisplayColours(rgb, DisplayFormat::Palette8);
    const DisplayColours rgb565 = BuildDisplayColours(rgb, DisplayFormat::Rgb565);
    for (int k = 0; k < kDisplayColourCount; ++k) {
        EXPECT_EQ(palette.pixel[k], uint32_t(192 + k));
        EXPECT_EQ(rgb565.pixel[k], ToDisplayPixel(rgb[k], DisplayFormat::Rgb565));
    }
}

// A 3 x 2 picture of three colours and black in the format, rows padded to 4 bytes.
std::vector<uint8_t> SmallPicture(DisplayFormat f, size_t& rowBytes) {
    const uint32_t colours[6] = {0xD2B4F0, 0xFFFFFF, 0x000000, 0x0000FF, 0x808080, 0xFF0000};
    rowBytes = PictureRowBytes(3, f);
    std::vector<uint8_t> pixels(rowBytes * 2, 0xEE);
    for (int i = 0; i < 6; ++i)
        StorePixel(pixels.data() + (i / 3) * rowBytes + (i % 3) * BytesPerPixel(f),
                   ToDisplayPixel(colours[i], f), f);
    return pixels;
}

TEST(PictureToRgb, EveryFormatBackToPackedRows) {
    const Palette palette = BuildPalette(DefaultDisplayColoursRgb());
    struct Case {
        DisplayFormat format;
        std::vector<uint8_t> rgb;
    };
    const std::vector<uint8_t> exact = {210, 180, 240, 255, 255, 255, 0,   0, 0,
                                        0,   0,   255, 128, 128, 128, 255, 0, 0};
    const Case cases[] = {
        {DisplayFormat::Rgb32, exact},
        {DisplayFormat::Rgb24, exact},
        // 5 and 6 bits grow by repeating their top bits
        {DisplayFormat::Rgb565,
         {214, 182, 247, 255, 255, 255, 0, 0, 0, 0, 0, 255, 132, 130, 132, 255, 0, 0}},
        {DisplayFormat::Rgb555,
         {214, 181, 247, 255, 255, 255, 0, 0, 0, 0, 0, 255, 132, 132, 132, 255, 0, 0}},
        {DisplayFormat::Palette8,
         {255, 183, 255, 255, 255, 255, 0, 0, 0, 0, 0, 255, 129, 129, 129, 255, 0, 0}},
    };
    for (const Case& c : cases) {
        size_t rowBytes = 0;
        const std::vector<uint8_t> picture = SmallPicture(c.format, rowBytes);
        EXPECT_EQ(PictureToRgb(picture.data(), 3, 2, rowBytes, c.format, &palette), c.rgb)
            << int(c.format);
    }
}

TEST(PictureToRgb, IndexedPictureFailsWithoutPaletteOrBeyondIt) {
    const Palette palette = BuildPalette(DefaultDisplayColoursRgb());
    std::vector<uint8_t> picture = {202, 0, 0, 0};
    EXPECT_EQ(PictureToRgb(picture.data(), 1, 1, 4, DisplayFormat::Palette8, &palette),
              (std::vector<uint8_t>{211, 211, 211}));
    EXPECT_TRUE(PictureToRgb(picture.data(), 1, 1, 4, DisplayFormat::Palette8, nullptr).empty());
    picture[0] = 203;
    EXPECT_TRUE(PictureToRgb(picture.data(), 1, 1, 4, DisplayFormat::Palette8, &palette).empty());
    EXPECT_TRUE(PictureToRgb(picture.data(), 0, 1, 4, DisplayFormat::Rgb32, nullptr).empty());
}

}  // namespace
}  // namespace sulcan
