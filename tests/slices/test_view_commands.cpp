// The slice view's long commands: "Grow Gray Matter" (the contention question, the worker, the
// switches afterwards, the views told) and the classification's "Apply + Exit".
#include <gtest/gtest.h>

#include "platform/testing/ScriptedUi.h"
#include <optional>

#include "slices/view_commands.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {
namespace {

struct CountingView : DocumentObserver {
    int edits = 0;
    void OnDocumentChanged(int code) override { edits += code == kChangeClassEdited; }
};

class ViewCommands : public ::testing::Test {
  protected:
    ViewCommands() {
        doc.StartNewProject({}, {8, 8, 8});
        doc.classificationData()[doc.dims().index(4, 4, 4)] = White;
        doc.AddObserver(&view);
    }
    ~ViewCommands() override { doc.RemoveObserver(&view); }
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

TEST_F(ViewCommands, GrowsWithoutAQuestionWhileBothChecksAreOn) {
    EXPECT_TRUE(GrowGrayMatterCommand(doc, ui, doc.GetVoi(), 2, Runner(WorkerResult::Ok)));
    EXPECT_EQ(title, "Growing 2 gray matter layers");
    EXPECT_EQ(GrayVoxels(), 6 + 18);  // the six faces, then the next shell of face neighbours
    EXPECT_EQ(view.edits, 1);
    EXPECT_TRUE(ui.prompts().empty());
}

TEST_F(ViewCommands, AsksWhenACheckIsOffAndSwitchesThemOnAfterARun) {
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

TEST_F(ViewCommands, AnAppliedClassificationIsCommittedStoredAndToldACancelledOneIsNot) {
    // anatomy: bright (white) in the lower half of x, dark (CSF) in the upper half
    std::vector<uint8_t> anatomy(doc.dims().voxels());
    for (size_t i = 0; i < anatomy.size(); ++i) anatomy[i] = (i % 8) < 4 ? 60 : 35;
    doc.InstallAnatomy(anatomy, doc.dims());
    ClassificationParameters p;
    p.smoothness = 0;
    p.confidence = 0.5f;
    const std::vector<uint8_t> before = doc.classification();
    std::optional<ClassificationRegistryValues> stored;
    const auto store = [&](const ClassificationRegistryValues& v) { stored = v; };

    EXPECT_FALSE(ApplyClassification(doc, ui, doc.GetVoi(), p, {}, false,
                                     Runner(WorkerResult::Cancel), store));
    EXPECT_EQ(doc.classification(), before);
    EXPECT_FALSE(stored);
    EXPECT_EQ(view.edits, 0);

    EXPECT_TRUE(ApplyClassification(doc, ui, doc.GetVoi(), p, {true, false, true}, false,
                                    Runner(WorkerResult::Ok), store));
    EXPECT_EQ(title, "Applying classification");
    EXPECT_EQ(doc.classification()[doc.dims().index(1, 2, 3)], White);
    EXPECT_EQ(doc.classification()[doc.dims().index(6, 2, 3)], Csf);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->confidence, 50);
    EXPECT_EQ(stored->classify3D, 1);
    EXPECT_EQ(doc.settings().classification().smoothness, 0);
    EXPECT_FLOAT_EQ(doc.settings().classification().confidence, 0.5f);
    EXPECT_EQ(view.edits, 1);
}

}  // namespace
}  // namespace sulcan
