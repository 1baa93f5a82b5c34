#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/testing/ScriptedUi.h"
#include "segment/editing.h"
#include "segment/messages.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {
namespace {

using PackedVoxel::Pack;

class Editing : public ::testing::Test {
  protected:
    void SetUp() override { doc.StartNewProject({}, {20, 18, 16}); }
    uint8_t& at(int32_t x, int32_t y, int32_t z) {
        return doc.classificationData()[doc.dims().index(x, y, z)];
    }
    // Positions holding `label`, as packed voxels.
    std::set<uint32_t> Holding(uint8_t label) const {
        std::set<uint32_t> out;
        const VolumeDims& d = doc.dims();
        for (int32_t z = 0; z < d.z; ++z)
            for (int32_t y = 0; y < d.y; ++y)
                for (int32_t x = 0; x < d.x; ++x)
                    if (doc.classification()[d.index(x, y, z)] == label)
                        out.insert(Pack(uint32_t(x), uint32_t(y), uint32_t(z)));
        return out;
    }
    void SetTopology() {
        TopologySummary t;
        t.valid = 1;
        t.volumeCount = 1;
        doc.settings().SetTopology(t);
    }
    CSulcanDoc doc;
    testing::ScriptedUi ui;
};

// The voxels a brush of size n should cover in the sagittal slice z = 5.
std::set<uint32_t> Square(int32_t c0, int32_t c1, int32_t r0, int32_t r1) {
    std::set<uint32_t> out;
    for (int32_t r = r0; r <= r1; ++r)
        for (int32_t c = c0; c <= c1; ++c) out.insert(Pack(uint32_t(c), uint32_t(r), 5));
    return out;
}

TEST_F(Editing, BrushSizesCoverTheirSquareCutAtTheSliceEdges) {
    struct Case {
        int size;
        int32_t col, row;
        std::set<uint32_t> covered;
    };
    const Case cases[] = {
        {1, 7, 6, Square(7, 7, 6, 6)},        {2, 7, 6, Square(6, 7, 5, 6)},
        {4, 7, 6, Square(5, 8, 4, 7)},        {15, 7, 6, Square(0, 14, 0, 13)},
        {2, 0, 0, Square(0, 0, 0, 0)},         // lower corner: only the clicked voxel is inside
        {15, 19, 17, Square(12, 19, 10, 17)},  // upper corner
        {15, 0, 0, Square(0, 7, 0, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "size " << c.size << " at " << c.col << "," << c.row);
        doc.ClearClassification();
        std::vector<uint32_t> changed;
        const int n =
            PaintSquare(doc, Sagittal, 5, c.col, c.row, c.size, White, kEditWhite, &changed);
        EXPECT_EQ(Holding(White), c.covered);
        EXPECT_EQ(size_t(n), c.covered.size());
        EXPECT_EQ(std::set<uint32_t>(changed.begin(), changed.end()), c.covered);
    }
}

TEST_F(Editing, EveryOrientationPaintsOnlyItsSlice) {
    struct Case {
        int orientation;
        int32_t slice, col, row;
        int32_t x, y, z;  // expected voxel
    };
    for (const Case& c : {Case{Sagittal, 3, 4, 5, 4, 5, 3}, Case{Axial, 3, 4, 5, 5, 3, 4},
                          Case{Coronal, 3, 4, 5, 3, 5, 4}}) {
        SCOPED_TRACE(c.orientation);
        doc.ClearClassification();
        EXPECT_EQ(PaintSquare(doc, c.orientation, c.slice, c.col, c.row, 1, Csf, kEditCsf), 1);
        EXPECT_EQ(Holding(Csf),
                  (std::set<uint32_t>{Pack(uint32_t(c.x), uint32_t(c.y), uint32_t(c.z))}));
        // a 15 brush at the far corner of the last slice stays in that slice
        const SliceGeometry g = SliceGeometryOf(c.orientation, doc.dims());
        doc.ClearClassification();
        EXPECT_EQ(PaintSquare(doc, c.orientation, g.depth - 1, g.width - 1, g.height - 1, 15, Csf,
                              kEditCsf),
                  8 * 8);
    }
}

TEST_F(Editing, ModesPaintOnlyOverTheirTissue) {
    at(1, 1, 5) = Csf;
    at(2, 1, 5) = Gray;
    at(3, 1, 5) = SelectedWhite;
    at(4, 1, 5) = White;
    doc.SetClassificationChanged(false);
    // white over CSF and gray: nothing; over selected white: plain white
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 1, 1, 1, White, kEditWhite), 0);
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 2, 1, 1, White, kEditWhite), 0);
    EXPECT_FALSE(doc.ClassificationChanged());
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 3, 1, 1, White, kEditWhite), 1);
    EXPECT_EQ(at(3, 1, 5), White);
    // erasing in CSF mode removes CSF only
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 1, 1, 9, Unknown, kEditCsf), 1);
    EXPECT_EQ(at(1, 1, 5), Unknown);
    EXPECT_EQ(at(2, 1, 5), Gray);
    EXPECT_EQ(at(3, 1, 5), White);
    EXPECT_EQ(at(4, 1, 5), White);
}

