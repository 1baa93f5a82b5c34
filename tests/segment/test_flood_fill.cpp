#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/testing/ScriptedUi.h"
#include "segment/flood_fill.h"
#include "segment/messages.h"
#include "segment/region_volume.h"
#include "segment/select_connected.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {
namespace {

using PackedVoxel::Pack;

// A small byte volume with voxel access by coordinates.
struct Grid {
    int32_t nx, ny, nz;
    std::vector<uint8_t> bytes;
    Grid(int32_t x, int32_t y, int32_t z) : nx(x), ny(y), nz(z), bytes(size_t(x * y * z), 0) {}
    uint8_t& at(int32_t x, int32_t y, int32_t z) { return bytes[size_t(x + nx * (y + ny * z))]; }
    uint32_t dims() const { return Pack(uint32_t(nx), uint32_t(ny), uint32_t(nz)); }
    int Count(uint8_t v) const { return int(std::count(bytes.begin(), bytes.end(), v)); }
};

using FillFn = int64_t (*)(uint8_t*, uint32_t, uint32_t, uint8_t);

TEST(FloodFill, CornerTouchingVoxelsJoinOnlyUnder26) {
    struct Case {
        const char* name;
        FillFn fill;
        int64_t count;
    };
    for (const Case& c : {Case{"Fill26", Fill26, 3}, Case{"Fill6", Fill6, 1}}) {
        SCOPED_TRACE(c.name);
        Grid g(4, 4, 4);
        g.at(1, 1, 1) = 1;
        g.at(2, 2, 2) = 1;  // corner neighbour
        g.at(3, 3, 1) = 1;  // corner neighbour of (2, 2, 2)
        EXPECT_EQ(c.fill(g.bytes.data(), g.dims(), Pack(1, 1, 1), 255), c.count);
        EXPECT_EQ(g.Count(255), c.count);
        EXPECT_EQ(g.Count(1), 3 - c.count);
    }
}

TEST(FloodFill, FillsARingButNotItsHole) {
    // 5x5x5: a square ring in plane z = 2; the hole and the rest stay.
    Grid g(5, 5, 5);
    for (int32_t i = 1; i <= 3; ++i)
        g.at(i, 1, 2) = g.at(i, 3, 2) = g.at(1, i, 2) = g.at(3, i, 2) = 1;
    g.at(2, 2, 4) = 1;  // separate voxel two planes away
    EXPECT_EQ(Fill6(g.bytes.data(), g.dims(), Pack(1, 1, 2), 7), 8);
    EXPECT_EQ(g.at(2, 2, 2), 0);
    EXPECT_EQ(g.at(2, 2, 4), 1);
    // in 3D the hole is open above and below: all background is one 6-connected region
    EXPECT_EQ(Fill6(g.bytes.data(), g.dims(), Pack(0, 0, 0), 9), 125 - 8 - 1);
    EXPECT_EQ(g.at(2, 2, 2), 9);
    EXPECT_EQ(g.at(2, 2, 4), 1);
}

TEST(FloodFill, HollowCubeShellIsOneRegionAndWallsOffItsInside) {
    Grid g(7, 7, 7);
    for (int32_t z = 1; z <= 5; ++z)
        for (int32_t y = 1; y <= 5; ++y)
            for (int32_t x = 1; x <= 5; ++x) {
                const bool face = x == 1 || x == 5 || y == 1 || y == 5 || z == 1 || z == 5;
                g.at(x, y, z) = face ? 1 : 0;
            }
    EXPECT_EQ(Fill26(g.bytes.data(), g.dims(), Pack(3, 1, 3), 255), 125 - 27);
    // the cavity is walled off from the outside for the 6-connected background
    EXPECT_EQ(Fill6(g.bytes.data(), g.dims(), Pack(3, 3, 3), 2), 27);
    EXPECT_EQ(g.at(0, 0, 0), 0);
}

TEST(FloodFill, SingleVoxelAndSameValue) {
    Grid g(3, 3, 3);
    g.at(1, 1, 1) = 1;
    EXPECT_EQ(Fill26(g.bytes.data(), g.dims(), Pack(1, 1, 1), 255), 1);
    const std::vector<uint8_t> before = g.bytes;
    EXPECT_EQ(Fill26(g.bytes.data(), g.dims(), Pack(1, 1, 1), 255), -1);
    EXPECT_EQ(Fill6(g.bytes.data(), g.dims(), Pack(0, 0, 0), 0), -1);
    EXPECT_EQ(g.bytes, before);
}

TEST(FloodFill, WholeVolumeIncludingEveryFaceAndEdge) {
    // every voxel is an edge voxel in one axis of a 1-thick volume, and the 40 x 3 x 3 box has
    // both inner and edge voxels
    for (auto [x, y, z] : {std::array{40, 3, 3}, std::array{1, 9, 9}, std::array{2, 2, 2}}) {
        Grid g(x, y, z);
        EXPECT_EQ(Fill26(g.bytes.data(), g.dims(), Pack(0, 0, 0), 5), int64_t(x) * y * z);
        EXPECT_EQ(g.Count(5), x * y * z);
    }
}

// ---- out of memory
std::string gMessage;
uint32_t* NoStack(size_t) {
    return nullptr;
}
void NoRelease(uint32_t*) {}
void Record(const char* message) {
    gMessage = message;
}

struct NoMemory {
    NoMemory() { SetFillStackAllocator(NoStack, NoRelease); }
    ~NoMemory() { SetFillStackAllocator(nullptr, nullptr); }
};

TEST(FloodFillOutOfMemory, HandlerGetsTheMessageAndTheVolumeStays) {
    NoMemory noMemory;
    const OutOfMemoryHandler previous = SetOutOfMemoryHandler(Record);
    Grid g(3, 3, 3);
    g.at(1, 1, 1) = 1;
    const std::vector<uint8_t> before = g.bytes;
    EXPECT_EQ(Fill26(g.bytes.data(), g.dims(), Pack(1, 1, 1), 255), -1);
    SetOutOfMemoryHandler(previous);
    EXPECT_EQ(gMessage, msg::kOutOfMemoryTerminate);
    EXPECT_EQ(g.bytes, before);
}

TEST(FloodFillOutOfMemoryDeathTest, DefaultEndsTheProgramWithCode1) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto fill = [] {
        NoMemory noMemory;
        Grid g(3, 3, 3);
        Fill6(g.bytes.data(), g.dims(), Pack(0, 0, 0), 1);
    };
    EXPECT_EXIT(fill(), ::testing::ExitedWithCode(1),
                "Error - out of memory. Application must terminate");
}

