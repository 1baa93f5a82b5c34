// The greyscale and zoom dialogs without their windows, the shared drawing tables, the
// greyscale preview, and the naming and placing of a view's frame and tool window.
#include <gtest/gtest.h>

#include <vector>

#include "slices/slice_drawing.h"
#include "slices/view_dialogs.h"
#include "slices/view_frames.h"

namespace sulcan {
namespace {

// ---- texts and page steps

TEST(ViewDialogTexts, SliderValuesShowAsFixedPointNumbers) {
    const struct {
        int value;
        const char* text;
    } hundredths[] = {{0, "0.00"},  {5, "0.05"},   {64, "0.64"},
                      {99, "0.99"}, {100, "1.00"}, {105, "1.05"}};
    for (const auto& c : hundredths) EXPECT_EQ(HundredthsText(c.value), c.text) << c.value;
    const struct {
        int value;
        const char* text;
    } tenths[] = {{5, "0.5"}, {9, "0.9"}, {10, "1.0"}, {12, "1.2"}, {30, "3.0"}};
    for (const auto& c : tenths) EXPECT_EQ(TenthsText(c.value), c.text) << c.value;
}

TEST(ViewDialogTexts, PageStepIsAFiftiethOfTheRangeAtLeastOne) {
    EXPECT_EQ(SliderPageStep(kBrightnessRange), 2);
    EXPECT_EQ(SliderPageStep(kGammaRange), 1);  // 25 / 50 is 0
    EXPECT_EQ(SliderPageStep({0, 250}), 5);
    EXPECT_EQ(SliderPageStep({10, 10}), 1);
}

// ---- drawing tables

TEST(SliceDrawing, StartsWithTheDefaultsAndRebuildsEverythingInANewFormat) {
    SliceDrawing drawing;
    EXPECT_EQ(drawing.greyParameters(), GreyParameters{});
    EXPECT_EQ(drawing.colours().rgb, DefaultDisplayColoursRgb());
    GreyTable expected;
    expected.Build(GreyParameters{}, DisplayFormat::Rgb32);
    EXPECT_EQ(drawing.greyTable().pixels(), expected.pixels());

    const GreyParameters custom{0.3, 0.7, 2.0};
    ASSERT_TRUE(drawing.SetGrey(custom));
    ColourTableRgb rgb = DefaultDisplayColoursRgb();
    rgb[kColourCsfMatter] = 0x123456;
    drawing.SetColours(rgb);
    drawing.SetFormat(DisplayFormat::Rgb565);
    EXPECT_EQ(drawing.format(), DisplayFormat::Rgb565);
    expected.Build(custom, DisplayFormat::Rgb565);
    EXPECT_EQ(drawing.greyTable().pixels(), expected.pixels());
    EXPECT_EQ(drawing.colours().pixel, BuildDisplayColours(rgb, DisplayFormat::Rgb565).pixel);
    EXPECT_EQ(drawing.palette(), BuildPalette(rgb));
}

TEST(SliceDrawing, RefusesGreyParametersOutOfRange) {
    SliceDrawing drawing;
    const auto before = drawing.greyTable().pixels();
    for (const GreyParameters& p : {GreyParameters{1.1, 0.4, 1.2}, GreyParameters{0.5, -0.1, 1.2},
                                    GreyParameters{0.5, 0.4, 0.4}, GreyParameters{0.5, 0.4, 3.1}}) {
        EXPECT_FALSE(drawing.SetGrey(p));
        EXPECT_EQ(drawing.greyParameters(), GreyParameters{});
        EXPECT_EQ(drawing.greyTable().pixels(), before);
    }
}

// ---- greyscale dialog

struct GreyscaleDialog : ::testing::Test {
    SliceDrawing drawing;