TEST_F(Editing, NoneModeGrayAndBadArgumentsPaintNothing) {
    at(4, 4, 5) = White;
    const std::vector<uint8_t> before = doc.classification();
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 4, 4, 5, Unknown, kEditModeNone), 0);
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 4, 4, 5, White, kEditModeNone), 0);
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 4, 4, 5, Gray, kEditWhite), 0);
    EXPECT_EQ(PaintSquare(doc, Sagittal, 16, 4, 4, 5, White, kEditWhite), 0);
    EXPECT_EQ(PaintSquare(doc, Sagittal, -1, 4, 4, 5, White, kEditWhite), 0);
    EXPECT_EQ(PaintSquare(doc, 3, 5, 4, 4, 5, White, kEditWhite), 0);
    EXPECT_EQ(PaintSquare(doc, Sagittal, 5, 40, 40, 15, White, kEditWhite), 0);
    EXPECT_EQ(doc.classification(), before);
}

TEST_F(Editing, RelabellingCommandsShowTheirNoticeAndKeepTheRightFlags) {
    struct Case {
        const char* notice;
        bool deselect;
        uint8_t which;
        std::vector<uint8_t> after;  // of: White, SelectedWhite, Gray, SelectedGray, Csf
        bool classificationChanged, topologyCleared;
    };
    const Case cases[] = {
        {msg::kDeselectingMatter,
         true,
         White,
         {White, White, Gray, SelectedGray, Csf},
         false,
         false},
        {msg::kDeselectingMatter,
         true,
         Gray,
         {White, SelectedWhite, Gray, Gray, Csf},
         false,
         false},
        {msg::kDeletingUnselectedWhite,
         false,
         kWhichUnselectedWhite,
         {Unknown, SelectedWhite, Gray, SelectedGray, Csf},
         true,
         true},
        {msg::kDeletingAllGray,
         false,
         kWhichAllGray,
         {White, SelectedWhite, Unknown, Unknown, Csf},
         false,
         false},
        {msg::kDeletingAllCsf,
         false,
         kWhichAllCsf,
         {White, SelectedWhite, Gray, SelectedGray, Unknown},
         true,
         false},
        {msg::kClearingClassification,
         false,
         kWhichEverything,
         {Unknown, Unknown, Unknown, Unknown, Unknown},
         true,
         true},
    };
    const uint8_t start[] = {White, SelectedWhite, Gray, SelectedGray, Csf};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        testing::ScriptedUi script;
        for (int i = 0; i < 5; ++i) at(i, 0, 0) = start[i];
        doc.SetClassificationChanged(false);
        doc.SetAnySelectedGray(true);
        SetTopology();
        EXPECT_EQ(
            c.deselect ? DeselectTissue(doc, script, c.which) : DeleteTissue(doc, script, c.which),
            1);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(at(i, 0, 0), c.after[size_t(i)]) << i;
        EXPECT_EQ(script.notices(), std::vector<std::string>{c.notice});
        EXPECT_EQ(script.noticeDepth(), 0);
        EXPECT_EQ(doc.ClassificationChanged(), c.classificationChanged);
        EXPECT_EQ(doc.settings().topology().valid == 0, c.topologyCleared);
        const bool graySelectionGone =
            c.which == Gray || c.which == kWhichAllGray || c.which == kWhichEverything;
        EXPECT_EQ(doc.anySelectedGray(), !graySelectionGone);
    }
}

TEST_F(Editing, ClearMarksAnAlreadyEmptyClassificationChangedAndReleasesTheGraph) {
    static int stand_in;
    doc.SetGrayGraph(
        std::shared_ptr<GrayGraph>(reinterpret_cast<GrayGraph*>(&stand_in), [](GrayGraph*) {}));
    doc.SetClassificationChanged(false);
    EXPECT_EQ(DeleteTissue(doc, ui, kWhichEverything), 1);
    EXPECT_TRUE(doc.ClassificationChanged());
    EXPECT_EQ(doc.grayGraph(), nullptr);
}

TEST_F(Editing, DeselectThenDeleteUnselectedRemovesAllWhite) {
    at(1, 1, 1) = White;
    at(2, 1, 1) = SelectedWhite;
    EXPECT_EQ(DeselectTissue(doc, ui, White), 1);
    EXPECT_EQ(DeleteTissue(doc, ui, kWhichUnselectedWhite), 1);
    EXPECT_TRUE(Holding(White).empty());
    EXPECT_TRUE(Holding(SelectedWhite).empty());
}

TEST_F(Editing, UnknownCommandsChangeNothing) {
    at(1, 1, 1) = Csf;
    const std::vector<uint8_t> before = doc.classification();
    EXPECT_EQ(DeselectTissue(doc, ui, Csf), 0);
    EXPECT_EQ(DeleteTissue(doc, ui, 0x40), 0);
    EXPECT_EQ(doc.classification(), before);
    EXPECT_TRUE(ui.notices().empty());
}

}  // namespace
}  // namespace sulcan