// ---- ExtractVoi
TEST(ExtractVoi, CopiesOneTissueWithOrWithoutFrame) {
    const VolumeDims d{6, 5, 4};
    std::vector<uint8_t> labels(d.voxels(), 0);
    labels[d.index(2, 1, 1)] = White;
    labels[d.index(3, 3, 2)] = SelectedWhite;
    labels[d.index(4, 2, 2)] = Csf;
    const uint32_t dims = Pack(6, 5, 4);
    for (bool pad : {false, true}) {
        SCOPED_TRACE(pad);
        auto r =
            ExtractVoi(labels.data(), dims, Pack(0, 0, 0), Pack(5, 4, 3), pad, true, 0x70, 0x10);
        ASSERT_TRUE(r);
        // shrunk to x 2..4, y 1..3, z 1..2 (the CSF voxel counts for the box, not the copy)
        const int32_t p = pad ? 2 : 0;
        EXPECT_EQ(r->nx(), 3 + p);
        EXPECT_EQ(r->ny(), 3 + p);
        EXPECT_EQ(r->nz(), 2 + p);
        EXPECT_EQ(r->origin, Pack(2, 1, 1));
        auto at = [&](int32_t x, int32_t y, int32_t z) {
            const int32_t s = -r->shift();
            const int32_t i = x - 2 + s, j = y - 1 + s, k = z - 1 + s;
            return r->bytes[size_t(i + r->nx() * (j + r->ny() * k))];
        };
        EXPECT_EQ(at(2, 1, 1), 1);
        EXPECT_EQ(at(3, 3, 2), 1);
        EXPECT_EQ(at(4, 2, 2), 0);
        EXPECT_EQ(std::count(r->bytes.begin(), r->bytes.end(), 1), 2);
    }
}

TEST(ExtractVoi, EmptyShrunkBoxGivesThreeCubedAtTheLowCorner) {
    const VolumeDims d{8, 8, 8};
    std::vector<uint8_t> labels(d.voxels(), 0);
    labels[d.index(7, 7, 7)] = White;  // outside the box
    auto r = ExtractVoi(labels.data(), Pack(8, 8, 8), Pack(1, 2, 3), Pack(5, 5, 5), true, true,
                        0x70, 0x10);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->dims, Pack(3, 3, 3));
    EXPECT_EQ(r->origin, Pack(1, 2, 3));
    EXPECT_EQ(r->bytes, std::vector<uint8_t>(27, 0));
}

