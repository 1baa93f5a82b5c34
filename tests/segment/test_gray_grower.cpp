#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/format.h"
#include "platform/testing/ScriptedUi.h"
#include "segment/gray_grower.h"
#include "segment/messages.h"
#include "segment/select_connected.h"
#include "volume/CSulcanDoc.h"
#include "worker/WorkerTask.h"

namespace sulcan {
namespace {

struct RecordingSink : WorkerSink {
    void Post(WorkerPost post) override {
        if (onPost) onPost(post);
        posts.push_back(std::move(post));
    }
    std::string Log() const {
        std::string log;
        for (const auto& p : posts)
            if (p.message == WM_WORKER_TEXT) log += p.text;
        return log;
    }
    std::vector<int> Progress() const {
        std::vector<int> out;
        for (const auto& p : posts)
            if (p.message == WM_WORKER_PROGRESS) out.push_back(p.value);
        return out;
    }
    std::function<void(const WorkerPost&)> onPost;
    std::vector<WorkerPost> posts;
};

class GrayGrowing : public ::testing::Test {
  public:
    void SetUp() override { doc.StartNewProject({}, {16, 16, 16}); }
    uint8_t& at(int32_t x, int32_t y, int32_t z) {
        return doc.classificationData()[doc.dims().index(x, y, z)];
    }
    void Fill(const VoiBox& b, uint8_t label) {
        for (int32_t z = b.zmin; z <= b.zmax; ++z)
            for (int32_t y = b.ymin; y <= b.ymax; ++y)
                for (int32_t x = b.xmin; x <= b.xmax; ++x) at(x, y, z) = label;
    }
    void WhiteBall(int32_t cx, int32_t cy, int32_t cz, int32_t r) {
        const VolumeDims& d = doc.dims();
        for (int32_t z = 0; z < d.z; ++z)
            for (int32_t y = 0; y < d.y; ++y)
                for (int32_t x = 0; x < d.x; ++x)
                    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) + (z - cz) * (z - cz) <= r * r)
                        at(x, y, z) = White;
    }
    GrowResult Grow(int layers, const VoiBox& voi, WorkerTask* task = nullptr) {
        return GrowGrayMatter(doc, ui, voi, layers, task);
    }
    GrowResult Grow(int layers) { return Grow(layers, VoiBox::Whole(doc.dims())); }
    const GrayGraph& graph() { return *doc.grayGraph(); }
    // Layer of the node at the voxel, 0 when none.
    int LayerAt(int32_t x, int32_t y, int32_t z) {
        const int32_t i = graph().NodeAt(x, y, z);
        return i < 0 ? 0 : graph().nodes[size_t(i)].layer;
    }
    int64_t Count(const std::function<bool(uint8_t)>& pred) {
        return std::count_if(doc.classification().begin(), doc.classification().end(), pred);
    }
    int MaxLayer() {
        int m = 0;
        for (const GrayNode& n : graph().nodes) m = std::max(m, n.layer);
        return m;
    }
    CSulcanDoc doc;
    testing::ScriptedUi ui;
};