    // The table the drawing must hold for these registry values.
    std::array<uint32_t, 256> TableOf(const GreyRegistryValues& v) const {
        GreyTable t;
        t.Build(GreyParametersFromRegistry(v), drawing.format());
        return t.pixels();
    }
    void ExpectDrawingShows(const GreyRegistryValues& v) const {
        EXPECT_EQ(drawing.greyParameters(), GreyParametersFromRegistry(v));
        EXPECT_EQ(drawing.greyTable().pixels(), TableOf(v));
    }
};

TEST_F(GreyscaleDialog, StartsFromTheDrawingsParameters) {
    ASSERT_TRUE(drawing.SetGrey({0.5, 0.2, 2.0}));
    GreyscaleDialogModel model(drawing);
    EXPECT_EQ(model.values(), (GreyRegistryValues{50, 20, 20}));
}

TEST_F(GreyscaleDialog, EverySliderIsClampedAndRebuildsTheTable) {
    using Setter = void (GreyscaleDialogModel::*)(int);
    const struct {
        Setter set;
        int value;
        GreyRegistryValues expected;
    } cases[] = {
        {&GreyscaleDialogModel::SetBrightness, 80, {80, 43, 12}},
        {&GreyscaleDialogModel::SetBrightness, -5, {0, 43, 12}},
        {&GreyscaleDialogModel::SetBrightness, 130, {100, 43, 12}},
        {&GreyscaleDialogModel::SetContrast, 20, {64, 20, 12}},
        {&GreyscaleDialogModel::SetContrast, 101, {64, 100, 12}},
        {&GreyscaleDialogModel::SetGamma, 25, {64, 43, 25}},
        {&GreyscaleDialogModel::SetGamma, 4, {64, 43, 5}},
        {&GreyscaleDialogModel::SetGamma, 31, {64, 43, 30}},
    };
    for (const auto& c : cases) {
        drawing = SliceDrawing{};
        GreyscaleDialogModel model(drawing);
        (model.*c.set)(c.value);
        EXPECT_EQ(model.values(), c.expected) << c.value;
        ExpectDrawingShows(c.expected);
    }
}

TEST_F(GreyscaleDialog, LinearAndFlatPresets) {
    GreyscaleDialogModel model(drawing);
    model.Flat();
    EXPECT_EQ(model.values(), (GreyRegistryValues{27, 13, 10}));
    ExpectDrawingShows({27, 13, 10});
    model.Linear();
    EXPECT_EQ(model.values(), (GreyRegistryValues{64, 43, 12}));
    ExpectDrawingShows({64, 43, 12});
}

TEST_F(GreyscaleDialog, AcceptGivesTheValuesTheTableWasBuiltFrom) {
    GreyscaleDialogModel model(drawing);
    model.SetBrightness(70);
    model.SetContrast(30);
    model.SetGamma(15);
    EXPECT_EQ(model.Accept(), (GreyRegistryValues{70, 30, 15}));
    ExpectDrawingShows({70, 30, 15});
}

TEST_F(GreyscaleDialog, CancelRestoresTheTableExactly) {
    // Parameters no slider position gives, so only the saved ones restore the table.
    const GreyParameters before{0.645, 0.433, 1.25};
    ASSERT_TRUE(drawing.SetGrey(before));
    const auto table = drawing.greyTable().pixels();
    GreyscaleDialogModel model(drawing);
    model.SetBrightness(10);
    model.Flat();
    ASSERT_NE(drawing.greyTable().pixels(), table);
    model.Cancel();
    EXPECT_EQ(drawing.greyParameters(), before);
    EXPECT_EQ(drawing.greyTable().pixels(), table);
}

// ---- greyscale preview

// A 5 x 4 x 3 volume whose anatomy value names its voxel.
struct GreyPreview : ::testing::Test {
    VolumeDims dims{5, 4, 3};
    std::vector<uint8_t> anatomy = std::vector<uint8_t>(dims.voxels());
    SliceDrawing drawing;

