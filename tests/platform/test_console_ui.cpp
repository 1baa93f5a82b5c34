#include <gtest/gtest.h>

#include <sstream>

#include "platform/console/ConsoleUi.h"

namespace sulcan {
namespace {

TEST(ConsoleUi, PrintsMessagesAndAnswersFromTheCommandLine) {
    std::ostringstream err;
    ConsoleUi ui({"yes", "resize classification", "/tmp/x.dat"}, err);
    EXPECT_EQ(ui.Message("Done", "Save", Buttons::Ok, Icon::None), Answer::Ok);
    EXPECT_EQ(ui.Message("Save changes?", "", Buttons::YesNoCancel, Icon::Question), Answer::Yes);
    Question q{"Anatomy file size mismatch", {"different"},
               {"Empty Classification", "Resize Classification", "Cancel"}};
    EXPECT_EQ(ui.Ask(q), 1);
    EXPECT_EQ(ui.ChooseFile({})->path, "/tmp/x.dat");
    EXPECT_EQ(err.str().substr(0, 11), "Save: Done\n");
    EXPECT_NE(err.str().find("Sulcan: Save changes? -> Yes"), std::string::npos);
}

TEST(ConsoleUi, AQuestionWithoutAnAnswerFailsTheCommand) {
    std::ostringstream err;
    ConsoleUi ui({"maybe"}, err);
    EXPECT_THROW(ui.Message("Continue?", "", Buttons::YesNo, Icon::Question), UnansweredQuestion);
    try {
        ui.Message("Continue?", "", Buttons::YesNo, Icon::Question);
        FAIL();
    } catch (const UnansweredQuestion& q) {
        EXPECT_NE(std::string(q.what()).find("--answer Yes|No"), std::string::npos);
    }
}

}  // namespace
}  // namespace sulcan