// Every invariant a grown graph keeps.
void ExpectWellFormed(const GrayGraph& g) {
    for (int32_t i = 0; i < g.nodeCount(); ++i) {
        const GrayNode& n = g.nodes[size_t(i)];
        SCOPED_TRACE(::testing::Message() << "node " << i << " at " << n.x << "," << n.y << ","
                                          << n.z << " layer " << n.layer);
        EXPECT_EQ(g.NodeAt(n.x, n.y, n.z), i);
        EXPECT_EQ(TissueOf(g.LabelOf(n)), Gray);
        if (i > 0) {
            const GrayNode& p = g.nodes[size_t(i - 1)];
            EXPECT_LT(std::tie(p.layer, p.z, p.y, p.x), std::tie(n.layer, n.z, n.y, n.x));
        }
        const auto list = g.Neighbours(i);
        EXPECT_EQ(std::set<int32_t>(list.begin(), list.end()).size(), list.size()) << "duplicate";
        bool linkedBelow = n.layer == 1;
        for (int32_t j : list) {
            const GrayNode& m = g.nodes[size_t(j)];
            EXPECT_NE(j, i);
            EXPECT_TRUE(g.Linked(j, i)) << "one-sided edge to " << j;
            EXPECT_LE(std::max({std::abs(m.x - n.x), std::abs(m.y - n.y), std::abs(m.z - n.z)}), 1);
            EXPECT_LE(std::abs(m.layer - n.layer), 1);
            linkedBelow |= m.layer == n.layer - 1;
        }
        EXPECT_TRUE(linkedBelow) << "no edge to the layer below";
        if (n.layer > 1) {
            EXPECT_EQ(n.whiteFaces, 0);
        }
    }
}

