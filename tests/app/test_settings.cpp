#include "app/AppSettings.h"

#include <gtest/gtest.h>

#include "platform/MemoryProfile.h"

namespace sulcan {
namespace {

using namespace setting;

int Int(MemoryProfile& p, const char* name) {
    return p.GetInt(kSettingsSection, name, -999);
}
std::string Text(MemoryProfile& p, const char* name) {
    return p.GetString(kSettingsSection, name, "<missing>");
}

TEST(AppSettings, DefaultsOfAnEmptyProfile) {
    MemoryProfile profile;
    AppSettings s(profile);
    EXPECT_EQ(s.autoSync(), 1);
    EXPECT_EQ(s.grabSingly(), 1);
    EXPECT_EQ(s.xyzLock(), 1);
    EXPECT_EQ(s.classifySlow(), 0);
    EXPECT_EQ(s.grayLayers(), 3);
    EXPECT_EQ(s.zoom(), (std::array<int, 3>{3, 3, 3}));
    EXPECT_EQ(s.openProject(), "::NONE::");
    EXPECT_FALSE(s.helpUrl().empty());
    EXPECT_EQ(s.ReadRect({1, 2, 3, 4}), (Rect{1, 2, 3, 4}));
    const Rgb colours[] = {{0, 255, 0}, {0, 0, 255},   {210, 180, 240},
                           {255, 0, 0}, {255, 255, 0}, {0, 0, 0}};
    for (int c = 0; c < kPreferenceColourCount; ++c) EXPECT_EQ(s.colour(c), colours[c]) << c;
}

TEST(AppSettings, DefaultColourTableInItsOrder) {
    MemoryProfile profile;
    AppSettings s(profile);
    const OverlayColourTable expected = {0x000000, 0xFFFFFF, 0xD2B4F0, 0xFF0000, 0x00FF00, 0x0000FF,
                                         0xFFFF00, 0xFF0000, 0x00FF00, 0x0000FF, 0xD3D3D3};
    EXPECT_EQ(s.colourTable(), expected);
}

TEST(AppSettings, StoredValuesAreRead) {
    MemoryProfile profile;
    const struct {
        const char* name;
        int value;
    } ints[] = {{kAutoSync, 0},    {kGrabSingly, 0}, {kXYZLock, 0},   {kClassifySlow, 1},
                {kNGrayLayers, 7}, {kZoomx, 4},      {kZoomy, 5},     {kZoomz, 6},
                {kWinLeft, 10},    {kWinTop, 20},    {kWinRight, 30}, {kWinBottom, 40},
                {kGrayOvR, 1},     {kGraySelOvG, 2}, {kWhiteOvB, 3},  {kWhiteSelOvR, 4},
                {kCSFOvG, 5},      {kB3dB, 6}};
    for (const auto& v : ints) profile.SetInt(kSettingsSection, v.name, v.value);
    profile.SetString(kSettingsSection, kHelpURL, "http://help.example/");
    profile.SetString(kSettingsSection, kOpenProject, "/p/x/brain.qxp");
    AppSettings s(profile);
    EXPECT_EQ(s.autoSync(), 0);
    EXPECT_EQ(s.grabSingly(), 0);
    EXPECT_EQ(s.xyzLock(), 0);
    EXPECT_EQ(s.classifySlow(), 1);
    EXPECT_EQ(s.grayLayers(), 7);
    EXPECT_EQ(s.zoom(), (std::array<int, 3>{4, 5, 6}));
    EXPECT_EQ(s.ReadRect({}), (Rect{10, 20, 30, 40}));
    EXPECT_EQ(s.helpUrl(), "http://help.example/");
    EXPECT_EQ(s.openProject(), "/p/x/brain.qxp");
    EXPECT_EQ(s.colour(kColourGray), (Rgb{1, 255, 0}));
    EXPECT_EQ(s.colour(kColourGraySelected), (Rgb{0, 2, 255}));
    EXPECT_EQ(s.colour(kColourWhite), (Rgb{210, 180, 3}));
    EXPECT_EQ(s.colour(kColourWhiteSelected), (Rgb{4, 0, 0}));
    EXPECT_EQ(s.colour(kColourCsf), (Rgb{255, 5, 0}));
    EXPECT_EQ(s.colour(kColour3DBackground), (Rgb{0, 0, 6}));
    EXPECT_EQ(s.colourTable()[2], 0xD2B403u);
    EXPECT_EQ(s.colourTable()[3], 0x040000u);
    EXPECT_EQ(s.colourTable()[4], 0x01FF00u);
}

TEST(AppSettings, ColourComponentsOutsideTheByteRangeFallBackToTheirDefault) {
    MemoryProfile profile;
    profile.SetInt(kSettingsSection, kWhiteOvR, 256);
    profile.SetInt(kSettingsSection, kWhiteOvG, -1);
    profile.SetInt(kSettingsSection, kWhiteOvB, 255);
    AppSettings s(profile);
    EXPECT_EQ(s.colour(kColourWhite), (Rgb{210, 180, 255}));
}

TEST(AppSettings, ChangesAreWrittenAtOnce) {
    MemoryProfile profile;
    AppSettings s(profile);
    s.SetAutoSync(0);
    s.SetGrabSingly(0);
    s.SetXyzLock(0);
    s.SetClassifySlow(1);
    s.SetGrayLayers(9);
    s.SetColour(kColourCsf, {1, 2, 3});
    s.WriteRect({5, 6, 7, 8});
    EXPECT_EQ(Int(profile, kAutoSync), 0);
    EXPECT_EQ(Int(profile, kGrabSingly), 0);
    EXPECT_EQ(Int(profile, kXYZLock), 0);
    EXPECT_EQ(Int(profile, kClassifySlow), 1);
    EXPECT_EQ(Int(profile, kNGrayLayers), 9);
    EXPECT_EQ(Int(profile, kCSFOvR), 1);
    EXPECT_EQ(Int(profile, kCSFOvG), 2);
    EXPECT_EQ(Int(profile, kCSFOvB), 3);
    EXPECT_EQ(Int(profile, kWinLeft), 5);
    EXPECT_EQ(Int(profile, kWinBottom), 8);
    // The zoom of a view is kept in memory until the zoom dialog writes it.
    s.SetZoom(2, 4, 6);
    EXPECT_FALSE(profile.HasInt(kSettingsSection, kZoomy));
    s.WriteZoom();
    EXPECT_EQ(Int(profile, kZoomx), 2);
    EXPECT_EQ(Int(profile, kZoomy), 4);
    EXPECT_EQ(Int(profile, kZoomz), 6);
    // A new AppSettings on the same profile starts where this one left.
    AppSettings again(profile);
    EXPECT_EQ(again.colour(kColourCsf), (Rgb{1, 2, 3}));
    EXPECT_EQ(again.zoom(), (std::array<int, 3>{2, 4, 6}));
}

TEST(AppSettings, OpenProjectWithoutAProjectIsNone) {
    MemoryProfile profile;
    AppSettings s(profile);
    s.SetOpenProject("/p/x/brain.qxp");
    EXPECT_EQ(Text(profile, kOpenProject), "/p/x/brain.qxp");
    s.SetOpenProject("");
    EXPECT_EQ(Text(profile, kOpenProject), "::NONE::");
}

TEST(AppSettings, RestoringDefaultColoursWritesAllEighteenValues) {
    MemoryProfile profile;
    AppSettings s(profile);
    for (int c = 0; c < kPreferenceColourCount; ++c) s.SetColour(c, {7, 7, 7});
    s.RestoreDefaultColours();
    AppSettings reread(profile);
    for (int c = 0; c < kPreferenceColourCount; ++c) {
        EXPECT_EQ(s.colour(c), DefaultColour(c)) << c;
        EXPECT_EQ(reread.colour(c), DefaultColour(c)) << c;
    }
    for (const char* name : {kWhiteOvR, kWhiteSelOvG, kGrayOvB, kGraySelOvR, kCSFOvG, kB3dB})
        EXPECT_TRUE(profile.HasInt(kSettingsSection, name)) << name;
}

TEST(AppSettings, ColourTableFollowsOnlyARebuildAndUsesTheDisplayFormat) {
    MemoryProfile profile;
    AppSettings s(profile);
    s.SetColour(kColourGraySelected, {0x12, 0x34, 0x56});
    EXPECT_EQ(s.colourTable()[5], 0x0000FFu);
    s.RebuildColourTable();
    EXPECT_EQ(s.colourTable()[5], 0x123456u);
    s.SetDisplayFormat(DisplayFormat::Rgb565);
    EXPECT_EQ(s.colourTable()[1], 0xFFFFu);
    EXPECT_EQ(s.colourTable()[7], 0xF800u);
    EXPECT_EQ(s.colourTable()[8], 0x07E0u);
    EXPECT_EQ(s.colourTable()[5], ToDisplayPixel(0x123456, DisplayFormat::Rgb565));
    s.SetDisplayFormat(DisplayFormat::Rgb32);
    EXPECT_EQ(s.colourTable()[10], 0xD3D3D3u);
}

TEST(AppSettings, GreyscaleValuesAreReadIntoTheDrawing) {
    const struct {
        int brightness, contrast, gamma;
        GreyParameters expected;
    } cases[] = {
        {70, 30, 15, {0.70, 0.30, 1.5}},
        {0, 100, 5, {0.0, 1.0, 0.5}},
        {500, -1, 31, GreyParameters{}},  // out of range: the defaults
        {101, 43, 4, GreyParameters{}},
    };
    for (const auto& c : cases) {
        MemoryProfile profile;
        profile.SetInt(kSettingsSection, kBrightness, c.brightness);
        profile.SetInt(kSettingsSection, kContrast, c.contrast);
        profile.SetInt(kSettingsSection, kGamma, c.gamma);
        AppSettings s(profile);
        EXPECT_EQ(s.drawing().greyParameters(), c.expected) << c.brightness;
    }
    MemoryProfile empty;
    EXPECT_EQ(AppSettings(empty).drawing().greyParameters(), GreyParameters{});
}

TEST(AppSettings, WriteGreyStoresTheValuesAndRebuildsTheTable) {
    MemoryProfile profile;
    AppSettings s(profile);
    s.SetDisplayFormat(DisplayFormat::Rgb565);
    s.WriteGrey({27, 13, 10});
    EXPECT_EQ(Int(profile, kBrightness), 27);
    EXPECT_EQ(Int(profile, kContrast), 13);
    EXPECT_EQ(Int(profile, kGamma), 10);
    const GreyParameters p = GreyParametersFromRegistry({27, 13, 10});
    EXPECT_EQ(s.drawing().greyParameters(), p);
    GreyTable expected;
    expected.Build(p, DisplayFormat::Rgb565);
    EXPECT_EQ(s.drawing().greyTable().pixels(), expected.pixels());
    AppSettings again(profile);
    EXPECT_EQ(again.drawing().greyParameters(), p);
}

TEST(AppSettings, SliceViewPreferences) {
    const struct {
        int stored;
        bool on;
    } cases[] = {{1, true}, {0, false}, {2, false}};
    for (const auto& c : cases) {
        MemoryProfile profile;
        AppSettings s(profile);
        s.SetGrabSingly(c.stored);
        s.SetXyzLock(c.stored);
        const SliceViewPreferences& prefs = s;
        EXPECT_EQ(prefs.GrabSingly(), c.on) << c.stored;
        EXPECT_EQ(prefs.XyzLock(), c.on) << c.stored;
    }
    MemoryProfile profile;
    AppSettings s(profile);
    SliceViewPreferences& prefs = s;
    EXPECT_EQ(prefs.NewViewZoom(), (std::array<int, 3>{3, 3, 3}));
    prefs.SetNewViewZoom({2, 5, 7});
    EXPECT_EQ(s.zoom(), (std::array<int, 3>{2, 5, 7}));
    EXPECT_FALSE(profile.HasInt(kSettingsSection, kZoomx));  // the zoom dialog writes them
}

TEST(AppSettings, HelpAddressIsKeptTo255Characters) {
    MemoryProfile profile;
    profile.SetString(kSettingsSection, kHelpURL, std::string(300, 'r'));
    AppSettings s(profile);
    EXPECT_EQ(s.helpUrl(), std::string(255, 'r'));
    s.SetHelpUrl("http://x/" + std::string(300, 'a'));
    EXPECT_EQ(s.helpUrl().size(), 255u);
    EXPECT_EQ(Text(profile, kHelpURL), s.helpUrl());
}

TEST(AppSettings, LimitedTextCountsCharactersNotBytes) {
    const std::string umlaut = "\xC3\xBC";  // one character, two bytes
    EXPECT_EQ(LimitedText(umlaut + umlaut + umlaut, 2), umlaut + umlaut);
    EXPECT_EQ(LimitedText("abc", 3), "abc");
    EXPECT_EQ(LimitedText("abc", 0), "");
}

TEST(AppSettings, IndexedValueNames) {
    EXPECT_EQ(IndexedValueName(kAmbient, 3), "Ambient[3]");
    EXPECT_EQ(IndexedValueName(kLightOn, 7), "LightOn[7]");
    EXPECT_EQ(LightValueName(kLightDirection, 7, 2), "LightDirection[7][2]");
}

TEST(AppSettings, ClassificationAndThresholdValuesGoToTheirRegistryNames) {
    MemoryProfile profile;
    AppSettings s(profile);
    EXPECT_EQ(s.ReadClassifyOptions().overlayWhite, true);  // defaults: only white overlaid
    EXPECT_FALSE(s.ReadClassifyOptions().classify3D || s.ReadClassifyOptions().overlayCsf);
    s.WriteClassification({35, 50, 60, 4, 70, 4, 1, 1, 0});
    const auto Int = [&](const char* name) { return profile.GetInt(kSettingsSection, name, -1); };
    EXPECT_EQ(Int("Confidence"), 70);
    EXPECT_EQ(Int("WhiteMean"), 60);
    const ClassifyDialogOptions read = s.ReadClassifyOptions();
    EXPECT_TRUE(read.classify3D && read.overlayCsf);
    EXPECT_FALSE(read.overlayWhite);

    EXPECT_EQ(s.ReadThreshold(), (ThresholdRegistryValues{127, 0, 1, 0}));
    s.WriteThreshold({200, 3, 0, 1});
    EXPECT_EQ(Int("Threshold"), 200);
    EXPECT_EQ(Int("Fill"), 3);
    EXPECT_EQ(s.ReadThreshold(), (ThresholdRegistryValues{200, 3, 0, 1}));
}

}  // namespace
}  // namespace sulcan
