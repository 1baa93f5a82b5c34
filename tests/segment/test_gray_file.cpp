#include <gtest/gtest.h>

#include <array>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/MemoryProfile.h"
#include "platform/format.h"
#include "platform/testing/ScriptedUi.h"
#include "project/file_locations.h"
#include "segment/gray_file.h"
#include "segment/gray_graph.h"
#include "segment/gray_grower.h"
#include "segment/messages.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"
#include "volume/CSulcanDoc.h"
#include "worker/WorkerTask.h"

namespace sulcan {
namespace {

using testing::TempDir;

std::string BE(std::initializer_list<int32_t> values) {
    std::string out;
    for (int32_t v : values)
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char(uint32_t(v) >> shift));
    return out;
}

using Record = std::array<int32_t, 6>;  // x, y, z, edge count, first edge, layer

// A gray file built from the layout: header, records, edges (no trailer).
std::string GrayBytes(const std::vector<Record>& records, const std::vector<int32_t>& edges,
                      std::array<int32_t, 3> sizes = {8, 9, 10}) {
    std::string out =
        BE({sizes[0], sizes[1], sizes[2], int32_t(records.size()), int32_t(edges.size())});
    for (const Record& r : records) out += BE({r[0], r[1], r[2], r[3], r[4], r[5]});
    for (int32_t e : edges) out += BE({e});
    return out;
}

struct HandNode {
    int32_t x, y, z, layer;
    bool selected;
};

struct CountingSink : WorkerSink {
    void Post(WorkerPost post) override {
        if (onPost) onPost(post);
        posts.push_back(std::move(post));
    }
    std::function<void(const WorkerPost&)> onPost;
    std::vector<WorkerPost> posts;
};

class GrayFile : public ::testing::Test {
  protected:
    void SetUp() override { doc.StartNewProject({}, {8, 9, 10}); }
    // Installs a graph of the given nodes and edges (in link order) in the document.
    void MakeGraph(const std::vector<HandNode>& nodes,
                   const std::vector<std::pair<int32_t, int32_t>>& edges) {
        auto g = std::make_shared<GrayGraph>(doc.classificationData(), doc.dims());
        g->box = VoiBox::Whole(doc.dims());
        g->index.Reset(g->box);
        for (const HandNode& h : nodes) {
            GrayNode n;
            n.x = h.x, n.y = h.y, n.z = h.z, n.layer = h.layer;
            g->nodes.push_back(n);
            doc.classificationData()[doc.dims().index(h.x, h.y, h.z)] =
                h.selected ? SelectedGray : Gray;
        }
        g->index.Add(g->nodes, 0);
        for (auto [a, b] : edges) g->Link(a, b);
        doc.SetGrayGraph(g);
        doc.HasSelectedGray();
    }
    // A chain through the first `count` voxels of the volume (in x, y, z order), all selected.
    void MakeChain(size_t count = 720) {
        std::vector<HandNode> nodes;
        std::vector<std::pair<int32_t, int32_t>> edges;
        const VolumeDims& d = doc.dims();
        for (int32_t z = 0; z < d.z; ++z)
            for (int32_t y = 0; y < d.y; ++y)
                for (int32_t x = 0; x < d.x && nodes.size() < count; ++x) {
                    if (!nodes.empty())
                        edges.push_back({int32_t(nodes.size() - 1), int32_t(nodes.size())});
                    nodes.push_back({x, y, z, 1 + x % 3, true});
                }
        MakeGraph(nodes, edges);
    }
    std::string path() const { return dir / "g.gray"; }
    bool Exists() const { return std::filesystem::exists(path()); }

