#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/QtUi.h"
#include "tests/gui/gui_support.h"
#include "app/project_messages.h"
#include "volume/messages.h"

namespace sulcan {
namespace {

TEST(VolumeDialogs, QuestionDialogsShowTheirLinesAndButtons) {
    struct Case {
        const char* screenshot;
        Question question;
    };
    const Case cases[] = {
        {"anatomy_size_mismatch",
         {msg::kMismatchCaption,
          {msg::kMismatchLines[0], msg::kMismatchLines[1], msg::kMismatchLines[2]},
          {msg::kEmptyClassification, msg::kResizeClassification, msg::kCancel},
          1,
          2}},
        {"error_reading_file",
         {msg::kErrorReadingFileCaption,
          {msg::kErrorReadingAnatomyText},
          {msg::kUseEmptyVolume, msg::kChooseAnother, msg::kCancel},
          0,
          2}},
    };
    QtUi ui;
    for (const Case& c : cases) {
        QStringList buttons;
        QString title;
        testing::WhenModalShown([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            for (QAbstractButton* b : box->buttons()) buttons << b->text();
            testing::SaveScreenshot(box, c.screenshot);
            box->defaultButton()->click();
        });
        EXPECT_EQ(ui.Ask(c.question), c.question.defaultButton);
        EXPECT_EQ(title.toStdString(), c.question.caption);
        for (const std::string& b : c.question.buttons)
            EXPECT_TRUE(buttons.contains(QString::fromStdString(b))) << b;
    }
}

TEST(VolumeDialogs, ProcessingNoticeNestsAndGoesWithTheLastHide) {
    QtUi ui;
    auto noticeWindows = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == "Processing") ++n;
        return n;
    };
    ui.ShowProcessing(msg::kSavingClassification, true);
    ui.ShowProcessing("nested", false);
    EXPECT_EQ(noticeWindows(), 1);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Processing") testing::SaveScreenshot(w, "processing_notice");
    ui.HideProcessing();
    EXPECT_EQ(noticeWindows(), 1);
    ui.HideProcessing();
    QApplication::processEvents();
    EXPECT_EQ(noticeWindows(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace sulcan
