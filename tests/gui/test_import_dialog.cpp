#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/testing/ScriptedUi.h"
#include "tests/gui/gui_support.h"
#include "volume/qt/CImportSlicesDialog.h"

namespace sulcan {
namespace {

QPushButton* ButtonNamed(QWidget* dialog, const QString& text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text().remove('&') == text) return b;
    return nullptr;
}

TEST(ImportSlicesDialog, BrowseFillsTheEditAndOkHandsItToTheModel) {
    testing::ScriptedUi ui;
    ui.ChooseFolderAs("/data/scans/today");
    ImportSlicesDialogModel model(ui, "/data/scans");
    QString title, label, initial;
    testing::WhenModalShown([&](QWidget* w) {
        auto* dialog = dynamic_cast<CImportSlicesDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        label = dialog->findChild<QLabel*>()->text();
        initial = dialog->folderEdit()->text();
        ASSERT_NE(ButtonNamed(dialog, msg::slices::kBrowse), nullptr);
        ButtonNamed(dialog, msg::slices::kBrowse)->click();
        testing::SaveScreenshot(dialog, "import_slices_dialog");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_TRUE(CImportSlicesDialog::Run(model, nullptr));
    EXPECT_EQ(title.toStdString(), msg::slices::kDialogTitle);
    EXPECT_EQ(label.toStdString(), msg::slices::kDialogText);
    EXPECT_EQ(initial, "/data/scans");
    EXPECT_EQ(model.folder(), "/data/scans/today");
    ASSERT_EQ(ui.prompts().size(), 1u);
    EXPECT_EQ(ui.prompts()[0].text, "/data/scans");
}

TEST(ImportSlicesDialog, CancelKeepsTheModelsFolder) {
    testing::ScriptedUi ui;
    ImportSlicesDialogModel model(ui, "/data/scans");
    testing::WhenModalShown([&](QWidget* w) {
        auto* dialog = dynamic_cast<CImportSlicesDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->folderEdit()->setText("/elsewhere");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    EXPECT_FALSE(CImportSlicesDialog::Run(model, nullptr));
    EXPECT_EQ(model.folder(), "/data/scans");
}

}  // namespace
}  // namespace sulcan
