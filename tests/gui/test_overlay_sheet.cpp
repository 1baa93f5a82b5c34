#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "project/qt/COverlaySheet.h"
#include "tests/gui/gui_support.h"
#include "tests/support/temp_dir.h"

namespace sulcan {
namespace {

using testing::TempDir;

QStringList Items(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

class OverlaySheetWidget : public ::testing::Test {
  protected:
    OverlaySheetWidget() : locations(profile) {
        settings.SetProjectPath(dir / "brain.qxp");
        for (const char* name : {"left_roi.txt", "right_roi.txt", "motor.txt", "new.txt"})
            testing::WriteWholeFile(dir / name, "1\n255 0 0\n1 1 1 1\n");
        settings.AddListEntry(OverlayList::Roi, dir / "left_roi.txt");
        settings.AddListEntry(OverlayList::Roi, dir / "right_roi.txt");
        settings.SetListEnabled(OverlayList::Roi, 1, 0);
        settings.AddListEntry(OverlayList::Roi, dir / "old/visual_cortex_roi.txt");
        settings.AddListEntry(OverlayList::Functional, dir / "motor.txt");
    }
    TempDir dir;
    ProjectSettings settings;
    MemoryProfile profile;
    FileLocations locations;
    testing::ScriptedUi ui;
};

TEST_F(OverlaySheetWidget, ShowsThePagesAndForwardsEveryAction) {
    OverlaySheetModel model(settings, locations, ui);
    COverlaySheet sheet(model);
    EXPECT_EQ(sheet.windowTitle(), "Overlay file lists");
    ASSERT_EQ(sheet.tabs()->count(), 3);
    EXPECT_EQ(sheet.tabs()->tabText(0), "ROIs");
    EXPECT_EQ(sheet.tabs()->tabText(1), "Functionals");
    EXPECT_EQ(sheet.tabs()->tabText(2), "Cuts");
    EXPECT_EQ(sheet.closeButton()->text(), "Close");

    CFileListPage* rois = sheet.page(0);
    EXPECT_EQ(Items(rois->list()), (QStringList{"Yes\tleft_roi.txt", "No\tright_roi.txt",
                                                "Not found\told/visual_cortex_roi.txt"}));
    EXPECT_FALSE(sheet.page(2)->removeButton()->isEnabled());
    EXPECT_FALSE(sheet.page(2)->toggleButton()->isEnabled());
    EXPECT_EQ(Items(sheet.page(2)->list()), QStringList{"\t(No files selected)"});
    testing::SaveScreenshot(&sheet, "overlay_sheet");

    emit rois->list()->itemDoubleClicked(rois->list()->item(1));
    EXPECT_EQ(rois->list()->item(1)->text(), "Yes\tright_roi.txt");
    rois->list()->setCurrentRow(0);
    rois->removeButton()->click();
    EXPECT_EQ(settings.ListCount(OverlayList::Roi), 2);
    EXPECT_TRUE(model.changed());

    ui.ChooseFileAs(dir / "new.txt");
    sheet.page(2)->addButton()->click();
    EXPECT_EQ(Items(sheet.page(2)->list()), QStringList{"Yes\tnew.txt"});
    EXPECT_TRUE(sheet.page(2)->removeButton()->isEnabled());

    testing::WhenModalShown(
        [](QWidget* w) { static_cast<COverlaySheet*>(w)->closeButton()->click(); });
    EXPECT_EQ(sheet.exec(), QDialog::Accepted);
}

}  // namespace
}  // namespace sulcan
