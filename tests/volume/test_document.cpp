#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "volume/CSulcanDoc.h"

namespace sulcan {
namespace {

struct RecordingHost : DocumentHost {
    std::vector<std::string> cursorTexts, voiTexts;
    int redraws = 0;
    void ShowCursorStatus(const std::string& t) override { cursorTexts.push_back(t); }
    void ShowVoiStatus(const std::string& t) override { voiTexts.push_back(t); }
    void RedrawViewerHighlights() override { ++redraws; }
};

struct RecordingView : DocumentObserver {
    std::vector<int> codes;
    void OnDocumentChanged(int code) override { codes.push_back(code); }
};

// The graph type belongs to the gray matter code; the document only holds and drops it.
std::shared_ptr<GrayGraph> StandInGraph() {
    return std::shared_ptr<GrayGraph>(reinterpret_cast<GrayGraph*>(new int(1)),
                                      [](GrayGraph* g) { delete reinterpret_cast<int*>(g); });
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.SetHost(&host);
        doc.StartNewProject({}, {10, 8, 6});
        doc.SetClassificationChanged(false);
        doc.settings().SetTopology({1, 0, 1, 8, 0, 1});
    }
    uint8_t& At(int x, int y, int z) { return doc.classificationData()[doc.dims().index(x, y, z)]; }
    CSulcanDoc doc;
    RecordingHost host;
};

TEST_F(DocumentTest, NewProjectHasWholeVoiCentredCursorAndZeroVolumes) {
    CSulcanDoc fresh;
    fresh.StartNewProject();
    EXPECT_EQ(fresh.dims(), (VolumeDims{64, 64, 64}));
    EXPECT_TRUE(fresh.AnatomyIsEmpty());
    EXPECT_EQ(fresh.classification().size(), 64u * 64 * 64);
    EXPECT_EQ(fresh.GetVoi(), (VoiBox{0, 0, 0, 63, 63, 63}));
    EXPECT_EQ(fresh.settings().xsize(), 64);
    int32_t x, y, z, o;
    ASSERT_TRUE(fresh.GetCursor(x, y, z, o));
    EXPECT_EQ(std::vector<int>({x, y, z, o}), std::vector<int>({32, 32, 32, 0}));
}

// Each row: the voxel's old label, the painted label, the edit mode, and whether it paints.
struct PaintCase {
    uint8_t old, label;
    int mode;
    int result;
};

TEST_F(DocumentTest, PaintVoxelHonoursTheEditModeOverLabelledVoxels) {
    const PaintCase cases[] = {
        {Unknown, Csf, kEditCsf, 1},       {SelectedWhite, Csf, kEditCsf, 0},
        {White, Unknown, kEditWhite, 1},   {SelectedWhite, Unknown, kEditWhite, 1},
        {Csf, Unknown, kEditWhite, 0},     {Csf, Unknown, kEditCsf, 1},
        {Gray, Unknown, kEditGray, 1},     {SelectedGray, Unknown, kEditGray, 1},
        {White, Unknown, kEditGray, 0},    {Csf, White, 7, 1},
        {White, White, kEditWhite, 0},
    };
    for (const PaintCase& c : cases) {
        At(1, 2, 3) = c.old;
        EXPECT_EQ(doc.PaintVoxel(1, 2, 3, c.label, c.mode), c.result)
            << int(c.old) << " -> " << int(c.label) << " mode " << c.mode;
        EXPECT_EQ(At(1, 2, 3), c.result ? c.label : c.old);
    }
}

TEST_F(DocumentTest, ChangeFlagsFollowTheTissuesInvolved) {
    struct Case {
        uint8_t old, label;
        bool classChanged, topologyCleared;
    };
    const Case cases[] = {
        {Unknown, White, true, true},
        {Unknown, Csf, true, false},
        {Gray, Unknown, false, false},
    };
    for (const Case& c : cases) {
        doc.SetClassificationChanged(false);
        doc.settings().SetTopology({1, 0, 1, 8, 0, 1});
        At(0, 0, 0) = c.old;
        ASSERT_EQ(doc.PaintVoxel(0, 0, 0, c.label, 9), 1);
        EXPECT_EQ(doc.ClassificationChanged(), c.classChanged) << int(c.old) << "->" << int(c.label);
        EXPECT_EQ(doc.settings().topology().valid == 0, c.topologyCleared);
    }
}

TEST_F(DocumentTest, GrayChangedReadsFalseWithoutAGrayGraph) {
    At(0, 0, 0) = Gray;
    doc.PaintVoxel(0, 0, 0, Unknown, kEditGray);
    EXPECT_FALSE(doc.GrayChanged());
    doc.SetGrayGraph(StandInGraph());
    At(0, 0, 0) = Gray;
    doc.PaintVoxel(0, 0, 0, Unknown, kEditGray);
    EXPECT_TRUE(doc.GrayChanged());
    doc.ReleaseGrayGraph();
    EXPECT_FALSE(doc.GrayChanged());
}

TEST_F(DocumentTest, GetVoxelIsZeroOutsideAndNormalisesIllegalBytes) {
    At(2, 2, 2) = 0x55;
    At(3, 3, 3) = SelectedGray;
    EXPECT_EQ(doc.GetVoxel(2, 2, 2), 0);
    EXPECT_EQ(At(2, 2, 2), 0);
    EXPECT_EQ(doc.GetVoxel(3, 3, 3), SelectedGray);
    for (auto [x, y, z] : {std::tuple{-1, 0, 0}, {10, 0, 0}, {0, 8, 0}, {0, 0, 6}})
        EXPECT_EQ(doc.GetVoxel(x, y, z), 0);
}

TEST_F(DocumentTest, RelabelCommandsChangeWhatTheirTableSays) {
    const uint8_t labels[] = {White, SelectedWhite, Gray, SelectedGray, Csf, GrayCandidate};
    struct Case {
        const char* name;
        Relabelling command;
        std::array<uint8_t, 6> after;
        bool classChanged, graphKept;
    };
    const Case cases[] = {
        {"deselect white", kDeselectWhite,
         {White, White, Gray, SelectedGray, Csf, GrayCandidate}, false, true},
        {"deselect gray", kDeselectGray,
         {White, SelectedWhite, Gray, Gray, Csf, GrayCandidate}, false, true},
        {"delete unselected white", kDeleteUnselectedWhite,
         {0, SelectedWhite, Gray, SelectedGray, Csf, GrayCandidate}, true, true},
        {"delete all gray", kDeleteAllGray,
         {White, SelectedWhite, 0, 0, Csf, GrayCandidate}, false, false},
        {"delete all csf", kDeleteAllCsf,
         {White, SelectedWhite, Gray, SelectedGray, 0, GrayCandidate}, true, true},
        {"clear", kClearClassification, {0, 0, 0, 0, 0, 0}, false, false},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 6; ++i) At(i, 0, 0) = labels[i];
        doc.SetClassificationChanged(false);
        doc.SetGrayGraph(StandInGraph());
        doc.Relabel(c.command);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(At(i, 0, 0), c.after[i]) << c.name << " voxel " << i;
        EXPECT_EQ(doc.ClassificationChanged(), c.classChanged) << c.name;
        EXPECT_EQ(doc.grayGraph() != nullptr, c.graphKept) << c.name;
    }
}

