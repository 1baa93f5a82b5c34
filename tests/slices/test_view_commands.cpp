// "Grow Gray Matter" as the slice view runs it: the contention question, the worker, the
// switches afterwards and the views told.
#include <gtest/gtest.h>

#include "platform/testing/ScriptedUi.h"
#include "slices/view_commands.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {
namespace {

struct CountingView : DocumentObserver {
    int edits = 0;
    void OnDocumentChanged(int code) override { edits += code == kChangeClassEdited; }
};

class GrowCommand : public ::testing::Test {
  protected:
    GrowCommand() {
        doc.StartNewProject({}, {8, 8, 8});
        doc.classificationData()[doc.dims().index(4, 4, 4)] = White;
        doc.AddObserver(&view);
    }
    ~GrowCommand() override { doc.RemoveObserver(&view); }
    int GrayVoxels() const {
        int n = 0;
        for (uint8_t l : doc.classification()) n += TissueOf(l) == Gray;
        return n;
    }
    // Runs the task on this thread, as the console does, and answers `result`.
    WorkerRunner Runner(WorkerResult result) {
        return [this, result](WorkerTask& task) {
            ++runs;
            title = task.title;
            task.entry(task);
            return result;
        };
    }
    CSulcanDoc doc;
    testing::ScriptedUi ui;
    CountingView view;
    int runs = 0;
    std::string title;
};

TEST_F(GrowCommand, GrowsWithoutAQuestionWhileBothChecksAreOn) {
    EXPECT_TRUE(GrowGrayMatterCommand(doc, ui, doc.GetVoi(), 2, Runner(WorkerResult::Ok)));
    EXPECT_EQ(title, "Growing 2 gray matter layers");
    EXPECT_EQ(GrayVoxels(), 6 + 18);  // the six faces, then the next shell of face neighbours
    EXPECT_EQ(view.edits, 1);
    EXPECT_TRUE(ui.prompts().empty());
}

TEST_F(GrowCommand, AsksWhenACheckIsOffAndSwitchesThemOnAfterARun) {
    doc.grayContention = false;
    ui.Expect("Warning: Contention settings are:\n\nWhite contention: ON\nGray contention: "
              "OFF\n\nOk to continue?",
              Answer::Cancel);
    EXPECT_FALSE(GrowGrayMatterCommand(doc, ui, doc.GetVoi(), 1, Runner(WorkerResult::Ok)));
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(doc.grayContention);

    ui.Reply(Answer::Ok);
    EXPECT_TRUE(GrowGrayMatterCommand(doc, ui, doc.GetVoi(), 1, Runner(WorkerResult::Ok)));
    EXPECT_TRUE(doc.whiteContention && doc.grayContention);

    // a cancelled run keeps the switches as the user set them
    doc.whiteContention = false;
    ui.Reply(Answer::Ok);
    GrowGrayMatterCommand(doc, ui, doc.GetVoi(), 1, Runner(WorkerResult::Cancel));
    EXPECT_FALSE(doc.whiteContention);
}

}  // namespace
}  // namespace sulcan
