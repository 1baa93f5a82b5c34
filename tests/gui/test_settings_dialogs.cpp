#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/qt/CFileLocationsDialog.h"
#include "app/qt/CPreferencesDialog.h"
#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/gui/gui_support.h"

namespace sulcan {
namespace {

void PressKey(QWidget* dialog, int key) {
    QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
}

QPushButton* ButtonNamed(QWidget* dialog, const char* text, int index = 0) {
    int seen = 0;
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text && seen++ == index) return b;
    return nullptr;
}

Rgb SwatchColour(QFrame* swatch) {
    const QColor c = swatch->palette().color(QPalette::Window);
    return {uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())};
}

TEST(SettingsDialogs, PreferencesEscLoadsTheDefaultsAndStaysOpen) {
    MemoryProfile profile;
    testing::ScriptedUi ui;
    AppSettings settings(profile);
    for (int c = 0; c < kPreferenceColourCount; ++c) settings.SetColour(c, {40, 80, 120});
    PreferencesModel model(settings, ui);
    CPreferencesDialog dialog(model);
    dialog.show();
    EXPECT_EQ(SwatchColour(dialog.swatch(kColourGray)), (Rgb{40, 80, 120}));

    PressKey(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    for (int c = 0; c < kPreferenceColourCount; ++c) {
        EXPECT_EQ(settings.colour(c), DefaultColour(c)) << c;
        EXPECT_EQ(SwatchColour(dialog.swatch(c)), DefaultColour(c)) << c;
    }
    testing::SaveScreenshot(&dialog, "preferences_dialog");
    EXPECT_FALSE(dialog.close());  // the close box does the same
    EXPECT_TRUE(dialog.isVisible());

    ButtonNamed(&dialog, msg::prefs::kOk)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(SettingsDialogs, PreferencesEditRepaintsItsSwatchAndOkTakesTheChoices) {
    MemoryProfile profile;
    testing::ScriptedUi ui;
    ui.ChooseColourAs({1, 2, 3});
    AppSettings settings(profile);
    PreferencesModel model(settings, ui);
    CPreferencesDialog dialog(model);
    dialog.show();
    ButtonNamed(&dialog, msg::prefs::kEdit, kColourCsf)->click();
    EXPECT_EQ(SwatchColour(dialog.swatch(kColourCsf)), (Rgb{1, 2, 3}));

    EXPECT_EQ(dialog.helpEdit()->maxLength(), 255);
    dialog.helpEdit()->setText("http://help.example/");
    for (QRadioButton* r : dialog.findChildren<QRadioButton*>())
        if (r->text() == msg::prefs::kPaired || r->text() == msg::prefs::kSlowAlgorithm)
            r->setChecked(true);
    ButtonNamed(&dialog, msg::prefs::kOk)->click();
    EXPECT_EQ(settings.grabSingly(), 0);
    EXPECT_EQ(settings.xyzLock(), 1);
    EXPECT_EQ(settings.classifySlow(), 1);
    EXPECT_EQ(settings.helpUrl(), "http://help.example/");
    EXPECT_EQ(settings.colourTable()[6], 0x010203u);
}

TEST(SettingsDialogs, FileLocationsRowsBrowseEnterAndOk) {
    MemoryProfile profile;
    testing::ScriptedUi ui;
    FileLocations locations(profile);
    locations.SetProjectFolder("/p/x");
    FileLocationsModel model(locations, ui);
    CFileLocationsDialog dialog(model);
    testing::SaveScreenshot(&dialog, "file_locations_dialog");

    QStringList labels;
    for (QLabel* l : dialog.findChildren<QLabel*>()) labels << l->text();
    EXPECT_TRUE(labels.contains(msg::locations::kAutoUpdateHeader));
    EXPECT_TRUE(labels.contains(msg::locations::kRelativeNote));
    EXPECT_TRUE(labels.contains("2D Image files"));
    EXPECT_EQ(dialog.edit(kLocation2D)->text(), "TIFFs");
    EXPECT_EQ(dialog.edit(kLocation2D)->maxLength(), 254);
    EXPECT_TRUE(dialog.autoUpdateBox(kLocationProject)->isChecked());

    // Enter in an edit commits it and leaves the dialog open.
    dialog.edit(kLocationCut)->setFocus();
    dialog.edit(kLocationCut)->setText("cuts/");
    PressKey(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());

    ui.ChooseFolderAs("/chosen/gray");
    ButtonNamed(&dialog, msg::locations::kBrowse, kLocationGray)->click();
    ASSERT_EQ(ui.prompts().size(), 1u);
    EXPECT_EQ(ui.prompts()[0].text, "/p/x");
    EXPECT_EQ(dialog.edit(kLocationGray)->text(), "/chosen/gray");

    dialog.autoUpdateBox(kLocationGray)->setChecked(true);
    ButtonNamed(&dialog, msg::locations::kOk)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(locations.GetLocation(kLocationCut, false), "cuts");
    EXPECT_EQ(locations.GetLocation(kLocationGray, false), "/chosen/gray");
    EXPECT_EQ(locations.autoUpdate(kLocationGray), 1);
}

TEST(SettingsDialogs, FileLocationsCancelStoresNothing) {
    MemoryProfile profile;
    testing::ScriptedUi ui;
    FileLocations locations(profile);
    const int writes = profile.writes();
    FileLocationsModel model(locations, ui);
    CFileLocationsDialog dialog(model);
    dialog.show();
    dialog.edit(kLocationAnatomy)->setText("/x");
    dialog.autoUpdateBox(kLocationAnatomy)->setChecked(true);
    ButtonNamed(&dialog, msg::locations::kCancel)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(profile.writes(), writes);
}

}  // namespace
}  // namespace sulcan
