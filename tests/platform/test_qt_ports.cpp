#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/qt/QtProfile.h"
#include "platform/qt/QtUi.h"
#include "tests/support/temp_dir.h"

namespace sulcan {
namespace {

TEST(QtProfile, StoresIntegersAndStringsInAnIniFile) {
    testing::TempDir dir;
    const QString ini = QString::fromStdString(dir / "Sulcan.conf");
    {
        QtProfile p(ini);
        EXPECT_EQ(p.GetInt("Settings", "NGrayLayers", 5), 5);
        p.SetInt("Settings", "NGrayLayers", 3);
        p.SetString("Settings", "AnatomyPath", "/data/anat dir/");
        p.SetString("Recent File List", "File1", "/p/x.qxp");
    }
    QtProfile again(ini);
    EXPECT_EQ(again.GetInt("Settings", "NGrayLayers", 5), 3);
    EXPECT_EQ(again.GetString("Settings", "AnatomyPath", ""), "/data/anat dir/");
    EXPECT_EQ(again.GetString("Recent File List", "File1", ""), "/p/x.qxp");
    EXPECT_EQ(again.GetInt("Settings", "AnatomyPath", -4), -4);  // not a number
}

TEST(QtUi, FiltersKeepOnlyThePatternsInParentheses) {
    QStringList f = QtUi::QtFilters("Volume Anatomy Files (*.dat, *.*)|*.dat;*.*||");
    ASSERT_EQ(f.size(), 1);
    EXPECT_EQ(f[0].toStdString(), "Volume Anatomy Files (*.dat *.*)");
    f = QtUi::QtFilters("Sulcan project files (*.qxp)|*.qxp|All files (*.*)|*.*||");
    ASSERT_EQ(f.size(), 2);
    EXPECT_EQ(f[1].toStdString(), "All files (*.*)");
}

TEST(QtUi, MessageBoxShowsTheTextAndReturnsThePressedButton) {
    // Message boxes need no OpenGL: the offscreen platform runs them without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QApplication app(argc, argv);
    QtUi ui;
    QString seenText, seenTitle;
    QTimer::singleShot(50, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                seenText = box->text();
                seenTitle = box->windowTitle();
                box->button(QMessageBox::No)->click();
            }
    });
    Answer a = ui.Message("Save changes to current classification / VOI definition?", "",
                          Buttons::YesNoCancel, Icon::Question);
    EXPECT_EQ(a, Answer::No);
    EXPECT_EQ(seenText.toStdString(), "Save changes to current classification / VOI definition?");
    EXPECT_EQ(seenTitle.toStdString(), QApplication::applicationName().toStdString());
}

}  // namespace
}  // namespace sulcan
