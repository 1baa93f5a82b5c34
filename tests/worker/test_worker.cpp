#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "worker/WorkerDialogModel.h"
#include "worker/WorkerTask.h"

namespace sulcan {
namespace {

struct RecordingSink : WorkerSink {
    void Post(WorkerPost post) override { posts.push_back(std::move(post)); }
    std::vector<WorkerMessage> Messages() const {
        std::vector<WorkerMessage> out;
        for (const auto& p : posts) out.push_back(p.message);
        return out;
    }
    std::vector<WorkerPost> posts;
};

// A task wired to a recording sink, as the dialog would leave it after its start.
struct TaskFixture : ::testing::Test {
    TaskFixture() { task.Attach(sink); }
    WorkerTask task;
    RecordingSink sink;
};

using WorkerTaskTest = TaskFixture;

TEST_F(WorkerTaskTest, PostsArriveInOrderAndNothingAfterTheFinalMessage) {
    task.PostProgress(12);
    task.PostText("line\n");
    task.PostNoCancel();
    task.PostFinished();
    task.PostText("late\n");
    task.PostCancelled();
    ASSERT_EQ(sink.Messages(),
              (std::vector<WorkerMessage>{WM_WORKER_PROGRESS, WM_WORKER_TEXT, WM_WORKER_NOCANCEL,
                                          WM_WORKER_FINISHED}));
    EXPECT_EQ(sink.posts[0].value, 12);
    EXPECT_EQ(sink.posts[1].text, "line\n");
}

TEST_F(WorkerTaskTest, StagePercentMapsIntoTheStageRange) {
    struct Case {
        int low, high;
        long long done, total;
        int expected;
    } cases[] = {
        {9, 11, 50, 100, 10},
        {9, 11, 100, 100, 11},
        {20, 60, 9 * 3, 10 * 7, 35},
        {0, 99, 1, 7, 14},
        {5, 50, 200, 100, 50},
        {5, 50, -3, 100, 5},
        {5, 50, 1, 0, 5},
        {0, 99, 3000000000LL, 4000000000LL, 74},
    };
    for (const Case& c : cases) {
        task.SetStage(c.low, c.high);
        EXPECT_EQ(task.StagePercent(c.done, c.total), c.expected)
            << c.low << ".." << c.high << " " << c.done << "/" << c.total;
    }
    task.SetStage(40, 80);
    EXPECT_EQ(task.StagePercent(0.999), 79);  // truncated
    EXPECT_EQ(task.StagePercent(1.5), 80);
    EXPECT_EQ(task.StagePercent(-0.5), 40);
}

TEST_F(WorkerTaskTest, PostProgressIfChangedPostsOnlyChanges) {
    task.lastPostedPercent = 40;
    EXPECT_FALSE(task.PostProgressIfChanged(40));
    EXPECT_TRUE(task.PostProgressIfChanged(41));
    EXPECT_FALSE(task.PostProgressIfChanged(41));
    ASSERT_EQ(sink.posts.size(), 1u);
    EXPECT_EQ(sink.posts[0].value, 41);
    EXPECT_EQ(task.lastPostedPercent, 41);
}

TEST_F(WorkerTaskTest, RunEntryReportsAFaultyEntryAsCancelledWithALogLine) {
    struct Case {
        const char* name;
        std::function<unsigned(WorkerTask&)> entry;
        const char* logged;  // expected in the last text before the final message
    } cases[] = {
        {"throws mid-line",
         [](WorkerTask& t) -> unsigned {
             t.PostText("Smoothing");
             throw std::runtime_error("disk gone");
         },
         "\nError - the task stopped: disk gone\n"},
        {"bad_alloc", [](WorkerTask&) -> unsigned { throw std::bad_alloc(); }, "out of memory"},
        {"non-standard", [](WorkerTask&) -> unsigned { throw 7; }, "unknown error"},
        {"no final",
         [](WorkerTask& t) {
             t.PostProgress(3);
             return 1u;
         },
         "without reporting"},
    };
    for (auto& c : cases) {
        sink.posts.clear();
        task.Attach(sink);
        task.entry = c.entry;
        task.RunEntry();
        ASSERT_GE(sink.posts.size(), 2u) << c.name;
        EXPECT_EQ(sink.posts.back().message, WM_WORKER_CANCELLED) << c.name;
        const WorkerPost& text = sink.posts[sink.posts.size() - 2];
        EXPECT_EQ(text.message, WM_WORKER_TEXT) << c.name;
        EXPECT_NE(text.text.find(c.logged), std::string::npos) << c.name << ": " << text.text;
    }
}

TEST_F(WorkerTaskTest, RunEntryKeepsAGoodEndAndItsResult) {
    task.entry = [](WorkerTask& t) {
        t.PostFinished();
        throw std::runtime_error("after the end");  // the dialog may be gone: stay quiet
        return 5u;
    };
    task.RunEntry();
    EXPECT_EQ(sink.Messages(), std::vector<WorkerMessage>{WM_WORKER_FINISHED});

    sink.posts.clear();
    task.Attach(sink);  // a new run is not muted by the first one's end
    task.entry = [](WorkerTask& t) {
        t.PostCancelled();
        return 5u;
    };
    EXPECT_EQ(task.RunEntry(), 5u);
    EXPECT_EQ(sink.Messages(), std::vector<WorkerMessage>{WM_WORKER_CANCELLED});
}

// The dialog model on a task with chosen flags and a clock the test moves.
struct ModelFixture : ::testing::Test {
    // The model copies the title when it is made.
    struct TitledTask : WorkerTask {
        TitledTask() { title = "Growing 3 gray matter layers"; }
    };
    void Start(int progress, int cancel, int log, int autoClose) {
        task.showProgress = progress;
        task.allowCancel = cancel;
        task.showLog = log;
        task.autoClose = autoClose;
        model.Start(sink);
    }
    WorkerDialogChange Post(WorkerMessage m, int value = 0, std::string text = {}) {
        return model.Receive({m, value, std::move(text)});
    }
    int64_t now = 5000;
    TitledTask task;
    RecordingSink sink;
    WorkerDialogModel model{task, [this] { return now; }};
};

using WorkerDialogModelTest = ModelFixture;

void ExpectClose(const WorkerDialogChange& change, WorkerResult result, int delayMs) {
    ASSERT_TRUE(change.close);
    EXPECT_EQ(change.close->result, result);
    EXPECT_EQ(change.close->delayMs, delayMs);
}

TEST(WorkerDialogLayout, EachFlagCombinationHasItsResourceAndSize) {
    struct Case {
        int p, c, l, resource, width, height;
    } cases[] = {
        {1, 1, 1, 193, 249, 121}, {1, 1, 0, 185, 249, 28},  {1, 0, 1, 189, 249, 121},
        {1, 0, 0, 191, 196, 28},  {0, 1, 1, 188, 249, 121}, {0, 1, 0, 192, 179, 28},
        {0, 0, 1, 190, 249, 106}, {0, 0, 0, 186, 153, 0},
    };
    for (const Case& c : cases) {
        WorkerDialogLayout layout = WorkerDialogModel::LayoutFor(c.p, c.c, c.l);
        EXPECT_EQ(layout.resource, c.resource);
        EXPECT_EQ(layout.width, c.width) << c.resource;
        EXPECT_EQ(layout.height, c.height) << c.resource;
        EXPECT_EQ(layout.progress, c.p == 1) << c.resource;
        EXPECT_EQ(layout.cancel, c.c == 1) << c.resource;
        EXPECT_EQ(layout.logHeight, c.l ? 91 : 0) << c.resource;
    }
    EXPECT_EQ(WorkerDialogModel::LayoutFor(7, 2, 9).resource, 193);  // any non-zero is set
}

TEST_F(WorkerDialogModelTest, StartResetsTheTaskAndShowsZeroPercent) {
    task.cancelRequested = 1;
    task.lastPostedPercent = 77;
    EXPECT_EQ(model.windowTitle(), "worker thread dialog");
    Start(1, 1, 1, 0);
    EXPECT_EQ(model.windowTitle(), "Growing 3 gray matter layers");
    EXPECT_EQ(model.progress(), 0);
    EXPECT_EQ(model.percentText(), "0% Complete");
    EXPECT_EQ(task.cancelRequested, 0);
    EXPECT_EQ(task.lastPostedPercent, 0);
    EXPECT_EQ(task.dialogWindow, &sink);
    EXPECT_EQ(task.autoClose, 0);
    EXPECT_FALSE(Post(WM_WORKER_PROGRESS, 0).progress);  // 0 is already shown
}

TEST_F(WorkerDialogModelTest, WithoutCancelTheDialogAlwaysClosesByItself) {
    Start(1, 0, 1, 0);
    EXPECT_EQ(task.autoClose, 1);
    EXPECT_FALSE(model.PressCancel().close);  // Escape and the close box do nothing
    EXPECT_EQ(task.cancelRequested, 0);
    now += 2000;
    ExpectClose(Post(WM_WORKER_FINISHED), WorkerResult::Ok, 0);
}

TEST_F(WorkerDialogModelTest, PercentagesAreCappedAt99AndRepeatsIgnored) {
    Start(1, 1, 0, 1);
    struct Step {
        int posted;
        bool changed;
        int shown;
    } steps[] = {{150, true, 99}, {-1, false, 99}, {42, true, 42},   {42, false, 42},
                 {-1, true, 99},  {99, false, 99}, {100, false, 99}, {0, true, 0}};
    for (const Step& s : steps) {
        EXPECT_EQ(Post(WM_WORKER_PROGRESS, s.posted).progress, s.changed) << s.posted;
        EXPECT_EQ(model.progress(), s.shown) << s.posted;
        EXPECT_EQ(model.percentText(), std::to_string(s.shown) + "% Complete");
    }
}

TEST_F(WorkerDialogModelTest, ProgressWithoutABarAndTextWithoutALogAreDropped) {
    Start(0, 1, 0, 1);
    EXPECT_FALSE(Post(WM_WORKER_PROGRESS, 50).progress);
    EXPECT_FALSE(Post(WM_WORKER_TEXT, 0, "hello\n").log);
    EXPECT_EQ(model.log(), "");
    EXPECT_EQ(task.lastShownPercent, 101);
}

TEST_F(WorkerDialogModelTest, TextWithoutALineFeedContinuesWithTheNextText) {
    Start(1, 1, 1, 1);
    EXPECT_TRUE(Post(WM_WORKER_TEXT, 0, "Smoothing").log);
    Post(WM_WORKER_TEXT, 0, "... done\nDecimating");
    EXPECT_EQ(model.log(), "Smoothing... done\nDecimating");
    Post(WM_WORKER_TEXT, 0, " (2 passes)\r\n\nStripping\n");
    EXPECT_EQ(model.log(), "Smoothing... done\nDecimating (2 passes)\n\nStripping\n");
}

TEST_F(WorkerDialogModelTest, TitleSwingsOneToFiveFullStopsAndBack) {
    Start(1, 1, 1, 1);
    std::vector<size_t> dots;
    for (int tick = 0; tick < 12; ++tick) {
        model.Tick();
        dots.push_back(model.windowTitle().size() - task.title.size());
    }
    EXPECT_EQ(dots, (std::vector<size_t>{1, 2, 3, 4, 5, 4, 3, 2, 1, 0, 1, 2}));
    EXPECT_EQ(model.windowTitle(), task.title + "..");
}

TEST_F(WorkerDialogModelTest, ClosingByItselfWaitsForOneSecondOnScreen) {
    struct Case {
        WorkerMessage final;
        int elapsedMs;
        WorkerResult result;
        int delayMs;
    } cases[] = {
        {WM_WORKER_FINISHED, 10, WorkerResult::Ok, 990},
        {WM_WORKER_FINISHED, 1500, WorkerResult::Ok, 0},
        {WM_WORKER_CANCELLED, 0, WorkerResult::Cancel, 1000},
        {WM_WORKER_CANCELLED, 999, WorkerResult::Cancel, 1},
    };
    for (const Case& c : cases) {
        Start(1, 1, 1, 1);
        now += c.elapsedMs;
        SCOPED_TRACE(c.elapsedMs);
        ExpectClose(Post(c.final), c.result, c.delayMs);
        EXPECT_FALSE(Post(WM_WORKER_PROGRESS, 60).progress);  // nothing counts after the end
    }
}

TEST_F(WorkerDialogModelTest, CancelIsAcknowledgedOnceAndTheDialogWaitsForTheTask) {
    Start(1, 1, 1, 0);
    WorkerDialogChange first = model.PressCancel();
    EXPECT_TRUE(first.button && first.log);
    EXPECT_FALSE(first.close);
    EXPECT_FALSE(model.buttonEnabled());
    EXPECT_EQ(task.cancelRequested, 1);
    WorkerDialogChange second = model.PressCancel();  // Escape after the button
    EXPECT_FALSE(second.button || second.log || second.close);
    EXPECT_EQ(model.log(), "Cancel request acknowledged... please wait.\n");
    now += 300;
    ExpectClose(Post(WM_WORKER_CANCELLED), WorkerResult::Cancel, 700);
}

TEST_F(WorkerDialogModelTest, NoCancelDisablesTheButtonAndEscape) {
    Start(1, 1, 0, 1);
    EXPECT_TRUE(Post(WM_WORKER_NOCANCEL).button);
    EXPECT_FALSE(model.buttonEnabled());
    model.PressCancel();
    EXPECT_EQ(task.cancelRequested, 0);
    EXPECT_FALSE(Post(WM_WORKER_NOCANCEL).button);
}

TEST_F(WorkerDialogModelTest, WithoutAutoCloseTheFinishedDialogWaitsForClose) {
    Start(1, 1, 1, 0);
    Post(WM_WORKER_NOCANCEL);
    Post(WM_WORKER_TEXT, 0, "Done - 120 triangles\n");
    WorkerDialogChange finished = Post(WM_WORKER_FINISHED);
    EXPECT_FALSE(finished.close);
    EXPECT_TRUE(finished.button && finished.log);
    EXPECT_TRUE(model.finished());
    EXPECT_EQ(model.buttonText(), "Close");
    EXPECT_TRUE(model.buttonEnabled());
    EXPECT_EQ(model.log(), "Done - 120 triangles\nClick \"Close\" to dismiss\n");
    EXPECT_EQ(task.cancelRequested, 0);
    ExpectClose(model.PressCancel(), WorkerResult::Ok, 0);
    EXPECT_FALSE(model.PressCancel().close);  // already closing
}

}  // namespace
}  // namespace sulcan