TEST_F(GrayGrowing, NothingGrowsWithoutAnUnknownFaceNeighbourInsideTheVoi) {
    struct Case {
        const char* name;
        std::function<void(GrayGrowing&)> setUp;
        VoiBox voi;
    };
    const Case cases[] = {
        {"white walled in by CSF",
         [](GrayGrowing& t) {
             t.Fill({4, 4, 4, 8, 8, 8}, Csf);
             t.at(6, 6, 6) = White;
         },
         VoiBox{0, 0, 0, 15, 15, 15}},
        {"VOI is the white voxel", [](GrayGrowing& t) { t.at(6, 6, 6) = White; },
         VoiBox{6, 6, 6, 6, 6, 6}},
        {"no white at all", [](GrayGrowing&) {}, VoiBox{0, 0, 0, 15, 15, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.ClearClassification();
        c.setUp(*this);
        EXPECT_EQ(Grow(3, c.voi), GrowResult::Grown);
        ASSERT_TRUE(doc.grayGraph());
        EXPECT_EQ(graph().nodeCount(), 0);
        EXPECT_EQ(Count([](uint8_t v) { return TissueOf(v) == Gray || v == GrayCandidate; }), 0);
        EXPECT_TRUE(doc.GrayChanged());
    }
}

TEST_F(GrayGrowing, WhiteContentionRefusesAOneVoxelGapAcrossWhiteMatter) {
    struct Case {
        const char* name;
        bool contention;
        bool whiteBeside;  // white next to the gap on another axis
        int gapLayer;      // expected layer of the gap voxel, 0 not grown
    };
    const Case cases[] = {
        {"on", true, false, 0},
        {"off", false, false, 1},
        {"on, white beside the gap", true, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.ClearClassification();
        at(4, 5, 5) = White;
        at(6, 5, 5) = White;
        if (c.whiteBeside) at(5, 5, 6) = White;
        doc.whiteContention = c.contention;
        ASSERT_EQ(Grow(1), GrowResult::Grown);
        EXPECT_EQ(LayerAt(5, 5, 5), c.gapLayer);
        EXPECT_EQ(at(5, 5, 5), c.gapLayer ? Gray : Unknown);
        EXPECT_EQ(LayerAt(3, 5, 5), 1);  // the outer faces grow either way
        EXPECT_EQ(LayerAt(7, 5, 5), 1);
    }
}

TEST_F(GrayGrowing, GrayContentionRefusesAVoxelBetweenTwoSheets) {
    // Two white planes x = 2 and x = 6: layer 1 at x = 1, 3, 5, 7; x = 4 would join both.
    const VoiBox voi{1, 2, 2, 7, 4, 4};
    for (bool contention : {true, false}) {
        SCOPED_TRACE(contention);
        doc.ClearClassification();
        Fill({2, 2, 2, 2, 4, 4}, White);
        Fill({6, 2, 2, 6, 4, 4}, White);
        doc.grayContention = contention;
        ASSERT_EQ(Grow(3, voi), GrowResult::Grown);
        EXPECT_EQ(LayerAt(3, 3, 3), 1);
        EXPECT_EQ(LayerAt(5, 3, 3), 1);
        EXPECT_EQ(LayerAt(4, 3, 3), contention ? 0 : 2);
        ExpectWellFormed(graph());
    }
}

TEST_F(GrayGrowing, LayersStopAtTheRequestedCountOrWhenNothingIsLeft) {
    struct Case {
        int asked;
        VoiBox voi;
        int layers;
    };
    // white plane x = 1; inside x 0..4 there is room for layers 1 (x 0, 2), 2 (x 3), 3 (x 4)
    const Case cases[] = {
        {1, {0, 0, 0, 15, 15, 15}, 1},
        {2, {0, 0, 0, 15, 15, 15}, 2},
        {8, {0, 3, 3, 4, 5, 5}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        doc.ClearClassification();
        Fill({1, 0, 0, 1, 15, 15}, White);
        ASSERT_EQ(Grow(c.asked, c.voi), GrowResult::Grown);
        EXPECT_EQ(MaxLayer(), c.layers);
        for (const GrayNode& n : graph().nodes)
            EXPECT_EQ(n.layer, n.x == 0 || n.x == 2 ? 1 : n.x - 1);
        ExpectWellFormed(graph());
    }
}

TEST_F(GrayGrowing, CsfAndVoxelsOutsideTheVoiAreNeverGrownInto) {
    WhiteBall(8, 8, 8, 2);
    Fill({11, 0, 0, 11, 15, 15}, Csf);
    const VoiBox voi{0, 0, 0, 15, 15, 10};
    ASSERT_EQ(Grow(6, voi), GrowResult::Grown);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t z = 0; z < 16; ++z) EXPECT_EQ(at(11, y, z), Csf);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) EXPECT_EQ(at(x, y, 11), x == 11 ? Csf : Unknown);
    EXPECT_EQ(Count([](uint8_t v) { return v == Gray; }), graph().nodeCount());
    EXPECT_EQ(MaxLayer(), 6);
    ExpectWellFormed(graph());
}

TEST_F(GrayGrowing, LayerOneNeighboursAreLinkedWhenTheyRestOnOneWhiteSurface) {
    const GrayGrower grower;
    ASSERT_TRUE(grower.tablesAvailable());
    const HalfNeighbour& alongX = kHalfNeighbourhood[0];
    EXPECT_TRUE(LayerOneLinked(grower.tables(), alongX, kFacePlusY, kFacePlusY));
    EXPECT_FALSE(LayerOneLinked(grower.tables(), alongX, kFaceMinusX, kFacePlusX));

    // The same two cases grown: a row on white at +y, and a pair between white at both ends.
    Fill({3, 6, 5, 6, 6, 5}, White);
    ASSERT_EQ(Grow(1, {3, 5, 5, 6, 6, 5}), GrowResult::Grown);
    ASSERT_EQ(graph().nodeCount(), 4);
    for (int32_t i = 0; i < 3; ++i) EXPECT_TRUE(graph().Linked(i, i + 1)) << i;

    doc.ClearClassification();
    at(3, 5, 5) = White;
    at(6, 5, 5) = White;
    ASSERT_EQ(Grow(3, {3, 5, 5, 6, 5, 5}), GrowResult::Grown);
    ASSERT_EQ(graph().nodeCount(), 2);
    EXPECT_EQ(graph().nodes[0].whiteFaces, kFaceMinusX);
    EXPECT_EQ(graph().nodes[1].whiteFaces, kFacePlusX);
    EXPECT_FALSE(graph().Linked(0, 1));
}

// Bits of the face directions a step points along.
uint8_t FaceBits(int dx, int dy, int dz) {
    uint8_t m = 0;
    for (const FaceStep& s : kFaceSteps)
        if ((s.dx && s.dx == dx) || (s.dy && s.dy == dy) || (s.dz && s.dz == dz)) m |= s.bit;
    return m;
}

TEST(GrayTables, RotationsTurnEveryDirectionOntoTheBaseDirectionOfItsTable) {
    const GrayGrower grower;
    const GrayTables& t = grower.tables();
    const uint8_t base[3] = {FaceBits(1, 0, 0), FaceBits(1, 0, 1), FaceBits(1, 1, 1)};
    for (const HalfNeighbour& h : kHalfNeighbourhood) {
        SCOPED_TRACE(::testing::Message() << h.dx << "," << h.dy << "," << h.dz);
        // from the node indexed first to the one indexed second
        const int s = h.swapped ? -1 : 1;
        const uint8_t direction = FaceBits(s * h.dx, s * h.dy, s * h.dz);
        const uint8_t turned =
            h.rotation ? t.rotation[size_t(h.rotation - 1)][direction] : direction;
        EXPECT_EQ(turned, base[h.table]);
    }
    for (int n = 0; n < 5; ++n) {
        std::set<uint8_t> images(t.rotation[size_t(n)].begin(), t.rotation[size_t(n)].end());
        EXPECT_EQ(images.size(), 64u) << "R" << n + 1 << " is not a permutation";
        for (int k = 0; k < 6; ++k)  // one bit goes to one bit
            EXPECT_EQ(t.rotation[size_t(n)][size_t(1 << kRotationSource[n][k])], 1 << k);
    }
}

TEST(GrayTables, TablesFollowTheSheetMasksAndTheirExclusions) {
    const GrayTables& t = GrayGrower().tables();
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            SCOPED_TRACE(::testing::Message() << a << "," << b);
            bool f = false, e = false, v = false;
            for (int l = 0; l < 6; ++l) {
                if (!(a >> l & 1)) continue;
                f |= (b & kSheetA[l]) != 0;
                e |= (b & kSheetB[l]) != 0;
                v |= (b & kSheetC[l]) != 0;
            }
            EXPECT_EQ(t.face[a][b], f);
            if ((a & kFacePlusZ) && (b & kFacePlusX))
                EXPECT_FALSE(t.edge[a][b]);
            else
                EXPECT_EQ(t.edge[a][b], e);
            const bool opposite = ((a & kFacePlusY) && (b & kFaceMinusY)) ||
                                  ((a & kFacePlusX) && (b & kFaceMinusX)) ||
                                  ((a & kFacePlusZ) && (b & kFaceMinusZ));
            EXPECT_EQ(t.corner[a][b], !opposite && v);
        }
    EXPECT_TRUE(t.face[1][1]);
    EXPECT_FALSE(t.face[8][2]);
}

// The selected nodes are exactly one component: connected through edges among themselves,
// and with no edge leaving them.
void ExpectOneSelectedComponent(const GrayGraph& g, int32_t start) {
    auto selected = [&](int32_t i) { return g.LabelOf(g.nodes[size_t(i)]) == SelectedGray; };
    std::vector<bool> seen(g.nodes.size());
    std::vector<int32_t> todo{start};
    seen[size_t(start)] = true;
    int64_t reached = 0;
    while (!todo.empty()) {
        const int32_t i = todo.back();
        todo.pop_back();
        ++reached;
        ASSERT_TRUE(selected(i)) << "a linked node kept its label: " << i;
        for (int32_t j : g.Neighbours(i))
            if (!seen[size_t(j)]) seen[size_t(j)] = true, todo.push_back(j);
    }
    int64_t total = 0;
    for (int32_t i = 0; i < g.nodeCount(); ++i) total += selected(i);
    EXPECT_EQ(reached, total) << "selected nodes outside the component";
}

TEST_F(GrayGrowing, SelectingMarksExactlyOneComponent) {
    WhiteBall(4, 4, 4, 1);
    WhiteBall(11, 11, 11, 1);
    ASSERT_EQ(Grow(2), GrowResult::Grown);
    const int64_t count = SelectGrayComponent(doc, ui, 4, 4, 6, true);
    EXPECT_GT(count, 0);
    EXPECT_EQ(Count([](uint8_t v) { return v == SelectedGray; }), count);
    ExpectOneSelectedComponent(graph(), graph().NodeAt(4, 4, 6));
    for (const GrayNode& n : graph().nodes)
        if (n.x > 8) {
            EXPECT_EQ(graph().LabelOf(n), Gray) << "the other ball";
        }
    // deselecting through Ctrl+click shows its notice and clears the document's flag
    SelectConnected(doc, ui, 4, 4, 6, VoiBox::Whole(doc.dims()), false);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{msg::kDeselectingGray});
    EXPECT_EQ(Count([](uint8_t v) { return v == SelectedGray; }), 0);
    EXPECT_FALSE(doc.anySelectedGray());
    SelectConnected(doc, ui, 11, 11, 13, VoiBox::Whole(doc.dims()), true);
    EXPECT_TRUE(doc.anySelectedGray());
    ExpectOneSelectedComponent(graph(), graph().NodeAt(11, 11, 13));

    // touching but unlinked: only the clicked node
    doc.ClearClassification();
    at(3, 14, 8) = White;
    at(6, 14, 8) = White;
    ASSERT_EQ(Grow(2, {3, 14, 8, 6, 14, 8}), GrowResult::Grown);
    EXPECT_EQ(SelectGrayComponent(doc, ui, 4, 14, 8, true), 1);
    EXPECT_EQ(at(4, 14, 8), SelectedGray);
    EXPECT_EQ(at(5, 14, 8), Gray);
}

