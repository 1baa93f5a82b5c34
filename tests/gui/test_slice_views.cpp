#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <filesystem>

#include "app/project_messages.h"
#include "app/qt/CMainFrame.h"
#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "slices/image_export.h"
#include "slices/qt/CChildFrame.h"
#include "slices/qt/CSulcanView.h"
#include "slices/qt/CToolFrame.h"
#include "slices/qt/CToolPanel.h"
#include "tests/gui/gui_support.h"
#include "tests/support/temp_dir.h"
#include "volume/anatomy_file.h"
#include "volume/phantom.h"

namespace sulcan {
namespace {

constexpr int kSize = 64;
constexpr int kZoom = 3;

// A main frame with a phantom project open: its true labels installed, one view at zoom 3.
class SliceViewsTest : public ::testing::Test {
  protected:
    SliceViewsTest() : app({}, profile), frame(app, &ui) {
        PhantomOptions o;
        o.size = kSize;
        phantom = MakePhantom(o);
        WriteAnatomyFile(dir / "brain.dat", phantom.anatomy.data(), phantom.dims,
                         VoiBox::Whole(phantom.dims));
        frame.resize(1200, 900);
        frame.show();
        ui.ChooseFileAs(dir / "brain.qxp").ChooseFileAs(dir / "brain.dat");
        Trigger("&New project");
        doc().InstallClassification(phantom.labels);
        doc().UpdateAllViews(kChangeVolumesReplaced);
        View().model().SetZoom(kZoom, kZoom, kZoom);
        QApplication::processEvents();
    }
    CSulcanDoc& doc() { return *frame.session().project(); }
    void Trigger(QAction* a, const QString& what) {
        ASSERT_NE(a, nullptr) << what.toStdString();
        ASSERT_TRUE(a->isEnabled()) << what.toStdString();
        a->trigger();
        QApplication::processEvents();
    }
    void Trigger(const QString& text) { Trigger(frame.Action(text), text); }
    void Trigger(const QString& menu, const QString& text) {
        Trigger(frame.Action(menu, text), text);
    }
    std::vector<CChildFrame*> Frames() {
        std::vector<CChildFrame*> frames;
        for (QMdiSubWindow* w :
             frame.findChild<QMdiArea*>()->subWindowList(QMdiArea::CreationOrder))
            if (auto* f = dynamic_cast<CChildFrame*>(w)) frames.push_back(f);
        return frames;
    }
    CSulcanView& View(size_t i = 0) { return *Frames().at(i)->view(); }
    // Viewport position of the middle of picture pixel (column, row) of the first view.
    QPoint At(int column, int row) {
        const ScrollPosition s = View().Scroll();
        return {column * kZoom - s.x + kZoom / 2, row * kZoom - s.y + kZoom / 2};
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons down,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* viewport = View().viewport();
        QMouseEvent e(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), button, down,
                      modifiers);
        QApplication::sendEvent(viewport, &e);
    }
    void Click(QPoint at, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, at, button, button, modifiers);
        Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton, modifiers);
    }
    uint8_t Label(int x, int y, int z) {
        return doc().classification()[doc().dims().index(x, y, z)];
    }

    testing::TempDir dir;
    MemoryProfile profile;
    CSulcanApp app;
    testing::ScriptedUi ui;
    CMainFrame frame;
    Phantom phantom;
};