    CSulcanDoc doc;
    testing::ScriptedUi ui;
    TempDir dir;
};

TEST_F(GrayFile, SaveWritesTheSelectedNodesRenumberedWithTheirEdges) {
    struct Case {
        const char* name;
        std::vector<HandNode> nodes;
        std::vector<std::pair<int32_t, int32_t>> edges;
        std::vector<Record> records;
        std::vector<int32_t> entries;
    };
    const Case cases[] = {
        {"selected nodes without selected neighbours",
         {{1, 1, 1, 1, true}, {2, 1, 1, 1, false}, {3, 1, 1, 2, true}, {4, 1, 1, 2, false}},
         {{0, 1}, {2, 3}, {1, 2}},
         {{1, 1, 1, 0, 0, 1}, {3, 1, 1, 0, 0, 2}},
         {}},
        {"two nodes, one edge",
         {{5, 6, 7, 1, true}, {5, 7, 7, 2, true}},
         {{0, 1}},
         {{5, 6, 7, 1, 0, 1}, {5, 7, 7, 1, 1, 2}},
         {1, 0}},
        {"edges to unwritten nodes dropped, order of the neighbour lists kept",
         {{0, 0, 0, 1, false},
          {1, 0, 0, 1, true},
          {2, 0, 0, 1, true},
          {3, 0, 0, 2, true},
          {4, 0, 0, 2, false}},
         {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {1, 3}},
         {{1, 0, 0, 2, 0, 1}, {2, 0, 0, 2, 2, 1}, {3, 0, 0, 2, 4, 2}},
         {1, 2, 0, 2, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeGraph(c.nodes, c.edges);
        doc.SetGrayChanged(true);
        ui.Expect(Format(msg::kGrayNodesSaved, int(c.records.size()), path().c_str()),
                  msg::kSaveGrayCaption);
        const std::time_t before = std::time(nullptr);
        ASSERT_EQ(SaveSelectedGray(doc, ui, path(), nullptr), 1);
        EXPECT_FALSE(doc.GrayChanged());
        const std::string bytes = testing::ReadWholeFile(path());
        const std::string body = GrayBytes(c.records, c.entries);
        ASSERT_GE(bytes.size(), body.size());
        EXPECT_EQ(bytes.substr(0, body.size()), body);
        const std::string trailer = bytes.substr(body.size());
        ASSERT_FALSE(trailer.empty());
        EXPECT_EQ(trailer.back(), '\n');
        const long long stamp = std::stoll(trailer);
        EXPECT_GE(stamp, before);
        EXPECT_LE(stamp, std::time(nullptr));
        EXPECT_EQ(std::to_string(stamp) + "\n", trailer);
    }
}

TEST_F(GrayFile, SaveFailuresReportAndLeaveNoFile) {
    struct Case {
        const char* name;
        bool graph, selected;
        std::string path;
        const char* message;
    };
    const Case cases[] = {
        {"no graph", false, false, "", msg::kNoGrayToSave},
        {"nothing selected", true, false, "", msg::kNoGrayNodesSelected},
        {"folder missing", true, true, "/missing/g.gray", msg::kUnableToOpenOutput},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.ReleaseGrayGraph();
        if (c.graph) MakeGraph({{1, 1, 1, 1, c.selected}}, {});
        const std::string target = c.path.empty() ? path() : c.path;
        ui.Expect(c.message, msg::kSaveGrayCaption);
        EXPECT_EQ(SaveSelectedGray(doc, ui, target, nullptr), 0);
        EXPECT_FALSE(std::filesystem::exists(target));
    }
}

TEST_F(GrayFile, AWriteFailureAnywhereDeletesThePartFile) {
    MakeChain();  // 720 nodes: 17300 bytes of records, 5752 of edges
    const size_t whole = GrayBytes(std::vector<Record>(720), std::vector<int32_t>(1438)).size();
    for (rlim_t limit :
         {rlim_t(6), rlim_t(5000), rlim_t(20000), rlim_t(whole - 2), rlim_t(whole + 3)}) {
        SCOPED_TRACE(limit);
        ui.Expect(msg::kProblemSavingGray, msg::kSaveGrayCaption);
        testing::FileSizeLimit cap(limit);
        EXPECT_EQ(SaveSelectedGray(doc, ui, path(), nullptr), 0);
        EXPECT_FALSE(Exists());
    }
}

TEST_F(GrayFile, ACancelledSaveShowsNothingAndLeavesNoFile) {
    MakeChain();
    for (int at : {0, 10, 49, 75, 98}) {
        SCOPED_TRACE(at);
        WorkerTask task;
        CountingSink sink;
        task.Attach(sink);
        sink.onPost = [&](const WorkerPost& p) {
            if (p.message == WM_WORKER_PROGRESS && p.value >= at) task.cancelRequested = 1;
        };
        EXPECT_EQ(SaveSelectedGray(doc, ui, path(), &task), 0);
        EXPECT_FALSE(Exists());
        EXPECT_TRUE(ui.prompts().empty());
    }
}

TEST_F(GrayFile, TheSaveTaskReportsItsProgressAndEnds) {
    MakeChain();
    WorkerTask task;
    MakeSaveGrayTask(task, doc, ui, path());
    EXPECT_EQ(task.title, "Saving gray matter graph");
    EXPECT_EQ(std::tie(task.showProgress, task.allowCancel, task.showLog, task.autoClose),
              std::make_tuple(1, 1, 0, 1));
    CountingSink sink;
    task.Attach(sink);
    ui.Expect(Format(msg::kGrayNodesSaved, 720, path().c_str()), msg::kSaveGrayCaption);
    EXPECT_EQ(task.RunEntry(), 1u);
    std::vector<int> progress;
    for (const WorkerPost& p : sink.posts)
        if (p.message == WM_WORKER_PROGRESS) progress.push_back(p.value);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 99);
    EXPECT_NE(std::find(progress.begin(), progress.end(), 49), progress.end());
    EXPECT_EQ(sink.posts.back().message, WM_WORKER_FINISHED);
}

TEST_F(GrayFile, TheCommandProposesANameAndRemembersTheSavedPath) {
    MemoryProfile profile;
    FileLocations locations(profile);
    locations.SetLocation(dir.path(), kLocationGray, true);
    doc.settings().SetProjectPath(dir / "brain.qxp");
    const WorkerRunner run = [](WorkerTask& task) {
        CountingSink sink;
        task.Attach(sink);
        task.RunEntry();
        return sink.posts.back().message == WM_WORKER_FINISHED ? WorkerResult::Ok
                                                               : WorkerResult::Cancel;
    };
    MakeGraph({{1, 1, 1, 1, false}}, {});
    ui.Expect(msg::kNoGraySelectedHint);
    EXPECT_EQ(SaveSelectedGrayCommand(doc, ui, locations, run), 0);

    MakeGraph({{1, 1, 1, 1, true}}, {});
    ui.CancelFile();
    EXPECT_EQ(SaveSelectedGrayCommand(doc, ui, locations, run), 0);
    const FileRequest& asked = ui.prompts().back().file;
    EXPECT_EQ(asked.initialPath, dir / "brain.Gray");
    EXPECT_EQ(asked.filter, msg::kGrayFileFilter);
    EXPECT_TRUE(asked.askBeforeOverwrite);
    EXPECT_TRUE(asked.defaultExtension.empty());

    ui.ChooseFileAs(dir / "sheet.gray")
        .Expect(Format(msg::kGrayNodesSaved, 1, (dir / "sheet.gray").c_str()),
                msg::kSaveGrayCaption);
    EXPECT_EQ(SaveSelectedGrayCommand(doc, ui, locations, run), 1);
    EXPECT_EQ(doc.settings().FileName(ProjectFile::GrayGraph, true), dir / "sheet.gray");
    ui.CancelFile();
    SaveSelectedGrayCommand(doc, ui, locations, run);
    EXPECT_EQ(ui.prompts().back().file.initialPath, dir / "sheet.gray");
}

TEST_F(GrayFile, ReadingReturnsTheRecordsOfAValidFile) {
    const std::vector<Record> records = {{5, 6, 7, 1, 0, 1}, {5, 7, 7, 1, 1, 2}};
    testing::WriteWholeFile(path(), GrayBytes(records, {1, 0}, {300, 200, 100}) + "12345\n");
    const auto c = ReadGrayFile(path());
    ASSERT_TRUE(c);
    EXPECT_EQ(std::tie(c->xsize, c->ysize, c->zsize, c->nodeCount, c->edgeCount),
              std::make_tuple(300, 200, 100, 2, 2));
    EXPECT_EQ(c->nodes, (std::vector<GrayFileNode>{{5, 6, 7, 1, 0, 1}, {5, 7, 7, 1, 1, 2}}));
    EXPECT_EQ(c->edges, (std::vector<int32_t>{1, 0}));
    EXPECT_FALSE(ReadGrayFile(dir / "none.gray"));

    // Selected nodes whose neighbours were all left out: E = 0, and the nodes still read back.
    testing::WriteWholeFile(path(), GrayBytes({{1, 1, 1, 0, 0, 1}}, {}));
    const auto isolated = ReadGrayFile(path());
    ASSERT_TRUE(isolated);
    EXPECT_EQ(isolated->nodeCount, 1);
    EXPECT_TRUE(isolated->edges.empty());
}

TEST_F(GrayFile, ReadingRefusesInvalidFiles) {
    const Record ok = {1, 1, 1, 1, 0, 1};
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"first index 3, count 2, E = 4", GrayBytes({ok, {2, 1, 1, 2, 3, 1}}, {1, 0, 1, 0})},
        {"edge entry equal to N", GrayBytes({ok, {2, 1, 1, 1, 1, 1}}, {1, 2})},
        {"negative edge entry", GrayBytes({ok, {2, 1, 1, 1, 1, 1}}, {1, -1})},
        {"negative first index", GrayBytes({ok, {2, 1, 1, 1, -1, 1}}, {1, 0})},
        {"negative count", GrayBytes({ok, {2, 1, 1, -1, 1, 1}}, {1, 0})},
        {"no nodes", GrayBytes({}, {0})},
        {"node count beyond the file", BE({8, 9, 10, 0x7FFFFFFF, 2}) + GrayBytes({ok}, {0})},
        {"edge count beyond the file", BE({8, 9, 10, 1, 0x40000000}) + BE({1, 1, 1, 1, 0, 1, 0})},
        {"negative node count", BE({8, 9, 10, -2, 2}) + GrayBytes({ok}, {0})},
        {"short header", BE({8, 9, 10, 1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::WriteWholeFile(path(), c.bytes);
        EXPECT_FALSE(ReadGrayFile(path()));
    }
}

// A result of the reader that is safe to use: every record's edge range and every entry in it
// lie inside the lists.
void ExpectWellFormed(const GrayFileContents& c) {
    ASSERT_GT(c.nodeCount, 0);
    ASSERT_EQ(c.nodes.size(), size_t(c.nodeCount));
    ASSERT_EQ(c.edges.size(), size_t(c.edgeCount));
    for (const GrayFileNode& n : c.nodes) {
        ASSERT_GE(n.firstEdge, 0);
        ASSERT_GE(n.edgeCount, 0);
        ASSERT_LE(int64_t(n.firstEdge) + n.edgeCount, c.edgeCount);
        for (int32_t k = 0; k < n.edgeCount; ++k) {
            ASSERT_GE(c.edges[size_t(n.firstEdge + k)], 0);
            ASSERT_LT(c.edges[size_t(n.firstEdge + k)], c.nodeCount);
        }
    }
}

TEST_F(GrayFile, HostileFilesGiveNothingOrAWellFormedResult) {
    MakeChain(50);
    ui.Reply(Answer::Ok);
    ASSERT_EQ(SaveSelectedGray(doc, ui, path(), nullptr), 1);
    const std::string good = testing::ReadWholeFile(path());
    const size_t body = GrayBytes(std::vector<Record>(50), std::vector<int32_t>(98)).size();
    ASSERT_GT(good.size(), body);
    for (size_t n = 0; n < good.size(); ++n) {
        testing::WriteWholeFile(path(), good.substr(0, n));
        const auto c = ReadGrayFile(path());
        if (n < body) {
            EXPECT_FALSE(c) << "truncated at " << n;
        } else {
            ASSERT_TRUE(c) << "only the trailer cut at " << n;
            ExpectWellFormed(*c);
        }
    }
    std::mt19937 random(20261211);
    std::uniform_int_distribution<size_t> where(0, body - 1);
    std::uniform_int_distribution<int> flips(1, 4), byte(0, 255);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bad = good;
        // the header and the first records are where a flip hurts most: aim there half the time
        for (int k = flips(random); k > 0; --k) {
            const size_t at = round % 2 ? where(random) % 64 : where(random);
            bad[at] = char(bad[at] ^ char(1 + byte(random) % 255));
        }
        testing::WriteWholeFile(path(), bad);
        const auto c = ReadGrayFile(path());
        if (c) {
            ++accepted;
            ExpectWellFormed(*c);
        }
    }
    EXPECT_GT(accepted, 0);  // flips in coordinates and layers are still valid files
}

}  // namespace
}  // namespace sulcan