TEST_F(GrayGrowing, CtrlClickOnGrayWithoutAGraphDoesNothing) {
    at(5, 5, 5) = Gray;
    SelectConnected(doc, ui, 5, 5, 5, VoiBox::Whole(doc.dims()), true);
    EXPECT_EQ(at(5, 5, 5), Gray);
    EXPECT_TRUE(ui.notices().empty());
    EXPECT_EQ(SelectGrayComponent(doc, ui, 5, 5, 5, true), 0);
}

TEST_F(GrayGrowing, MarkComponentRefusesEmptyGraphsAndEqualMarks) {
    ASSERT_EQ(Grow(1), GrowResult::Grown);  // no white: empty graph
    GrayGraph& g = *doc.grayGraph();
    EXPECT_EQ(MarkComponent(g, 0, 0, 1), -1);
    doc.ClearClassification();
    WhiteBall(8, 8, 8, 2);
    ASSERT_EQ(Grow(2), GrowResult::Grown);
    GrayGraph& h = *doc.grayGraph();
    EXPECT_EQ(MarkComponent(h, 0, 1, 1), -1);
    EXPECT_EQ(MarkComponent(h, 0, 1, 2), 0);  // start's mark is not 1
    const int64_t count = MarkComponent(h, 0, 0, 1);
    EXPECT_GT(count, 0);
    EXPECT_EQ(std::count_if(h.nodes.begin(), h.nodes.end(),
                            [](const GrayNode& n) { return n.mark == 1; }),
              count);
    EXPECT_EQ(MarkComponent(h, 0, 0, 1), 0);
}

