#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <semaphore>
#include <stdexcept>
#include <thread>

#include "platform/qt/QtUi.h"
#include "tests/gui/gui_support.h"
#include "worker/qt/CWorkerThreadDialog.h"

namespace sulcan {
namespace {

using namespace std::chrono_literals;

// Serves the event loop until `ready` holds; false on timeout.
bool WaitUntil(const std::function<bool()>& ready, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!ready()) {
        if (clock.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Calls `act` from the event loop once `ready` holds, without blocking whoever runs the loop.
void WhenReady(std::function<bool()> ready, std::function<void()> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (!ready()) return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start(20);
}

struct WorkerDialogTest : ::testing::Test {
    void Flags(int progress, int cancel, int log, int autoClose) {
        task.showProgress = progress;
        task.allowCancel = cancel;
        task.showLog = log;
        task.autoClose = autoClose;
    }
    // The task side waits here until the test has looked at the dialog.
    bool WaitForTest() { return gate.try_acquire_for(10s); }

    WorkerTask task;
    std::binary_semaphore gate{0};
};

template <typename W>
W* Find(QDialog& dialog) {
    return dialog.findChild<W*>();
}
QString Log(QDialog& dialog) {
    return Find<QPlainTextEdit>(dialog)->toPlainText();
}

TEST_F(WorkerDialogTest, ProgressCancelLogRunsUntilTheUserCloses) {
    task.title = "Building 3D visualisation";
    Flags(1, 1, 1, 0);
    task.entry = [this](WorkerTask& t) {
        t.PostProgress(35);
        t.PostText("Extracting surface from classification\nDone - 48213 triangles\nSmoothing");
        WaitForTest();
        t.PostText(" - 50 iterations\n");
        t.PostProgress(150);
        t.PostFinished();
        return 0u;
    };
    CWorkerThreadDialog dialog(task);
    testing::WhenModalShown([&](QWidget*) {
        EXPECT_TRUE(WaitUntil([&] { return Log(dialog).endsWith("Smoothing"); }));
        EXPECT_EQ(Find<QProgressBar>(dialog)->value(), 35);
        EXPECT_EQ(Find<QLabel>(dialog)->text(), "35% Complete");
        EXPECT_EQ(Find<QPushButton>(dialog)->text(), "Cancel");
        EXPECT_TRUE(dialog.windowTitle().startsWith("Building 3D visualisation"));
        testing::SaveScreenshot(&dialog, "worker_dialog_progress_cancel_log");
        gate.release();
        EXPECT_TRUE(WaitUntil([&] { return Find<QPushButton>(dialog)->text() == "Close"; }));
        EXPECT_EQ(Find<QLabel>(dialog)->text(), "99% Complete");
        EXPECT_TRUE(
            Log(dialog).endsWith("Smoothing - 50 iterations\nClick \"Close\" to dismiss\n"));
        testing::SaveScreenshot(&dialog, "worker_dialog_progress_cancel_log_end");
        Find<QPushButton>(dialog)->click();
    });
    EXPECT_EQ(dialog.Run(), WorkerResult::Ok);
}

TEST_F(WorkerDialogTest, CancelIsTakenOnceAndTheDialogWaitsForTheTask) {
    task.title = "Locating handles within VOI";
    Flags(1, 1, 1, 1);
    task.entry = [](WorkerTask& t) {
        while (!t.CancelRequested()) std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(1200ms);  // winding down: longer than the one second
        t.PostCancelled();
        return 0u;
    };
    CWorkerThreadDialog dialog(task);
    testing::WhenModalShown([&](QWidget*) {
        QPushButton* cancel = Find<QPushButton>(dialog);
        cancel->click();
        EXPECT_FALSE(cancel->isEnabled());
        cancel->click();  // disabled: nothing
        dialog.reject();  // Escape: nothing more either
        EXPECT_EQ(Log(dialog), "Cancel request acknowledged... please wait.\n");
    });
    QElapsedTimer shown;
    shown.start();
    EXPECT_EQ(dialog.Run(), WorkerResult::Cancel);
    EXPECT_GE(shown.elapsed(), 1200);
    EXPECT_EQ(task.cancelRequested, 1);
}

TEST_F(WorkerDialogTest, ClosedFromOutsideTheDialogStopsTheTaskAndWaitsForIt) {
    task.title = "Removing satellite volumes within VOI";
    Flags(1, 1, 0, 1);
    std::atomic<bool> ended = false;
    task.entry = [&](WorkerTask& t) {
        while (!t.CancelRequested()) std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(50ms);
        t.PostCancelled();
        ended = true;
        return 0u;
    };
    CWorkerThreadDialog dialog(task);
    testing::WhenModalShown([&](QWidget*) { dialog.hide(); });
    EXPECT_EQ(dialog.Run(), WorkerResult::Cancel);
    EXPECT_TRUE(ended);
}

TEST_F(WorkerDialogTest, AShortTaskWithoutCancelStaysOneSecondAndClosesByItself) {
    task.title = "Saving gray matter graph";
    Flags(1, 0, 0, 0);
    task.entry = [](WorkerTask& t) {
        std::this_thread::sleep_for(10ms);
        t.PostFinished();
        return 0u;
    };
    CWorkerThreadDialog dialog(task);
    QElapsedTimer shown;
    shown.start();
    EXPECT_EQ(dialog.Run(), WorkerResult::Ok);
    EXPECT_GE(shown.elapsed(), 1000);
    EXPECT_LT(shown.elapsed(), 3000);
    EXPECT_EQ(task.autoClose, 1);
    EXPECT_EQ(Find<QPushButton>(dialog), nullptr);
}

TEST_F(WorkerDialogTest, ATaskCanAskAQuestionWhileTheDialogRuns) {
    QtUi ui;
    Answer answer = Answer::Cancel;
    task.title = "Making TIFF sequence";
    Flags(1, 1, 0, 1);
    task.entry = [&](WorkerTask& t) {
        answer = ui.Message("Overwrite frame001.tif?", "Movie", Buttons::YesNo, Icon::Question);
        t.PostFinished();
        return 0u;
    };
    CWorkerThreadDialog dialog(task);
    WhenReady([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
              [] {
                  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                  box->button(QMessageBox::Yes)->click();
              });
    EXPECT_EQ(dialog.Run(), WorkerResult::Ok);
    EXPECT_EQ(answer, Answer::Yes);
}

TEST_F(WorkerDialogTest, AThrowingTaskEndsAsCancelledWithALogLine) {
    task.title = "Growing 4 gray matter layers";
    Flags(1, 1, 1, 0);
    task.entry = [](WorkerTask& t) -> unsigned {
        t.PostText("Layer 1\n");
        throw std::runtime_error("graph index out of range");
    };
    CWorkerThreadDialog dialog(task);
    EXPECT_EQ(dialog.Run(), WorkerResult::Cancel);
    EXPECT_TRUE(Log(dialog).startsWith("Layer 1\n"));
    EXPECT_TRUE(Log(dialog).contains("graph index out of range"));
}

TEST_F(WorkerDialogTest, EachVariantHasItsControls) {
    struct Case {
        int progress, cancel, log;
        const char* screenshot;
    } cases[] = {
        {1, 1, 0, "worker_dialog_progress_cancel"},
        {1, 0, 1, "worker_dialog_progress_log"},
        {1, 0, 0, "worker_dialog_progress"},
        {0, 1, 1, "worker_dialog_cancel_log"},
        {0, 1, 0, "worker_dialog_cancel"},
        {0, 0, 1, "worker_dialog_log"},
        {0, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        WorkerTask variant;
        variant.title = "Filling cavities within VOI";
        variant.showProgress = c.progress;
        variant.allowCancel = c.cancel;
        variant.showLog = c.log;
        variant.autoClose = 0;  // the Cancel variants wait for "Close"
        variant.entry = [this](WorkerTask& t) {
            t.PostProgress(60);
            t.PostText("Cavity 1 of 3 filled\n");
            WaitForTest();
            t.PostFinished();
            return 0u;
        };
        CWorkerThreadDialog dialog(variant);
        // The title-only variant has no client area, so it never becomes the active window.
        WhenReady([&] { return dialog.isVisible(); },
                  [&] {
                      if (c.progress) {
                          EXPECT_TRUE(
                              WaitUntil([&] { return Find<QProgressBar>(dialog)->value() == 60; }));
                      }
                      if (c.log) {
                          EXPECT_TRUE(WaitUntil([&] { return !Log(dialog).isEmpty(); }));
                      }
                      EXPECT_EQ(Find<QProgressBar>(dialog) != nullptr, c.progress == 1);
                      EXPECT_EQ(Find<QPushButton>(dialog) != nullptr, c.cancel == 1);
                      EXPECT_EQ(Find<QPlainTextEdit>(dialog) != nullptr, c.log == 1);
                      EXPECT_EQ(dialog.height() == 0, !c.progress && !c.cancel && !c.log);
                      if (c.screenshot) testing::SaveScreenshot(&dialog, c.screenshot);
                      gate.release();
                      if (c.cancel) {
                          EXPECT_TRUE(WaitUntil(
                              [&] { return Find<QPushButton>(dialog)->text() == "Close"; }));
                          Find<QPushButton>(dialog)->click();
                      }
                  });
        EXPECT_EQ(dialog.Run(), WorkerResult::Ok) << c.progress << c.cancel << c.log;
    }
}

}  // namespace
}  // namespace sulcan
