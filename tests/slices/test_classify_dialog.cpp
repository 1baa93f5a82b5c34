// The classification dialog model: scroll bar ranges and texts, centre and orientation, the
// preview volume, 2D and 3D previews against ClassifyBlock, Auto Update, the preview pictures,
// the region average question and the values handed back.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/testing/ScriptedUi.h"
#include "slices/SliceViewModel.h"
#include "slices/classify_dialog.h"
#include "tests/support/slice_view_fakes.h"
#include "volume/phantom.h"

namespace sulcan {
namespace {

// A 32^3 phantom document with one view at zoom 2 on its centre (16, 16, 16).
struct ClassifyDialogTest : ::testing::Test {
    CSulcanDoc doc;
    testing::ScriptedUi ui;
    SliceDrawing drawing;
    testing::ViewPreferences prefs{{2, 2, 2}};
    testing::RecordingViewHost host;
    Phantom phantom;
    std::unique_ptr<SliceViewModel> view;

    ClassifyDialogTest() {
        PhantomOptions o;
        o.size = 32;
        phantom = MakePhantom(o);
        doc.StartNewProject(phantom.anatomy, phantom.dims);
        view = std::make_unique<SliceViewModel>(doc, ui, drawing, prefs, host);
        view->Initialise(nullptr, nullptr);
    }
    ClassifyDialogModel Model(ClassifyDialogOptions stored = {}) {
        return ClassifyDialogModel(*view, drawing, ui, stored, false);
    }
    // The anatomy byte x + 2 y (mod 256) everywhere, for averages that are easy to follow.
    void UseRampAnatomy() {
        std::vector<uint8_t> anatomy(doc.dims().voxels());
        for (int z = 0; z < 32; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    anatomy[doc.dims().index(x, y, z)] = uint8_t(x + 2 * y);
        doc.InstallAnatomy(std::move(anatomy), doc.dims());
    }
    // ClassifyBlock run straight on the document for an axial box of the volume.
    std::vector<uint8_t> DirectLabels(const ClassifyDialogModel& m, const PreviewVolume& v,
                                      int firstZ, int slices) {
        const VolumeDims& d = doc.dims();
        std::vector<uint8_t> out(d.voxels(), 0);
        const size_t at = d.index(v.start[0], v.start[1], firstZ);
        ClassifyBlock(doc.anatomy().data() + at, v.size[0], v.size[1], slices, d.x,
                      ptrdiff_t(d.planeStride()), out.data() + at, m.BlockParameters());
        std::vector<uint8_t> box;
        for (int z = v.start[2]; z < v.start[2] + v.size[2]; ++z)
            for (int y = v.start[1]; y < v.start[1] + v.size[1]; ++y)
                for (int x = v.start[0]; x < v.start[0] + v.size[0]; ++x)
                    box.push_back(out[d.index(x, y, z)]);
        return box;
    }
};

// ---------------------------------------------------------------- scroll bars

struct SliderCase {
    int slider;
    const char* caption;
    int minimum, maximum, value;
    const char* text;
};

TEST(ClassifySliders, RangesCaptionsAndTexts) {
    const SliderCase cases[] = {
        {kSliderCsfMean, "CSF Mean", 0, 255, 35, "35"},
        {kSliderGrayMean, "Gray Mean", 0, 255, 255, "255"},
        {kSliderWhiteMean, "White Mean", 0, 255, 0, "0"},
        {kSliderNoiseStdev, "Noise Stdev", 1, 25, 4, "4"},
        {kSliderConfidence, "Confidence", 0, 100, 70, "0.70"},
        {kSliderConfidence, "Confidence", 0, 100, 5, "0.05"},
        {kSliderConfidence, "Confidence", 0, 100, 100, "1.00"},
        {kSliderSmoothness, "Smoothness", 0, 10, 10, "10"},
    };
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(c.caption);
        const ClassifySliderSpec& spec = ClassifySliderOf(c.slider);
        EXPECT_STREQ(spec.caption, c.caption);
        EXPECT_EQ(spec.range.minimum, c.minimum);
        EXPECT_EQ(spec.range.maximum, c.maximum);
        EXPECT_EQ(ClassifySliderText(c.slider, c.value), c.text);
    }
}

TEST_F(ClassifyDialogTest, StartsFromTheDocumentTheStoredOptionsAndTheView) {
    doc.settings().SetCsfMean(40.9f);
    doc.settings().SetConfidence(0.55f);
    doc.settings().SetSmoothness(7);
    view->SetOrientation(1);
    ClassifyDialogOptions stored;
    stored.classify3D = true;
    stored.overlayCsf = true;
    stored.overlayWhite = false;
    ClassifyDialogModel m = Model(stored);
    const std::array<int, kClassifySliderCount> expected = {40, 50, 60, 4, 55, 7};
    for (int s = 0; s < kClassifySliderCount; ++s) EXPECT_EQ(m.value(s), expected[s]) << s;
    EXPECT_EQ(m.valueText(kSliderConfidence), "0.55");
    EXPECT_FALSE(m.autoUpdate());
    EXPECT_TRUE(m.classify3D());
    EXPECT_TRUE(m.overlayCsf());
    EXPECT_FALSE(m.overlayWhite());
    EXPECT_EQ(m.orientation(), 1);
    EXPECT_EQ(m.centre(), view->point());
    EXPECT_FALSE(m.hasPreview());
}

TEST_F(ClassifyDialogTest, ValuesAreClampedAndHandedBackAsFloats) {
    ClassifyDialogModel m = Model();
    m.SetValue(kSliderNoiseStdev, 0);
    EXPECT_EQ(m.value(kSliderNoiseStdev), 1);
    m.SetValue(kSliderSmoothness, 11);
    EXPECT_EQ(m.value(kSliderSmoothness), 10);
    m.SetValue(kSliderCsfMean, 300);
    m.SetValue(kSliderConfidence, 55);
    m.SetOverlayCsf(true);
    m.SetOverlayWhite(false);
    const ClassificationParameters p = m.Values();
    EXPECT_FLOAT_EQ(p.csfMean, 255.0f);
    EXPECT_FLOAT_EQ(p.grayMean, 50.0f);
    EXPECT_FLOAT_EQ(p.whiteMean, 60.0f);
    EXPECT_FLOAT_EQ(p.noiseStdev, 1.0f);
    EXPECT_FLOAT_EQ(p.confidence, 0.55f);
    EXPECT_EQ(p.smoothness, 10);
    const ClassifyDialogOptions o = m.Options();
    EXPECT_FALSE(o.classify3D);
    EXPECT_TRUE(o.overlayCsf);
    EXPECT_FALSE(o.overlayWhite);
    EXPECT_FLOAT_EQ(m.BlockParameters().confidence, 0.55f);
    EXPECT_EQ(m.BlockParameters().iterations, 10);
}

// ---------------------------------------------------------------- centre and volume

TEST_F(ClassifyDialogTest, CentreIsClampedAndMovesMarkTheVolumeForRebuilding) {
    ClassifyDialogModel m = Model();
    ASSERT_TRUE(m.Preview());
    EXPECT_FALSE(m.rebuildPending());
    EXPECT_EQ(m.SetCentre(0, -5), 0);
    EXPECT_EQ(m.SetCentre(2, 1000), 31);
    EXPECT_EQ(m.SetCentre(1, 20), 20);
    EXPECT_EQ(m.centre(), (std::array<int32_t, 3>{0, 20, 31}));
    EXPECT_TRUE(m.rebuildPending());
    ASSERT_TRUE(m.Preview());
    m.SetCentre(1, 20);   // no change
    m.SetOrientation(7);  // no orientation
    EXPECT_FALSE(m.rebuildPending());
    m.SetOrientation(2);
    EXPECT_TRUE(m.rebuildPending());
}

struct VolumeCase {
    VolumeDims dims;
    int orientation;
    std::array<int32_t, 3> centre;
    std::array<int, 3> zoom;
    PreviewVolume expected;
};

TEST(ClassifyPreviewVolume, SizedFromTheZoomCentredAndShiftedInside) {
    const VolumeCase cases[] = {
        // red: x, y across, z along; 80 / 3 = 26 voxels
        {{64, 64, 64}, 0, {32, 32, 32}, {3, 3, 3}, {{19, 19, 27}, {26, 26, 10}}},
        // at the volume's edges the window shifts inside
        {{64, 64, 64}, 0, {0, 63, 2}, {3, 3, 3}, {{0, 38, 0}, {26, 26, 10}}},
        // green: z across, x down, y along
        {{64, 64, 64}, 1, {32, 32, 32}, {4, 1, 2}, {{22, 27, 12}, {20, 10, 40}}},
        // blue: z across, y down, x along
        {{64, 64, 64}, 2, {63, 10, 40}, {1, 8, 5}, {{54, 5, 32}, {10, 10, 16}}},
        // axes shorter than the window are taken whole
        {{16, 64, 5}, 0, {8, 60, 2}, {1, 1, 1}, {{0, 0, 0}, {16, 64, 5}}},
    };
    for (const VolumeCase& c : cases) {
        const PreviewVolume v = PreviewVolumeOf(c.dims, c.orientation, c.centre, c.zoom);
        EXPECT_EQ(v.start, c.expected.start) << "orientation " << c.orientation;
        EXPECT_EQ(v.size, c.expected.size) << "orientation " << c.orientation;
    }
}

TEST_F(ClassifyDialogTest, PreviewVolumeFollowsTheViewsZoom) {
    ClassifyDialogModel m = Model();
    EXPECT_EQ(m.previewVolume().size, (std::array<int32_t, 3>{32, 32, 10}));  // 40 > 32
    view->SetZoom(4, 5, 4);
    EXPECT_EQ(m.previewVolume().size, (std::array<int32_t, 3>{20, 16, 10}));
    EXPECT_EQ(m.previewVolume().start, (std::array<int32_t, 3>{6, 8, 11}));
}

// ---------------------------------------------------------------- preview

TEST_F(ClassifyDialogTest, TwoDimensionalPreviewClassifiesTheCentreSliceAlone) {
    view->SetZoom(4, 4, 4);
    ClassifyDialogModel m = Model();
    ASSERT_TRUE(m.Preview());
    const PreviewVolume v = m.previewVolume();
    ASSERT_EQ(m.previewCentreSlice(), 16 - v.start[2]);
    const std::vector<uint8_t> expected = DirectLabels(m, v, 16, 1);
    EXPECT_EQ(m.previewLabels(), expected);
    // the phantom's centre slice has white matter and CSF
    const auto count = [&](uint8_t label) {
        return std::count(expected.begin(), expected.end(), label);
    };
    EXPECT_GT(count(White), 0);
    EXPECT_GT(count(Csf), 0);
}

TEST_F(ClassifyDialogTest, ThreeDimensionalPreviewDiffusesAcrossAllTenSlices) {
    view->SetZoom(4, 4, 4);
    ClassifyDialogModel m = Model();
    m.SetClassify3D(true);
    ASSERT_TRUE(m.Preview());
    const PreviewVolume v = m.previewVolume();
    EXPECT_EQ(m.previewLabels(), DirectLabels(m, v, v.start[2], 10));
    // the 3D run differs from the 2D one somewhere on the centre slice
    const std::vector<uint8_t> threeD = m.previewLabels();
    m.SetClassify3D(false);
    ASSERT_TRUE(m.Preview());
    const size_t plane = size_t(v.size[0]) * v.size[1], first = m.previewCentreSlice() * plane;
    EXPECT_FALSE(std::equal(threeD.begin() + first, threeD.begin() + first + plane,
                            m.previewLabels().begin() + first));
}

TEST_F(ClassifyDialogTest, PreviewOfAnotherOrientationReadsItsOwnAxes) {
    UseRampAnatomy();
    view->SetZoom(8, 4, 2);  // blue: z across (40 voxels, taken as 32), y down (20)
    ClassifyDialogModel m = Model();
    m.SetOrientation(2);
    ASSERT_TRUE(m.Preview());
    const std::optional<SlicePicture> p = m.UpperPicture();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 32);
    EXPECT_EQ(p->height, 20);
    EXPECT_EQ(m.horizontalZoom(), 2);
    EXPECT_EQ(m.verticalZoom(), 4);
    // row r is y = 6 + r on the slice x = 16
    EXPECT_EQ(p->anatomy[size_t(3) * 32 + 5], uint8_t(16 + 2 * 9));
}

TEST_F(ClassifyDialogTest, AutoUpdateRunsThePreviewOnEveryChange) {
    ClassifyDialogModel m = Model();
    m.SetValue(kSliderSmoothness, 2);
    m.SetCentre(0, 10);
    EXPECT_FALSE(m.hasPreview());

    m.SetAutoUpdate(true);
    m.SetValue(kSliderConfidence, 100);
    ASSERT_TRUE(m.hasPreview());
    const std::vector<uint8_t> labels = m.previewLabels();
    ASSERT_TRUE(m.Preview());
    EXPECT_EQ(m.previewLabels(), labels);  // it ran with the new value

    m.SetCentre(2, 5);
    EXPECT_FALSE(m.rebuildPending());
    m.SetOrientation(1);
    EXPECT_FALSE(m.rebuildPending());
    EXPECT_EQ(m.UpperPicture()->width, m.previewVolume().size[2]);
}

TEST_F(ClassifyDialogTest, PicturesShowOverlaysOnGreysAndLabelsAlone) {
    ClassifyDialogModel m = Model();
    EXPECT_FALSE(m.UpperPicture());
    ASSERT_TRUE(m.Preview());
    const DisplayColours& colours = drawing.colours();
    const auto check = [&](bool white, bool csf) {
        m.SetOverlayWhite(white);
        m.SetOverlayCsf(csf);
        const SlicePicture upper = *m.UpperPicture(), lower = *m.LowerPicture();
        EXPECT_EQ(upper.format, drawing.format());
        for (int r = 0; r < upper.height; ++r)
            for (int c = 0; c < upper.width; ++c) {
                const size_t at = size_t(r) * upper.width + c;
                const uint8_t l = upper.labels[at];
                const bool shown = (l == White && white) || (l == Csf && csf);
                const uint32_t colour =
                    colours.pixel[l == White ? kColourWhiteMatter : kColourCsfMatter];
                EXPECT_EQ(upper.PixelAt(c, r),
                          shown ? colour : drawing.greyTable()[upper.anatomy[at]]);
                EXPECT_EQ(lower.PixelAt(c, r), shown ? colour : colours.pixel[kColourBlack]);
            }
    };
    check(true, false);
    check(false, true);
}

// ---------------------------------------------------------------- region average

TEST_F(ClassifyDialogTest, RegionAverageIsTheMeanOfTheCentreSliceInsideTheRectangle) {
    UseRampAnatomy();
    ClassifyDialogModel m = Model();  // zoom 2: 32 x 32 voxels from (0, 0)
    EXPECT_EQ(m.RegionAverage(0, 0, 10, 10), 127);
    ASSERT_TRUE(m.Preview());
    // columns 0..2, rows 0..1: x + 2 y sums to 3 * 2 + 2 * 3 = 12 over 6 voxels
    EXPECT_EQ(m.RegionAverage(5, 3, 0, 0), 2);
    // columns 1..2, row 1: (3 + 4) / 2 = 3 by integer division
    EXPECT_EQ(m.RegionAverage(2, 2, 5, 3), 3);
    // clamped to the square: columns 30..31 (pixel 79 / 2 = 39 beyond the picture), row 0
    EXPECT_EQ(m.RegionAverage(60, -7, 200, 1), 30);
}

TEST_F(ClassifyDialogTest, AssignRegionAverageAsksAndMovesTheChosenSlider) {
    UseRampAnatomy();
    ClassifyDialogModel m = Model();
    ui.Press("Gray");
    m.AssignRegionAverage(0, 0, 5, 3);
    EXPECT_EQ(m.value(kSliderGrayMean), 127);  // no preview yet
    ASSERT_EQ(ui.prompts().size(), 1u);
    const testing::Prompt& p = ui.prompts().back();
    EXPECT_EQ(p.kind, testing::Prompt::Kind::Question);
    EXPECT_EQ(p.caption, "Assign Region Average");
    EXPECT_EQ(p.text, "Region average is 127\nAssign to which slider?");
    EXPECT_EQ(p.question.buttons, (std::vector<std::string>{"CSF", "Gray", "White", "Cancel"}));

    m.SetAutoUpdate(true);
    ASSERT_TRUE(m.Preview());
    ui.Press("White").Press("CSF").Press("Cancel");
    m.AssignRegionAverage(0, 0, 5, 3);
    EXPECT_EQ(ui.prompts().back().text, "Region average is 2\nAssign to which slider?");
    EXPECT_EQ(m.value(kSliderWhiteMean), 2);
    m.AssignRegionAverage(62, 62, 63, 63);  // columns and row 31: 31 + 62 = 93
    EXPECT_EQ(m.value(kSliderCsfMean), 93);
    EXPECT_EQ(m.previewLabels().size(), size_t(32 * 32 * 10));
    const ClassificationParameters before = m.Values();
    m.AssignRegionAverage(0, 0, 1, 1);
    EXPECT_EQ(m.Values().csfMean, before.csfMean);
    EXPECT_EQ(m.Values().whiteMean, before.whiteMean);
    EXPECT_EQ(m.Values().grayMean, before.grayMean);
}

}  // namespace
}  // namespace sulcan