TEST_F(GrayGrowing, LogAndProgressFollowTheLayers) {
    WhiteBall(8, 8, 8, 2);
    doc.grayContention = false;
    WorkerTask task;
    RecordingSink sink;
    task.Attach(sink);
    ASSERT_EQ(Grow(2, VoiBox::Whole(doc.dims()), &task), GrowResult::Grown);
    int perLayer[3] = {0, 0, 0};
    for (const GrayNode& n : graph().nodes) ++perLayer[n.layer];
    EXPECT_EQ(sink.Log(), std::string(msg::kGrowLogHead) + msg::kGrowLogWhiteOn +
                              msg::kGrowLogGrayOff + Format(msg::kLayerVoxels, perLayer[1], 1) +
                              msg::kConnectionsMade + Format(msg::kLayerVoxels, perLayer[2], 2) +
                              msg::kConnectionsMade);
    EXPECT_EQ(sink.Progress(), (std::vector<int>{24, 49, 74, 99}));
    EXPECT_EQ(sink.posts.back().message, WM_WORKER_FINISHED);
    ExpectWellFormed(graph());
}

TEST_F(GrayGrowing, CancelDuringLayerThreeLeavesNoGrayAndNoGraph) {
    WhiteBall(8, 8, 8, 2);
    at(0, 0, 0) = SelectedGray;  // an old selection goes too
    doc.SetAnySelectedGray(true);
    WorkerTask task;
    RecordingSink sink;
    task.Attach(sink);
    sink.onPost = [&](const WorkerPost& p) {
        if (p.text.find("in layer 3") != std::string::npos) task.cancelRequested = 1;
    };
    EXPECT_EQ(Grow(5, VoiBox::Whole(doc.dims()), &task), GrowResult::Cancelled);
    EXPECT_FALSE(doc.grayGraph());
    EXPECT_EQ(Count([](uint8_t v) { return TissueOf(v) == Gray || v == GrayCandidate; }), 0);
    EXPECT_NE(sink.Log().find(msg::kDeletingPartialGray), std::string::npos);
    EXPECT_EQ(sink.posts.back().message, WM_WORKER_CANCELLED);
    EXPECT_FALSE(doc.anySelectedGray());
}