TEST_F(SliceViewsTest, OrientationCommandsSwitchTheViewAndShowTheirChecks) {
    Trigger("Show", "&White\tCtrl+W");
    Trigger("Show", "&Gray\tCtrl+G");
    Trigger("Show", "&CSF\tCtrl+C");
    const struct {
        const char* command;
        int orientation;
        const char* screenshot;
    } cases[] = {{"&Green (Axial)", 1, "slice_view_axial"},
                 {"&Blue (Coronal)", 2, "slice_view_coronal"},
                 {"&Red (Sagittal)", 0, "slice_view_sagittal"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Trigger("Orientation", c.command);
        EXPECT_EQ(View().model().orientation(), c.orientation);
        EXPECT_TRUE(frame.Action("Orientation", c.command)->isChecked());
        // The whole picture is shown and the frame cannot grow beyond it.
        EXPECT_EQ(View().viewport()->size(), QSize(kSize * kZoom, kSize * kZoom));
        EXPECT_EQ(Frames()[0]->maximumSize(), View().FullFrameSize());
        testing::SaveScreenshot(&frame, c.screenshot);
    }
    EXPECT_TRUE(frame.Action("Show", "&Gray\tCtrl+G")->isChecked());
    Trigger("Orientation", "&Toggle\tCtrl+O");
    EXPECT_EQ(View().model().orientation(), 1);
    const int slice = View().model().slice();
    Trigger("Next\t+");
    EXPECT_EQ(View().model().slice(), slice + 1);
    EXPECT_EQ(frame.Action("Next\t+")->shortcuts().size(), 2);
}

TEST_F(SliceViewsTest, PaintingAndSelectingWithTheMouse) {
    Trigger("Edit Mode", "&White");
    Trigger("Edit size", "&3 pixels square\tCtrl+3");
    const int z = View().model().slice();
    ASSERT_EQ(Label(3, 3, z), Unknown);
    // A drag from (3, 3) to (6, 3) paints a 3-row band of white over the background.
    Mouse(QEvent::MouseButtonPress, At(3, 3), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, At(6, 3), Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, At(6, 3), Qt::LeftButton, Qt::NoButton);
    for (int x = 2; x <= 7; ++x)
        for (int y = 2; y <= 4; ++y) EXPECT_EQ(Label(x, y, z), White) << x << "," << y;
    EXPECT_EQ(Label(8, 3, z), Unknown);
    EXPECT_EQ(Label(3, 5, z), Unknown);
    EXPECT_EQ(View().model().dragState(), kDragIdle);

    // Ctrl+left on the phantom's white matter selects it.
    const int c = kSize / 2;
    ASSERT_EQ(Label(c, c, z), White);
    Click(At(c, c), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Label(c, c, z), SelectedWhite);
    EXPECT_EQ(Label(3, 3, z), White);  // not connected to it
    Trigger("De&select", "&White");
    EXPECT_EQ(Label(c, c, z), White);
}

TEST_F(SliceViewsTest, RightDragMovesTheVoiEdgeInEditModeNone) {
    Trigger("Show", "&VOI crossbars\tCtrl+V");
    ASSERT_EQ(View().model().editMode(), 3);
    ASSERT_EQ(doc().GetVoi().xmin, 0);
    Mouse(QEvent::MouseButtonPress, At(1, 20), Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseMove, At(10, 20), Qt::NoButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, At(10, 20), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(doc().GetVoi().xmin, 10);
    EXPECT_EQ(doc().GetVoi().xmax, kSize - 1);
    EXPECT_EQ(View().model().voi().xmin, 10);
}

TEST_F(SliceViewsTest, SecondViewPairAndClosingThroughTheToolWindow) {
    Trigger("Ne&w Slice View");
    ASSERT_EQ(Frames().size(), 2u);
    CToolFrame* second = Frames()[1]->toolFrame();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->windowTitle(), "Tools:2");
    EXPECT_EQ(View(1).model().zoom(), View(0).model().zoom());
    testing::SaveScreenshot(&frame, "slice_views_two_pairs");

    second->close();
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_EQ(Frames().size(), 1u);
    EXPECT_EQ(Frames()[0]->toolFrame()->windowTitle(), "Tools");

    // The only tool window asks to close the project, as its frame does.
    ui.Expect(msg::kSaveProjectSettings, Answer::Cancel);
    Frames()[0]->toolFrame()->close();
    QApplication::processEvents();
    ASSERT_EQ(Frames().size(), 1u);
    ui.Expect(msg::kSaveProjectSettings, Answer::No);
    Frames()[0]->toolFrame()->close();
    QApplication::processEvents();
    EXPECT_EQ(frame.session().project(), nullptr);
    EXPECT_TRUE(Frames().empty());
}

TEST_F(SliceViewsTest, FrameAndToolWindowBehaveAsAPair) {
    CChildFrame* f = Frames()[0];
    CToolFrame* tool = f->toolFrame();
    f->resize(f->size() - QSize(60, 60));
    f->showMaximized();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_FALSE(f->isMaximized());
    EXPECT_EQ(f->size(), View().FullFrameSize());

    f->showMinimized();
    QApplication::processEvents();
    EXPECT_TRUE(tool->isMinimized());
    f->showNormal();
    QApplication::processEvents();
    EXPECT_FALSE(tool->isMinimized());

    const SliceViewRecord r = f->Record();
    EXPECT_EQ(r.words[SliceViewRecord::kFramePlacement], 44);
    EXPECT_EQ(r.words[SliceViewRecord::kToolPlacement], 44);
    EXPECT_EQ(PlacementRect(&r.words[SliceViewRecord::kToolPlacement])->width(), tool->width());
    EXPECT_EQ(r.words[SliceViewRecord::kZoomY], kZoom);
}

TEST_F(SliceViewsTest, DialogsAndTiffExportActOnTheActiveView) {
    // "Lock" starts ticked for equal factors, so one box sets all three.
    testing::WhenModalShown([](QWidget* w) {
        testing::SaveScreenshot(w, "zoom_dialog");
        w->findChildren<QSpinBox*>().front()->setValue(5);
        qobject_cast<QDialog*>(w)->accept();
    });
    Trigger("&Zoom\tCtrl+Z");
    EXPECT_EQ(View().model().zoom(), (std::array<int, 3>{5, 5, 5}));
    EXPECT_EQ(profile.GetInt(kSettingsSection, setting::kZoomz, 0), 5);

    testing::WhenModalShown([](QWidget* w) {
        w->findChild<QSlider*>("Brightness")->setValue(80);
        testing::SaveScreenshot(w, "greyscale_dialog");
        qobject_cast<QDialog*>(w)->accept();
    });
    Trigger("Set &Greyscale");
    EXPECT_EQ(profile.GetInt(kSettingsSection, setting::kBrightness, 0), 80);

    ui.ChooseFileAs(dir / "slice.tif");
    Trigger(msg::tiff::kCommand);
    EXPECT_TRUE(std::filesystem::exists(dir / "slice.tif"));
}

TEST_F(SliceViewsTest, SavedProjectRestoresTheViewPair) {
    Trigger("Orientation", "&Blue (Coronal)");
    Trigger("Show", "&VOI crossbars\tCtrl+V");
    Frames()[0]->toolFrame()->move(40, 30);
    ui.Expect(msg::kSaveComplete);
    Trigger("&Save project");
    frame.session().CloseProject(false);
    ASSERT_EQ(frame.session().project(), nullptr);

    Trigger(("&1 " + dir / "brain.qxp").c_str());
    ASSERT_EQ(Frames().size(), 1u);
    EXPECT_EQ(View().model().orientation(), 2);
    EXPECT_TRUE(View().model().Switch(ViewSwitch::VoiCrossbars));
    EXPECT_EQ(View().model().zoom()[0], kZoom);
    EXPECT_EQ(Frames()[0]->toolFrame()->pos(), QPoint(40, 30));
}

TEST_F(SliceViewsTest, AnimationStepsTheSlicesUntilStopped) {
    const int slice = View().model().slice();
    Trigger("&Animate\tCtrl+A");
    EXPECT_TRUE(frame.Action("&Animate\tCtrl+A")->isChecked());
    QElapsedTimer clock;
    clock.start();
    while (View().model().slice() == slice && clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_NE(View().model().slice(), slice);
    Trigger("&Animate\tCtrl+A");
    EXPECT_FALSE(View().model().animating());
    EXPECT_EQ(View().model().slice(), slice);
}

TEST_F(SliceViewsTest, TypedCoordinateIsClampedIntoTheVolume) {
    CToolPanel* panel = Frames()[0]->toolFrame()->panel();
    StepSpinBox* x = panel->CoordinateBox(0);
    x->setFocus();
    x->findChild<QLineEdit*>()->setText("5000");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(x, &enter);
    QApplication::processEvents();
    EXPECT_EQ(View().model().point()[0], kSize - 1);
    EXPECT_EQ(x->value(), kSize - 1);
    EXPECT_EQ(x->text(), QString::number(kSize - 1));
    x->stepBy(-2);
    EXPECT_EQ(View().model().point()[0], kSize - 3);
    EXPECT_EQ(x->value(), kSize - 3);
    testing::SaveScreenshot(Frames()[0]->toolFrame(), "slice_tool_window");
}

// The gray matter road: grow layers from the phantom's white matter in the worker dialog,
// Ctrl+click one sheet, save it as a gray graph file.
TEST_F(SliceViewsTest, GrowGrayMatterThenSelectASheetAndSaveIt) {
    Trigger("&Delete", "All &Gray");  // the phantom's own gray ribbon out of the way
    Trigger("Show", "&Gray\tCtrl+G");
    testing::WhenModalShown([](QWidget* dialog) {
        QElapsedTimer clock;
        clock.start();
        QPushButton* close = nullptr;
        while (clock.elapsed() < 10000) {  // the growth dialog stays open until closed
            for (QPushButton* b : dialog->findChildren<QPushButton*>())
                if (b->text() == "Close" && b->isEnabled()) close = b;
            if (close) break;
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        ASSERT_NE(close, nullptr);
        testing::SaveScreenshot(dialog, "grow_gray_dialog");
        close->click();
    });
    Trigger("&Slices", "&Grow Gray Matter");
    ASSERT_NE(doc().grayGraph(), nullptr);
    int gray = 0;
    for (uint8_t l : doc().classification()) gray += TissueOf(l) == Gray;
    EXPECT_GT(gray, 0);
    testing::SaveScreenshot(&frame, "gray_layers_grown");

    // Ctrl+click the first gray voxel along the view's middle row.
    const int y = View().model().point()[1], z = View().model().slice();
    int x = 0;
    while (x < kSize && TissueOf(Label(x, y, z)) != Gray) ++x;
    ASSERT_LT(x, kSize);
    Click(At(x, y), Qt::LeftButton, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(Label(x, y, z), SelectedGray);
    EXPECT_TRUE(doc().anySelectedGray());
    testing::SaveScreenshot(&frame, "gray_sheet_selected");

    const std::string file = dir / "sheet.gray";
    ui.ChooseFileAs(file).Reply(Answer::Ok);  // the "... nodes saved to" notice
    testing::WhenModalShown([](QWidget*) {}, 10000);  // the save dialog closes by itself
    for (QMenu* m : frame.menuBar()->findChildren<QMenu*>())
        if (m->title() == "&File") emit m->aboutToShow();  // enabling follows the selection
    Trigger("Save selected &gray");
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(doc().settings().FileName(ProjectFile::GrayGraph, true), file);
}

// "&Classify White && CSF" on the phantom: the dialog previews, "Apply + Exit" classifies the
// VOI behind the progress dialog and the view shows the result.
TEST_F(SliceViewsTest, ClassifyingFromTheViewAppliesAndShowsTheResult) {
    doc().ClearClassification();
    Trigger("Show", "&White\tCtrl+W");
    testing::WhenModalShown([](QWidget* dialog) {
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == "Preview") b->click();
        QApplication::processEvents();
        testing::SaveScreenshot(dialog, "classify_dialog_from_view");
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == "Apply + Exit") b->click();
    }, 10000);
    Trigger("&Slices", "&Classify White && CSF");
    int white = 0;
    for (uint8_t l : doc().classification()) white += TissueOf(l) == White;
    EXPECT_GT(white, 0);
    EXPECT_EQ(profile.GetInt(kSettingsSection, setting::kConfidence, -1), 70);
    testing::SaveScreenshot(&frame, "classified_view");
}

}  // namespace
}  // namespace sulcan
