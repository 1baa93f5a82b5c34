// The "MR Classify" dialog on a phantom: preview, a region drag, the screenshot, and the two
// endings of "Apply + Exit" and Cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <memory>

#include "platform/testing/ScriptedUi.h"
#include "slices/SliceViewModel.h"
#include "slices/qt/CClassifyDialog.h"
#include "tests/gui/gui_support.h"
#include "tests/support/slice_view_fakes.h"
#include "volume/phantom.h"

namespace sulcan {
namespace {

// A 64^3 phantom document with one view at zoom 3 on its centre.
class ClassifyDialogGui : public ::testing::Test {
  protected:
    ClassifyDialogGui() {
        PhantomOptions o;
        o.size = 64;
        Phantom phantom = MakePhantom(o);
        doc.StartNewProject(phantom.anatomy, phantom.dims);
        view = std::make_unique<SliceViewModel>(doc, ui, drawing, prefs, host);
        view->Initialise(nullptr, nullptr);
    }
    static QPushButton* Button(QWidget* dialog, const QString& text) {
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }
    static void Mouse(QWidget* w, QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }

    CSulcanDoc doc;
    testing::ScriptedUi ui;
    SliceDrawing drawing;
    testing::ViewPreferences prefs{{3, 3, 3}};
    testing::RecordingViewHost host;
    std::unique_ptr<SliceViewModel> view;
};

TEST_F(ClassifyDialogGui, PreviewThenApplyAndExit) {
    ClassifyDialogModel model(*view, drawing, ui, {}, false);
    bool disabledDuringApply = false;
    int applies = 0;
    testing::WhenModalShown([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "MR Classify");
        // towards the left edge, where the phantom shows every tissue
        dialog->findChild<QSpinBox*>("Blue")->setValue(12);
        EXPECT_EQ(model.centre()[0], 12);
        for (QCheckBox* box : dialog->findChildren<QCheckBox*>())
            if (box->text() == "Overlay CSF") box->setChecked(true);
        EXPECT_TRUE(model.overlayCsf());
        ASSERT_NE(Button(dialog, "Preview"), nullptr);
        Button(dialog, "Preview")->click();
        EXPECT_TRUE(model.hasPreview());
        dialog->findChild<QScrollBar*>("Confidence")->setValue(90);
        EXPECT_EQ(model.value(kSliderConfidence), 90);

        // a drag over the upper preview offers its average for a slider
        ui.Press("White");
        QWidget* upper = dialog->findChild<QWidget*>("UpperPreview");
        ASSERT_NE(upper, nullptr);
        const int expected = model.RegionAverage(30, 30, 45, 45);
        Mouse(upper, QEvent::MouseButtonPress, {30, 30});
        Mouse(upper, QEvent::MouseMove, {45, 45});
        Mouse(upper, QEvent::MouseButtonRelease, {45, 45});
        EXPECT_EQ(model.value(kSliderWhiteMean), expected);

        testing::SaveScreenshot(dialog, "classify_dialog");
        Button(dialog, "Apply + Exit")->click();
    });
    const bool applied = RunClassifyDialog(nullptr, model, [&] {
        ++applies;
        disabledDuringApply = !QApplication::activeModalWidget()->isEnabled();
        return true;
    });
    EXPECT_TRUE(applied);
    EXPECT_EQ(applies, 1);
    EXPECT_TRUE(disabledDuringApply);
    EXPECT_FLOAT_EQ(model.Values().confidence, 0.9f);
}

TEST_F(ClassifyDialogGui, FailedApplyStaysOpenAndCancelReturnsFalse) {
    ClassifyDialogModel model(*view, drawing, ui, {}, false);
    testing::WhenModalShown([&](QWidget* dialog) {
        Button(dialog, "Apply + Exit")->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->isEnabled());
        Button(dialog, "Cancel")->click();
    });
    EXPECT_FALSE(RunClassifyDialog(nullptr, model, [] { return false; }));
}

}  // namespace
}  // namespace sulcan