TEST_F(GrayGrowing, WithoutTablesNothingIsGrownOrSelected) {
    WhiteBall(8, 8, 8, 2);
    const std::vector<uint8_t> before = doc.classification();
    const GrayGrower none(nullptr);
    ui.Expect(msg::kGrayUnavailable);
    EXPECT_EQ(GrowGrayMatter(doc, ui, VoiBox::Whole(doc.dims()), 3, nullptr, none),
              GrowResult::Unavailable);
    EXPECT_EQ(doc.classification(), before);
    EXPECT_FALSE(doc.grayGraph());
    ASSERT_EQ(Grow(1), GrowResult::Grown);
    ui.Expect(msg::kGrayUnavailable);
    EXPECT_EQ(SelectGrayComponent(doc, ui, 8, 8, 11, true, none), -1);
}

TEST_F(GrayGrowing, RegrowingReplacesTheGraphAndTheOldGray) {
    WhiteBall(8, 8, 8, 2);
    ASSERT_EQ(Grow(3), GrowResult::Grown);
    ASSERT_GT(SelectGrayComponent(doc, ui, 8, 8, 11, true), 0);
    doc.HasSelectedGray();
    const int32_t before = graph().nodeCount();
    ASSERT_EQ(Grow(1), GrowResult::Grown);
    EXPECT_FALSE(doc.anySelectedGray());
    EXPECT_LT(graph().nodeCount(), before);
    EXPECT_EQ(Count([](uint8_t v) { return TissueOf(v) == Gray; }), graph().nodeCount());
    EXPECT_EQ(MaxLayer(), 1);
}

TEST_F(GrayGrowing, TaskRecordRunsTheGrowth) {
    WhiteBall(8, 8, 8, 2);
    WorkerTask task;
    MakeGrowGrayTask(task, doc, ui, VoiBox::Whole(doc.dims()), 4);
    EXPECT_EQ(task.title, "Growing 4 gray matter layers");
    EXPECT_EQ(std::tie(task.showProgress, task.allowCancel, task.showLog, task.autoClose),
              std::make_tuple(1, 1, 1, 0));
    RecordingSink sink;
    task.Attach(sink);
    EXPECT_EQ(task.RunEntry(), 1u);
    EXPECT_EQ(MaxLayer(), 4);
}

}  // namespace
}  // namespace sulcan
