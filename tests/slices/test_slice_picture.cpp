// Slice pictures: geometry per orientation, tissue colours, overlay lists and the marks.
#include <gtest/gtest.h>

#include <vector>

#include "slices/slice_picture.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {
namespace {

// A volume whose anatomy value names its voxel, with the tables of the default settings.
struct Fixture {
    VolumeDims dims;
    std::vector<uint8_t> anatomy, labels;
    OverlaySet roi, functional, functionalInRoi, cut;
    GreyTable grey;
    DisplayColours colours;
    DisplayFormat format;

    explicit Fixture(VolumeDims d, DisplayFormat f = DisplayFormat::Rgb32)
        : dims(d), anatomy(d.voxels()), labels(d.voxels(), 0), format(f) {
        for (size_t i = 0; i < anatomy.size(); ++i) anatomy[i] = uint8_t(i * 7 + 3);
        grey.Build(GreyParameters{}, f);
        colours = BuildDisplayColours(DefaultDisplayColoursRgb(), f);
    }
    SliceSource source() const {
        return {anatomy.data(), labels.data(), dims, &roi, &functional, &functionalInRoi, &cut};
    }
    SliceTables tables() const { return {grey, colours, format}; }
    SlicePicture Build(int orientation, int slice, const OverlaySwitches& on = {}) const {
        std::optional<SlicePicture> p =
            BuildSlicePicture(source(), orientation, slice, on, tables());
        EXPECT_TRUE(p.has_value());
        return p ? *p : SlicePicture{};
    }
    uint8_t& label(int x, int y, int z) { return labels[dims.index(x, y, z)]; }
    uint32_t greyOf(int x, int y, int z) const { return grey[anatomy[dims.index(x, y, z)]]; }
};

// The voxel shown at picture (c, r) of a slice.
std::array<int, 3> VoxelAt(int orientation, int slice, int c, int r) {
    switch (orientation) {
        case Axial:
            return {r, slice, c};
        case Coronal:
            return {slice, r, c};
        default:
            return {c, r, slice};
    }
}

TEST(SlicePicture, EveryPixelShowsItsVoxelInEveryOrientation) {
    // wider than one gather strip on every axis, odd sizes for the row padding
    Fixture f({37, 21, 19}, DisplayFormat::Rgb24);
    struct Case {
        int orientation, width, height;
    };
    for (const Case& c : {Case{Sagittal, 37, 21}, Case{Axial, 19, 37}, Case{Coronal, 19, 21}}) {
        const int depth = c.orientation == Sagittal ? 19 : c.orientation == Axial ? 21 : 37;
        for (int slice : {0, depth / 2, depth - 1}) {
            const SlicePicture p = f.Build(c.orientation, slice);
            ASSERT_EQ(p.width, c.width);
            ASSERT_EQ(p.height, c.height);
            EXPECT_EQ(p.rowBytes, PictureRowBytes(c.width, DisplayFormat::Rgb24));
            for (int r = 0; r < p.height; ++r)
                for (int col = 0; col < p.width; ++col) {
                    const auto v = VoxelAt(c.orientation, slice, col, r);
                    ASSERT_EQ(p.anatomy[r * p.width + col],
                              f.anatomy[f.dims.index(v[0], v[1], v[2])]);
                    ASSERT_EQ(p.PixelAt(col, r), f.greyOf(v[0], v[1], v[2]));
                }
        }
    }
}

TEST(SlicePicture, SliceOutsideTheVolumeGivesNoPicture) {
    const Fixture f({4, 3, 2});
    const SliceTables t = f.tables();
    for (int slice : {-1, 2}) EXPECT_FALSE(BuildSlicePicture(f.source(), Sagittal, slice, {}, t));
    EXPECT_FALSE(BuildSlicePicture(f.source(), Axial, 3, {}, t));
    EXPECT_FALSE(BuildSlicePicture(f.source(), Coronal, 4, {}, t));
    EXPECT_TRUE(BuildSlicePicture(f.source(), Coronal, 3, {}, t));
}

TEST(SlicePicture, TissueColoursReplaceGreyOnlyWhileTheirOverlayIsOn) {
    OverlaySwitches none, white, gray, csf, all;
    white.white = gray.gray = csf.csf = true;
    all.white = all.gray = all.csf = true;
    struct Case {
        uint8_t label;
        OverlaySwitches on;
        int colour;
    };
    const Case cases[] = {
        {SelectedWhite, white, kColourSelectedWhite},
        {SelectedWhite, none, -1},
        {SelectedWhite, gray, -1},
        {White, white, kColourWhiteMatter},
        {Gray, gray, kColourGrayMatter},
        {SelectedGray, gray, kColourSelectedGray},
        {SelectedGray, white, -1},
        {Csf, csf, kColourCsfMatter},
        {Csf, white, -1},
        {GrayCandidate, all, -1},
        {Unknown, all, -1},
        {0x11, all, -1},
        {0xB0, all, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OverlayColourOf(c.label, c.on), c.colour) << int(c.label);
        Fixture f({3, 3, 1});
        f.label(1, 2, 0) = c.label;
        const SlicePicture p = f.Build(Sagittal, 0, c.on);
        const uint32_t expected = c.colour < 0 ? f.greyOf(1, 2, 0) : f.colours.pixel[c.colour];
        EXPECT_EQ(p.PixelAt(1, 2), expected) << int(c.label);
        // an illegal byte is drawn and copied as unknown
        EXPECT_EQ(p.labels[2 * 3 + 1], IsLegalLabel(c.label) ? c.label : Unknown);
    }
}

TEST(SlicePicture, OverlayListsInOrderOverwriteTissueAndEachOther) {
    Fixture f({6, 5, 4});
    f.label(2, 3, 1) = White;
    const uint32_t inSlice = PackedVoxel::Pack(2, 3, 1);
    f.roi = {{inSlice, PackedVoxel::Pack(4, 0, 1)}, {0x111111, 0x222222}};
    f.functional = {{inSlice, PackedVoxel::Pack(1, 1, 1)}, {0x333333, 0x444444}};
    f.functionalInRoi = {{inSlice}, {0x555555}};
    f.cut = {{PackedVoxel::Pack(4, 0, 1), PackedVoxel::Pack(0, 0, 2), PackedVoxel::Pack(9, 0, 1)},
             {0x666666, 0x777777, 0x888888}};
    OverlaySwitches on;
    on.white = on.rois = on.functional = on.cuts = true;
    SlicePicture p = f.Build(Sagittal, 1, on);
    EXPECT_EQ(p.PixelAt(2, 3), 0x333333u);  // functional over ROI over white
    EXPECT_EQ(p.PixelAt(1, 1), 0x444444u);
    EXPECT_EQ(p.PixelAt(4, 0), 0x666666u);          // cut over ROI
    EXPECT_EQ(p.PixelAt(0, 0), f.greyOf(0, 0, 1));  // other slice, outside the volume
    EXPECT_EQ(p.labels[3 * 6 + 2], White);          // the copies keep the volume's values

    on.clipFunctionals = true;
    p = f.Build(Sagittal, 1, on);
    EXPECT_EQ(p.PixelAt(2, 3), 0x555555u);
    EXPECT_EQ(p.PixelAt(1, 1), f.greyOf(1, 1, 1));

    on.functional = false;
    p = f.Build(Sagittal, 1, on);
    EXPECT_EQ(p.PixelAt(2, 3), 0x111111u);
    // the same list in another orientation: voxel (2, 3, 1) lies in axial slice 3
    on.rois = false;
    on.functional = true;
    on.clipFunctionals = false;
    p = f.Build(Axial, 3, on);
    EXPECT_EQ(p.PixelAt(1, 2), 0x333333u);
}

TEST(SlicePicture, TheDocumentIsTheSource) {
    CSulcanDoc doc;
    std::vector<uint8_t> anatomy(4 * 3 * 2, 200);
    doc.InstallAnatomy(anatomy, {4, 3, 2});
    std::vector<uint8_t> labels(anatomy.size(), 0);
    labels[1 + 2 * 4 + 1 * 12] = Csf;
    doc.InstallClassification(labels);
    doc.overlay(kOverlayCut) = {{PackedVoxel::Pack(3, 0, 1)}, {0xABCDEF}};
    Fixture f({4, 3, 2});
    OverlaySwitches on;
    on.csf = on.cuts = true;
    const std::optional<SlicePicture> p =
        BuildSlicePicture(SliceSourceOf(doc), Sagittal, 1, on, f.tables());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->PixelAt(1, 2), f.colours.pixel[kColourCsfMatter]);
    EXPECT_EQ(p->PixelAt(3, 0), 0xABCDEFu);
    EXPECT_EQ(p->PixelAt(0, 0), f.grey[200]);