TEST_F(DocumentTest, ReplaceLabelsThatChangesNothingKeepsTheFlags) {
    doc.SetClassificationChanged(false);
    doc.ReplaceLabels(0xFF, White, Unknown);  // no white anywhere
    EXPECT_FALSE(doc.ClassificationChanged());
    EXPECT_EQ(doc.settings().topology().valid, 1);
}

TEST_F(DocumentTest, HasSelectedGrayScansForSelectedGray) {
    EXPECT_EQ(doc.HasSelectedGray(), 0);
    At(9, 7, 5) = SelectedGray;
    EXPECT_EQ(doc.HasSelectedGray(), 1);
    EXPECT_TRUE(doc.anySelectedGray());
}

TEST_F(DocumentTest, SetVoiShowsItClearsTopologyAndMarksTheClassification) {
    doc.SetVoi({1, 2, 3, 9, 7, 5});
    ASSERT_FALSE(host.voiTexts.empty());
    EXPECT_EQ(host.voiTexts.back(), "VOI: (001,002,003)-(009,007,005)");
    EXPECT_TRUE(doc.ClassificationChanged());
    EXPECT_EQ(doc.settings().topology().valid, 0);
    EXPECT_EQ(doc.settings().topology().handlesLocated, 0);
}

TEST_F(DocumentTest, SetCursorShowsWrappedCoordinatesOnlyWhenTheyChange) {
    host.cursorTexts.clear();
    doc.SetCursor(1005, 2, 999, -1, false);
    doc.SetCursor(1005, 2, 999, 2, true);
    ASSERT_EQ(host.cursorTexts.size(), 1u);
    EXPECT_EQ(host.cursorTexts[0], "XYZ(BGR)=(005,002,999)");
    EXPECT_EQ(host.redraws, 1);
    EXPECT_EQ(doc.cursor().orientation, 2);
    doc.SetCursor(1, 1, 1, -1, false);
    EXPECT_EQ(doc.cursor().orientation, 2);  // -1 keeps it
}

TEST_F(DocumentTest, ClearClassificationZeroesAndCentresTheCursor) {
    At(4, 4, 4) = White;
    doc.SetCursor(0, 0, 0, 1, false);
    doc.ClearClassification();
    EXPECT_EQ(At(4, 4, 4), 0);
    EXPECT_EQ(doc.cursor().x, 5);
    EXPECT_EQ(doc.cursor().y, 4);
    EXPECT_EQ(doc.cursor().z, 3);
    EXPECT_EQ(doc.cursor().orientation, 0);
}

TEST_F(DocumentTest, ViewsHearEveryChangeCode) {
    RecordingView a, b;
    doc.AddObserver(&a);
    doc.AddObserver(&b);
    doc.AddObserver(&a);
    doc.UpdateAllViews(kChangeClassEdited);
    doc.RemoveObserver(&b);
    doc.UpdateAllViews(kChangeCursor);
    EXPECT_EQ(a.codes, std::vector<int>({2, 3}));
    EXPECT_EQ(b.codes, std::vector<int>({2}));
}

}  // namespace
}  // namespace sulcan
