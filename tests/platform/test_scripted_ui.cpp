#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"

namespace sulcan {
namespace {

using testing::ScriptedUi;

TEST(ScriptedUi, AnswersFromTheQueueAndRecordsEachPrompt) {
    ScriptedUi ui;
    ui.Expect("Save changes?", Answer::No).ChooseFileAs("/a/b.dat", 1).Press("Resize Classification");
    EXPECT_EQ(ui.Message("Save changes?", "Sulcan", Buttons::YesNoCancel, Icon::Question), Answer::No);
    FileRequest r;
    r.title = "Select new volume anatomy file";
    auto f = ui.ChooseFile(r);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->path, "/a/b.dat");
    EXPECT_EQ(f->filterIndex, 1);
    Question q{"Anatomy file size mismatch", {"line 1", "line 2"},
               {"Empty Classification", "Resize Classification", "Cancel"}, 1, 2};
    EXPECT_EQ(ui.Ask(q), 1);
    ASSERT_EQ(ui.prompts().size(), 3u);
    EXPECT_EQ(ui.prompts()[1].caption, "Select new volume anatomy file");
    EXPECT_EQ(ui.prompts()[2].text, "line 1\nline 2");
    EXPECT_TRUE(ui.allAnswered());
}

TEST(ScriptedUi, CancelledChoosersReturnNothing) {
    ScriptedUi ui;
    ui.CancelFile().CancelFolder().CancelColour();
    EXPECT_FALSE(ui.ChooseFile({}));
    EXPECT_FALSE(ui.ChooseFolder("t", "/"));
    EXPECT_FALSE(ui.ChooseColour({1, 2, 3}));
}

TEST(ScriptedUi, FailsTheTestOnPromptsNobodyExpected) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi ui;
            ui.Message("surprise", "", Buttons::Ok, Icon::None);
        },
        "unexpected message box: \"surprise\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi ui;
            ui.Expect("one text");
            ui.Message("another text", "", Buttons::Ok, Icon::None);
        },
        "another text");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi ui;
            ui.ChooseFileAs("/x");
            ui.Message("a box", "", Buttons::Ok, Icon::None);
        },
        "expected a file dialog but got a message box");
    EXPECT_NONFATAL_FAILURE({ ScriptedUi ui; ui.Reply(Answer::Yes); }, "left unused");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi ui;
            ui.Reply(Answer::Yes);
            ui.Message("ok only", "", Buttons::Ok, Icon::None);
        },
        "is not a button");
}

TEST(MemoryProfile, KeepsValuesBySectionAndName) {
    MemoryProfile p;
    EXPECT_EQ(p.GetInt("Settings", "Zoom", 7), 7);
    p.SetInt("Settings", "Zoom", 3);
    p.SetString("Settings", "AnatomyPath", "/data");
    EXPECT_EQ(p.GetInt("Settings", "Zoom", 7), 3);
    EXPECT_EQ(p.GetInt("Other", "Zoom", 7), 7);
    EXPECT_EQ(p.GetString("Settings", "AnatomyPath", ""), "/data");
    EXPECT_EQ(p.writes(), 2);
}

TEST(ParseFilter, SplitsDescriptionsAndPatterns) {
    auto f = ParseFilter("Sulcan project files (*.qxp)|*.qxp|All files (*.*)|*.*||");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].first, "Sulcan project files (*.qxp)");
    EXPECT_EQ(f[1].second, "*.*");
    EXPECT_TRUE(ParseFilter("").empty());
}

}  // namespace
}  // namespace sulcan