    doc.InstallClassification(std::vector<uint8_t>(5, 0));
    EXPECT_FALSE(BuildSlicePicture(SliceSourceOf(doc), Sagittal, 1, on, f.tables()));
}

TEST(SlicePicture, RecolouringAPixelFollowsItsCopies) {
    Fixture f({3, 3, 1});
    OverlaySwitches on;
    on.white = true;
    SlicePicture p = f.Build(Sagittal, 0, on);
    p.labels[4] = SelectedWhite;
    RecolourPixel(p, 1, 1, on, f.tables());
    EXPECT_EQ(p.PixelAt(1, 1), f.colours.pixel[kColourSelectedWhite]);
    p.labels[4] = Unknown;
    RecolourPixel(p, 1, 1, on, f.tables());
    EXPECT_EQ(p.PixelAt(1, 1), f.greyOf(1, 1, 0));
}

TEST(SliceMarks, AxesAndTheirColours) {
    struct Case {
        int orientation;
        PicturePoint point;
        int horizontal, vertical;
    };
    // point (1, 2, 3)
    const Case cases[] = {{Sagittal, {1, 2}, kColourXLine, kColourYLine},
                          {Axial, {3, 1}, kColourZLine, kColourXLine},
                          {Coronal, {3, 2}, kColourZLine, kColourYLine}};
    for (const Case& c : cases) {
        const PicturePoint p = PicturePointOf(c.orientation, 1, 2, 3);
        EXPECT_EQ(p.column, c.point.column);
        EXPECT_EQ(p.row, c.point.row);
        EXPECT_EQ(HorizontalAxisColour(c.orientation), c.horizontal);
        EXPECT_EQ(VerticalAxisColour(c.orientation), c.vertical);
    }
    const PictureBox box = PictureBoxOf(Axial, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(box.columnMin, 3);
    EXPECT_EQ(box.rowMin, 1);
    EXPECT_EQ(box.columnMax, 6);
    EXPECT_EQ(box.rowMax, 4);
}

TEST(SliceMarks, BrushSquareCoversThePaintedVoxelsClippedToThePicture) {
    struct Case {
        PicturePoint at;
        int size;
        PictureBox square;
    };
    const Case cases[] = {
        {{5, 5}, 1, {5, 5, 5, 5}},  {{5, 5}, 2, {4, 4, 5, 5}}, {{5, 5}, 4, {3, 3, 6, 6}},
        {{5, 5}, 5, {3, 3, 7, 7}},  {{0, 1}, 5, {0, 0, 2, 3}}, {{9, 9}, 15, {2, 2, 9, 9}},
        {{0, 0}, 15, {0, 0, 7, 7}},
    };
    for (const Case& c : cases) {
        const PictureBox b = BrushSquare(c.at, c.size, 10, 10);
        EXPECT_EQ(b.columnMin, c.square.columnMin) << c.size;
        EXPECT_EQ(b.rowMin, c.square.rowMin);
        EXPECT_EQ(b.columnMax, c.square.columnMax);
        EXPECT_EQ(b.rowMax, c.square.rowMax);
    }
}

TEST(SliceMarks, DrawnForOnePaintAndRemovedAfterwards) {
    Fixture f({8, 6, 1}, DisplayFormat::Rgb565);
    SlicePicture p = f.Build(Sagittal, 0);
    const std::vector<uint8_t> clean = p.pixels;
    OverlaySwitches on;
    on.voiCrossbars = true;
    SliceMarks marks = MarksOf(Sagittal, 2, 4, 0, {5, 1, 0, 7, 3, 0}, on);
    marks.brush = true;
    marks.brushAt = {0, 0};
    marks.brushSize = 3;
    const auto& px = f.colours.pixel;
    {
        MarkedPicture marked(p, marks, f.colours);
        ASSERT_TRUE(marked.marked());
        EXPECT_EQ(p.PixelAt(0, 0), px[kColourBrush]);  // clipped at the corner
        EXPECT_EQ(p.PixelAt(1, 1), px[kColourBrush]);
        EXPECT_EQ(p.PixelAt(2, 0), px[kColourXLine]);  // crossbars over the brush
        for (int r : {0, 2, 5}) EXPECT_EQ(p.PixelAt(2, r), px[kColourXLine]);
        for (int c : {0, 1, 2, 3, 4, 6}) EXPECT_EQ(p.PixelAt(c, 4), px[kColourYLine]);
        // dotted VOI lines: every second pixel from 0, over the crossbars
        EXPECT_EQ(p.PixelAt(5, 0), px[kColourXLine]);
        EXPECT_EQ(p.PixelAt(5, 1), f.greyOf(5, 1, 0));
        EXPECT_EQ(p.PixelAt(5, 4), px[kColourXLine]);
        EXPECT_EQ(p.PixelAt(6, 3), px[kColourYLine]);
        EXPECT_EQ(p.PixelAt(7, 3), f.greyOf(7, 3, 0));
        EXPECT_EQ(p.PixelAt(4, 1), px[kColourYLine]);
    }
    EXPECT_EQ(p.pixels, clean);
}

TEST(SliceMarks, SwitchedOffOrOutsideThePictureDrawNothing) {
    Fixture f({5, 4, 1});
    SlicePicture p = f.Build(Sagittal, 0);
    const std::vector<uint8_t> clean = p.pixels;
    OverlaySwitches off;
    off.positionCrossbars = false;
    DrawMarks(p, MarksOf(Sagittal, 1, 1, 0, {0, 0, 0, 4, 3, 0}, off), f.colours);
    EXPECT_EQ(p.pixels, clean);
    OverlaySwitches on;
    on.voiCrossbars = true;
    DrawMarks(p, MarksOf(Sagittal, -1, 7, 0, {-3, 9, 0, 5, 4, 0}, on), f.colours);
    EXPECT_EQ(p.pixels, clean);
}

TEST(SlicePicture, EveryFormatShowsTheSameColours) {
    const Palette palette = BuildPalette(DefaultDisplayColoursRgb());
    std::vector<uint8_t> reference;
    for (DisplayFormat format : {DisplayFormat::Rgb32, DisplayFormat::Rgb24}) {
        Fixture f({5, 3, 2}, format);
        f.label(1, 1, 1) = SelectedWhite;
        OverlaySwitches on;
        on.white = true;
        const SlicePicture p = f.Build(Sagittal, 1, on);
        const std::vector<uint8_t> rgb =
            PictureToRgb(p.pixels.data(), p.width, p.height, p.rowBytes, format, &palette);
        EXPECT_EQ(rgb[(1 * 5 + 1) * 3], 255);
        if (reference.empty()) reference = rgb;
        EXPECT_EQ(rgb, reference);
    }
    for (DisplayFormat format :
         {DisplayFormat::Rgb565, DisplayFormat::Rgb555, DisplayFormat::Palette8}) {
        Fixture f({5, 3, 2}, format);
        const SlicePicture p = f.Build(Coronal, 4);
        EXPECT_EQ(p.rowBytes, PictureRowBytes(2, format));
        EXPECT_EQ(p.PixelAt(1, 2), f.greyOf(4, 2, 1));
    }
}

}  // namespace
}  // namespace sulcan
