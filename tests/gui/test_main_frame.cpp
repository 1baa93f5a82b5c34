#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include "app/project_messages.h"
#include "app/qt/CMainFrame.h"
#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "slices/qt/CChildFrame.h"
#include "tests/gui/gui_support.h"
#include "tests/support/temp_dir.h"
#include "volume/anatomy_file.h"
#include "volume/phantom.h"

namespace sulcan {
namespace {

class MainFrameTest : public ::testing::Test {
protected:
    MainFrameTest() : app({}, profile), frame(app, &ui) {
        PhantomOptions o;
        o.size = 64;
        Phantom p = MakePhantom(o);
        WriteAnatomyFile(dir / "brain.dat", p.anatomy.data(), p.dims, VoiBox::Whole(p.dims));
        frame.show();
    }
    void Trigger(const char* text) {
        QAction* a = frame.Action(text);
        ASSERT_NE(a, nullptr) << text;
        ASSERT_TRUE(a->isEnabled()) << text;
        a->trigger();
        QApplication::processEvents();
    }
    // Screenshot and close the modal dialog the next action opens.
    void CloseNextDialog(const std::string& screenshot) {
        testing::WhenModalShown([screenshot](QWidget* w) {
            testing::SaveScreenshot(w, screenshot);
            if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
        });
    }
    int SliceWindows() {
        int frames = 0;
        for (QMdiSubWindow* w : frame.findChild<QMdiArea*>()->subWindowList())
            frames += dynamic_cast<CChildFrame*>(w) != nullptr;
        return frames;
    }

    testing::TempDir dir;
    MemoryProfile profile;
    CSulcanApp app;
    testing::ScriptedUi ui;
    CMainFrame frame;
};

TEST_F(MainFrameTest, NewProjectOpensAViewAndTheProjectMenus) {
    EXPECT_EQ(frame.Action("&Save project"), nullptr);  // no project: menu without it
    testing::SaveScreenshot(&frame, "main_window_no_project");
    ui.ChooseFileAs(dir / "brain.qxp").ChooseFileAs(dir / "brain.dat");
    Trigger("&New project");
    ASSERT_NE(frame.session().project(), nullptr);
    EXPECT_EQ(SliceWindows(), 1);
    EXPECT_NE(frame.Action("&Save project"), nullptr);
    EXPECT_NE(frame.Action("Loa&d"), nullptr);
    EXPECT_EQ(frame.Action("E&xit\tAlt+X")->shortcut(), QKeySequence("Alt+X"));
    QApplication::processEvents();
    testing::SaveScreenshot(&frame, "main_window_project");

    CloseNextDialog("project_files_dialog");
    Trigger("List pro&ject files");
    CloseNextDialog("about_dialog");
    Trigger("&About Sulcan...");

    ui.Expect(msg::kSaveProjectSettings, Answer::Yes);
    Trigger("&Close project");
    EXPECT_EQ(frame.session().project(), nullptr);
    EXPECT_EQ(SliceWindows(), 0);

    // The recent entry brings it back.
    Trigger(("&1 " + dir / "brain.qxp").c_str());
    ASSERT_NE(frame.session().project(), nullptr);
    EXPECT_EQ(SliceWindows(), 1);
    frame.session().CloseProject(false);
}

TEST_F(MainFrameTest, ClosingTheLastViewClosesTheProjectWhenTheUserAgrees) {
    ui.ChooseFileAs(dir / "b2.qxp").ChooseFileAs(dir / "brain.dat");
    Trigger("&New project");
    ASSERT_EQ(SliceWindows(), 1);
    ui.Expect(msg::kSaveProjectSettings, Answer::Cancel);
    frame.findChild<QMdiArea*>()->subWindowList().front()->close();
    QApplication::processEvents();
    EXPECT_EQ(SliceWindows(), 1);
    EXPECT_NE(frame.session().project(), nullptr);
    ui.Expect(msg::kSaveProjectSettings, Answer::No);
    frame.findChild<QMdiArea*>()->subWindowList().front()->close();
    QApplication::processEvents();
    EXPECT_EQ(frame.session().project(), nullptr);
}

}  // namespace
}  // namespace sulcan