TEST(ExtractVoi, ExtentLimitIs1020) {
    struct Case {
        int32_t width;
        bool shrink;
        bool ok;
    };
    for (const Case& c : {Case{1020, true, true}, Case{1021, true, false}, Case{1020, false, true},
                          Case{1021, false, false}}) {
        SCOPED_TRACE(c.width);
        const VolumeDims d{1023, 1, 1};
        std::vector<uint8_t> labels(d.voxels(), 0);
        labels[0] = White;
        labels[size_t(c.width - 1)] = White;
        auto r = ExtractVoi(labels.data(), Pack(1023, 1, 1), Pack(0, 0, 0),
                            Pack(uint32_t(c.shrink ? 1022 : c.width - 1), 0, 0), true, c.shrink,
                            0x70, 0x10);
        EXPECT_EQ(bool(r), c.ok);
        if (r) {
            EXPECT_EQ(r->nx(), c.width + 2);
        }
    }
}

// ---- Ctrl+click selection
class Selection : public ::testing::Test {
  protected:
    // Two white bars along x in a 9x5x5 volume, joined only through x = 8.
    void SetUp() override {
        doc.StartNewProject({}, {9, 5, 5});
        std::vector<uint8_t> labels(doc.dims().voxels(), 0);
        for (int32_t x = 0; x < 9; ++x) {
            labels[doc.dims().index(x, 1, 2)] = White;
            labels[doc.dims().index(x, 3, 2)] = White;
        }
        labels[doc.dims().index(8, 2, 2)] = White;
        labels[doc.dims().index(4, 2, 0)] = Csf;
        doc.InstallClassification(labels);
        doc.SetClassificationChanged(false);
    }
    int Selected() const {
        return int(
            std::count(doc.classification().begin(), doc.classification().end(), SelectedWhite));
    }
    CSulcanDoc doc;
    testing::ScriptedUi ui;
};

TEST_F(Selection, SelectsTheComponentAndStopsAtTheVoi) {
    SelectConnected(doc, ui, 0, 1, 2, VoiBox::Whole(doc.dims()), true);
    EXPECT_EQ(Selected(), 19);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{msg::kSelectingWhite});
    EXPECT_EQ(ui.noticeDepth(), 0);
    EXPECT_FALSE(doc.ClassificationChanged());

    SelectConnected(doc, ui, 0, 1, 2, VoiBox::Whole(doc.dims()), false);
    EXPECT_EQ(Selected(), 0);
    // without x = 8 the bars are apart: only the clicked one is selected
    const VoiBox voi{0, 0, 0, 7, 4, 4};
    SelectConnected(doc, ui, 0, 1, 2, voi, true);
    EXPECT_EQ(Selected(), 8);
    EXPECT_EQ(doc.classification()[doc.dims().index(0, 3, 2)], White);
    EXPECT_EQ(doc.classification()[doc.dims().index(8, 1, 2)], White);
}

TEST_F(Selection, DeselectClearsOnlyTheClickedComponent) {
    const VoiBox voi{0, 0, 0, 7, 4, 4};
    SelectConnected(doc, ui, 0, 1, 2, VoiBox::Whole(doc.dims()), true);
    SelectConnected(doc, ui, 2, 3, 2, voi, false);
    EXPECT_EQ(Selected(), 19 - 8);
    EXPECT_EQ(ui.notices().back(), msg::kDeselectingWhite);
    EXPECT_EQ(doc.classification()[doc.dims().index(2, 1, 2)], SelectedWhite);
}

TEST_F(Selection, CsfUnknownAndOutsideTheVoiDoNothing) {
    const std::vector<uint8_t> before = doc.classification();
    const VoiBox voi{0, 0, 0, 7, 4, 4};
    SelectConnected(doc, ui, 4, 2, 0, voi, true);  // CSF
    SelectConnected(doc, ui, 4, 0, 0, voi, true);  // unknown
    SelectConnected(doc, ui, 8, 1, 2, voi, true);  // white outside the VOI
    SelectConnected(doc, ui, -1, 1, 2, VoiBox{-5, 0, 0, 7, 4, 4}, true);
    EXPECT_EQ(doc.classification(), before);
    EXPECT_TRUE(ui.notices().empty());
}

TEST_F(Selection, FailedExtractionShowsTheError) {
    CSulcanDoc wide;
    wide.StartNewProject({}, {1023, 1, 1});
    std::vector<uint8_t> labels(1023, White);
    wide.InstallClassification(labels);
    ui.Expect(msg::kErrorExtractingVoi, Answer::Ok);
    EXPECT_EQ(SelectConnectedWhite(wide, ui, 5, 0, 0, VoiBox::Whole(wide.dims()), true), -1);
    EXPECT_EQ(wide.classification(), labels);
    EXPECT_EQ(ui.prompts().at(0).icon, Icon::Exclamation);
}

}  // namespace
}  // namespace sulcan