    GreyPreview() {
        for (size_t i = 0; i < anatomy.size(); ++i) anatomy[i] = uint8_t(40 + i * 3);
    }
    SliceSource source() const {
        SliceSource s;
        s.anatomy = anatomy.data();
        s.dims = dims;
        return s;
    }
    // The grey of picture (column, row) of a slice, or black outside the picture.
    uint32_t Expected(int orientation, int slice, int column, int row) const {
        const std::array<int, 3> v = orientation == Axial     ? std::array{row, slice, column}
                                     : orientation == Coronal ? std::array{slice, row, column}
                                                              : std::array{column, row, slice};
        if (!dims.contains(v[0], v[1], v[2])) return ToDisplayPixel(0, drawing.format());
        return drawing.greyTable()[anatomy[dims.index(v[0], v[1], v[2])]];
    }
    void ExpectPreview(int orientation, int slice, PicturePoint centre, int side) const {
        const std::optional<SlicePicture> p =
            BuildGreyPreview(source(), orientation, slice, centre, side, drawing.tables());
        ASSERT_TRUE(p);
        ASSERT_EQ(p->width, side);
        ASSERT_EQ(p->height, side);
        EXPECT_EQ(p->format, drawing.format());
        EXPECT_EQ(p->rowBytes, PictureRowBytes(side, drawing.format()));
        for (int j = 0; j < side; ++j)
            for (int i = 0; i < side; ++i)
                EXPECT_EQ(p->PixelAt(i, j),
                          Expected(orientation, slice, centre.column - side / 2 + i,
                                   centre.row - side / 2 + j))
                    << "orientation " << orientation << " pixel " << i << "," << j;
    }
};

TEST_F(GreyPreview, ShowsTheSliceAroundTheCentreAndBlackOutside) {
    for (int orientation : {Sagittal, Axial, Coronal}) {
        ExpectPreview(orientation, 1, {0, 0}, 4);  // corner: black above and left
        ExpectPreview(orientation, 2, {2, 1}, 3);  // odd side
        ExpectPreview(orientation, 0, {4, 3}, 8);  // wider than the picture
    }
}

TEST_F(GreyPreview, BlackIsTheDisplayPixelOfBlackInEveryFormat) {
    // In the indexed format black is a grey entry, not the drawing colour of entry 0.
    for (DisplayFormat f : {DisplayFormat::Palette8, DisplayFormat::Rgb565, DisplayFormat::Rgb24}) {
        drawing.SetFormat(f);
        ExpectPreview(Sagittal, 0, {0, 0}, 4);
    }
}

TEST_F(GreyPreview, NoneOutsideTheVolumeOrWithoutAnatomy) {
    for (int slice : {-1, 3})
        EXPECT_FALSE(BuildGreyPreview(source(), Sagittal, slice, {0, 0}, 4, drawing.tables()));
    EXPECT_FALSE(BuildGreyPreview(source(), Coronal, 5, {0, 0}, 4, drawing.tables()));
    SliceSource none = source();
    none.anatomy = nullptr;
    EXPECT_FALSE(BuildGreyPreview(none, Sagittal, 0, {0, 0}, 4, drawing.tables()));
}

// ---- zoom dialog

TEST(ZoomDialog, LockStartsTickedOnlyForEqualFactors) {
    EXPECT_TRUE(ZoomDialogModel({3, 3, 3}).locked());
    EXPECT_FALSE(ZoomDialogModel({3, 3, 4}).locked());
    EXPECT_FALSE(ZoomDialogModel({2, 3, 3}).locked());
}

TEST(ZoomDialog, LockedFactorsFollowEachOtherAndAllAreClamped) {
    ZoomDialogModel model({3, 3, 3});
    model.SetFactor(1, 7);
    EXPECT_EQ(model.zoom(), (std::array<int, 3>{7, 7, 7}));
    model.SetFactor(2, 40);
    EXPECT_EQ(model.zoom(), (std::array<int, 3>{25, 25, 25}));
    model.SetLocked(false);
    model.SetFactor(0, 0);
    EXPECT_EQ(model.zoom(), (std::array<int, 3>{1, 25, 25}));
    model.SetFactor(2, 4);
    EXPECT_EQ(model.zoom(), (std::array<int, 3>{1, 25, 4}));
}

// ---- frames

TEST(ViewFrames, Captions) {
    const struct {
        const char* view;
        const char* tool;
    } cases[] = {{"brain.prj:2", "Tools:2"}, {"brain:2 extra", "Tools:2"}, {"brain", "Tools"},
                 {"a:b:13", "Tools:13"},     {"x: y", "Tools:"},           {"", "Tools"}};
    for (const auto& c : cases) EXPECT_EQ(ToolWindowCaption(c.view), c.tool) << c.view;
    EXPECT_EQ(ViewFrameCaption("brain", 1, 1), "brain");
    EXPECT_EQ(ViewFrameCaption("brain", 2, 3), "brain:2");
    EXPECT_EQ(ToolWindowCaption(ViewFrameCaption("brain", 2, 2)), "Tools:2");
}

TEST(ViewFrames, SavedRectanglesStayReachable) {
    const Rect client{100, 0, 900, 600};
    const struct {
        Rect saved, expected;
    } cases[] = {
        {{200, 100, 400, 300}, {200, 100, 400, 300}},   // inside
        {{-300, 100, -200, 300}, {75, 100, 175, 300}},  // right edge 75 right of the left
        {{125, 10, 175, 60}, {125, 10, 175, 60}},       // exactly 75
        {{880, 10, 1080, 60}, {860, 10, 1060, 60}},     // left edge 40 left of the right
        {{300, 700, 400, 800}, {300, 580, 400, 680}},   // top 20 above the bottom
        {{-500, 900, -400, 950}, {75, 580, 175, 630}},  // both
    };
    for (const auto& c : cases) {
        const Rect r = KeepReachable(c.saved, client);
        EXPECT_EQ(r, c.expected) << c.saved.left << "," << c.saved.top;
    }
}

TEST(ViewFrames, NewPairSideBySide) {
    const Rect client{10, 20, 1010, 820};
    const ViewPairPlacement p = PlaceNewViewPair(client, {200, 400}, {500, 300});
    EXPECT_EQ(p.tool, (Rect{810, 220, 1010, 620}));  // right edge, vertically centred
    EXPECT_EQ(p.frame, (Rect{160, 270, 660, 570}));  // centred left of the tool window
}

TEST(ViewFrames, NewPairTooWideFillsTheRoomLeftOfTheToolWindow) {
    const Rect client{0, 0, 1000, 800};
    const ViewPairPlacement p = PlaceNewViewPair(client, {200, 400}, {900, 1000});
    EXPECT_EQ(p.frame, (Rect{0, 0, 800, 800}));
    EXPECT_EQ(p.tool, (Rect{800, 200, 1000, 600}));
    EXPECT_EQ(p.tool.left, p.frame.right);
}

TEST(ViewFrames, NewPairWithAToolWindowWiderThanTheClientArea) {
    const Rect client{0, 0, 150, 800};
    const ViewPairPlacement p = PlaceNewViewPair(client, {200, 400}, {100, 300});
    EXPECT_EQ(p.tool, (Rect{0, 200, 200, 600}));
    EXPECT_EQ(p.frame, (Rect{0, 250, 100, 550}));
}

TEST(ViewFrames, FitToPictureMovesUpAndLeftOnlyAsNeeded) {
    const Rect client{0, 0, 1000, 800};
    const struct {
        Rect frame;
        Size full;
        Rect expected;
    } cases[] = {
        {{100, 100, 300, 300}, {400, 300}, {100, 100, 500, 400}},   // fits where it is
        {{900, 700, 950, 750}, {400, 300}, {600, 500, 1000, 800}},  // pulled back
        {{900, 700, 950, 750}, {1200, 900}, {0, 0, 1200, 900}},     // larger than the client
        {{-50, -20, 100, 100}, {400, 300}, {-50, -20, 350, 280}},   // never moved right or down
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitFrameToPicture(c.frame, c.full, client), c.expected) << c.frame.left;
}

}  // namespace
}  // namespace sulcan
