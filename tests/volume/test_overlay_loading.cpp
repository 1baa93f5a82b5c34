#include <gtest/gtest.h>

#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/support/temp_dir.h"
#include "volume/overlay_loading.h"

namespace sulcan {
namespace {

using testing::ScriptedUi;
using testing::TempDir;
using PV = std::vector<uint32_t>;

uint32_t At(uint32_t x, uint32_t y, uint32_t z) {
    return PackedVoxel::Pack(x, y, z);
}

struct RecordingView : DocumentObserver {
    std::vector<int> codes;
    void OnDocumentChanged(int code) override { codes.push_back(code); }
};

// Marks converted colours so a test sees that the display conversion was applied.
uint32_t Display(uint32_t c) {
    return c | 0xFF000000u;
}

class OverlayLoadingTest : public ::testing::Test {
  protected:
    OverlayLoadingTest() : locations(profile) {
        doc.StartNewProject({}, {10, 8, 6});
        doc.settings().SetProjectPath(dir / "p.qxp");
        doc.AddObserver(&view);
    }
    ~OverlayLoadingTest() override { doc.RemoveObserver(&view); }

    void Add(OverlayList list, const std::string& name, const std::string& content) {
        testing::WriteWholeFile(dir / name, content);
        doc.settings().AddListEntry(list, dir / name);
    }
    // The usual project: two ROI voxels, three functional points (two inside the ROI), a cut.
    void AddThreeLists() {
        Add(OverlayList::Roi, "roi.txt", "1\n255 0 0\n1 1 1 1\n2 2 2 1\n");
        Add(OverlayList::Functional, "f.txt",
            "3\n0 0 1\n0 0 2\n0 0 3\n2 2 2 1\n5 5 5 2\n1 1 1 3\n");
        Add(OverlayList::Cut, "cut.txt", "1\n0 255 0\n3 3 3 1\n");
    }
    void FillWithStalePoints() {
        for (int k = kOverlayRoi; k <= kOverlayFunctionalInRoi; ++k) {
            doc.overlay(OverlayKind(k)).positions = {At(9, 9, 9)};
            doc.overlay(OverlayKind(k)).colours = {1};
        }
    }
    void ExpectAllEmpty() {
        for (int k = kOverlayRoi; k <= kOverlayFunctionalInRoi; ++k)
            EXPECT_EQ(doc.overlay(OverlayKind(k)).count(), 0u) << "set " << k;
    }

    TempDir dir;
    CSulcanDoc doc;
    RecordingView view;
    ScriptedUi ui;
    MemoryProfile profile;
    FileLocations locations;
};

TEST_F(OverlayLoadingTest, FillsTheFourSetsUnderTheNoticeAndTellsTheViews) {
    AddThreeLists();
    FillWithStalePoints();
    EXPECT_EQ(LoadOverlays(doc, ui, Display), 1);
    EXPECT_EQ(doc.overlay(kOverlayRoi).positions, (PV{At(1, 1, 1), At(2, 2, 2)}));
    EXPECT_EQ(doc.overlay(kOverlayRoi).colours, (PV{0xFFFF0000, 0xFFFF0000}));
    EXPECT_EQ(doc.overlay(kOverlayFunctional).positions,
              (PV{At(2, 2, 2), At(5, 5, 5), At(1, 1, 1)}));
    EXPECT_EQ(doc.overlay(kOverlayCut).positions, (PV{At(3, 3, 3)}));
    // Functional order and colours, only where an ROI point lies.
    EXPECT_EQ(doc.overlay(kOverlayFunctionalInRoi).positions, (PV{At(2, 2, 2), At(1, 1, 1)}));
    EXPECT_EQ(doc.overlay(kOverlayFunctionalInRoi).colours, (PV{0xFF000001, 0xFF000003}));
    EXPECT_EQ(ui.notices(),
              (std::vector<std::string>{"Loading ROI, Functional and Cut overlays\n"}));
    EXPECT_EQ(ui.noticeDepth(), 0);
    EXPECT_EQ(view.codes, (std::vector<int>{kChangeOverlays}));
}

TEST_F(OverlayLoadingTest, OnlyMissingFilesLoadNothingAndTellNobody) {
    doc.settings().AddListEntry(OverlayList::Roi, dir / "gone.txt");
    doc.settings().AddListEntry(OverlayList::Cut, dir / "gone too.txt");
    FillWithStalePoints();
    EXPECT_EQ(LoadOverlays(doc, ui), 0);
    ExpectAllEmpty();
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_TRUE(view.codes.empty());
}

TEST_F(OverlayLoadingTest, CancelLeavesEverySetEmptyAndStillTellsTheViews) {
    Add(OverlayList::Roi, "roi.txt", "1\n255 0 0\n1 1 1 1\n");
    Add(OverlayList::Functional, "f.txt", "1\n1 1\n");
    Add(OverlayList::Cut, "cut.txt", "0\n");  // never read: it would ask again
    ui.Reply(Answer::Cancel);
    EXPECT_EQ(LoadOverlays(doc, ui), 0);
    ExpectAllEmpty();
    EXPECT_EQ(ui.noticeDepth(), 0);
    EXPECT_EQ(view.codes, (std::vector<int>{kChangeOverlays}));
}

TEST_F(OverlayLoadingTest, DisablingTheOnlyRoiFileInTheSheetReloadsOnClose) {
    AddThreeLists();
    LoadOverlays(doc, ui);
    {
        OverlaySheetModel untouched(doc.settings(), locations, ui);
        EXPECT_EQ(ReloadOverlaysAfterSheet(doc, ui, untouched), 0);
    }
    EXPECT_EQ(view.codes.size(), 1u);

    OverlaySheetModel sheet(doc.settings(), locations, ui);
    sheet.page(0).DoubleClick(0);
    EXPECT_EQ(ReloadOverlaysAfterSheet(doc, ui, sheet), 1);
    EXPECT_EQ(doc.overlay(kOverlayRoi).count(), 0u);
    EXPECT_EQ(doc.overlay(kOverlayFunctionalInRoi).count(), 0u);
    EXPECT_EQ(doc.overlay(kOverlayFunctional).count(), 3u);
    EXPECT_EQ(view.codes, (std::vector<int>{kChangeOverlays, kChangeOverlays}));
}

TEST(PointsInsideRegion, IgnoresPositionsOutsideTheVolume) {
    const VolumeDims dims{4, 4, 4};
    OverlaySet points{{At(1, 1, 1), At(5, 0, 0), At(3, 3, 3)}, {10, 20, 30}};
    OverlaySet region{{At(3, 3, 3), At(5, 0, 0), At(1, 1, 1)}, {0, 0, 0}};
    OverlaySet inside = PointsInsideRegion(points, region, dims);
    EXPECT_EQ(inside.positions, (PV{At(1, 1, 1), At(3, 3, 3)}));
    EXPECT_EQ(inside.colours, (PV{10, 30}));
    EXPECT_EQ(PointsInsideRegion(points, {}, dims).count(), 0u);
}

}  // namespace
}  // namespace sulcan
