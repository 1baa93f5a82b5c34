#include <gtest/gtest.h>

#include <signal.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "app/tool/console_worker.h"

namespace sulcan::tool {
namespace {

using namespace std::chrono_literals;

// Stands in for whatever handled Ctrl+C before the run; a stray SIGINT lands here instead of
// ending the test program.
std::atomic<int> gEarlierHandlerCalls{0};
void EarlierHandler(int) {
    ++gEarlierHandlerCalls;
}

struct ConsoleWorkerTest : ::testing::Test {
    ConsoleWorkerTest() {
        struct sigaction action {};
        action.sa_handler = EarlierHandler;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &saved);
        gEarlierHandlerCalls = 0;
        task.title = "Growing 2 gray matter layers";
    }
    ~ConsoleWorkerTest() override { sigaction(SIGINT, &saved, nullptr); }

    static void (*CurrentHandler())(int) {
        struct sigaction now {};
        sigaction(SIGINT, nullptr, &now);
        return now.sa_handler;
    }
    // Posts progress with repeats and out-of-range values and a line split over two texts.
    static unsigned Growing(WorkerTask& t) {
        t.PostProgress(0);
        t.PostProgress(45);
        t.PostProgress(45);
        t.PostText("Layer 1\nLayer");
        t.PostProgress(150);
        t.PostProgress(-1);
        t.PostText(" 2\n");
        t.PostFinished();
        return 0;
    }
    // Presses Ctrl+C itself and waits for the cancel request; finishes when none comes.
    static unsigned Interrupted(WorkerTask& t) {
        raise(SIGINT);
        for (int waited = 0; !t.CancelRequested(); ++waited) {
            if (waited == 5000) {
                t.PostFinished();
                return 0;
            }
            std::this_thread::sleep_for(1ms);
        }
        t.PostCancelled();
        return 0;
    }

    std::ostringstream err;
    WorkerTask task;
    struct sigaction saved {};
};

TEST_F(ConsoleWorkerTest, WithoutATerminalPrintsPercentLinesOnChangeAndLogLines) {
    task.entry = Growing;
    EXPECT_EQ(ConsoleWorker(err, false).Run(task), WorkerResult::Ok);
    EXPECT_EQ(err.str(), "Growing 2 gray matter layers\n0%\n45%\nLayer 1\n99%\nLayer 2\n");
}

TEST_F(ConsoleWorkerTest, OnATerminalRedrawsOneBarLineBelowTheLog) {
    task.entry = Growing;
    task.autoClose = 0;  // no "Close" to click on a console
    EXPECT_EQ(ConsoleWorker(err, true).Run(task), WorkerResult::Ok);
    auto bar = [](const std::string& filled, const char* percent) {
        return "\rGrowing 2 gray matter layers [" + filled + std::string(20 - filled.size(), '.') +
               "] " + percent;
    };
    const std::string nine(9, '#'), nineteen(19, '#');
    EXPECT_EQ(err.str(), bar("", "  0%") + bar(nine, " 45%") + "\r\033[KLayer 1\n" +
                             bar(nine, " 45%") + bar(nineteen, " 99%") + "\r\033[KLayer 2\n" +
                             bar(nineteen, " 99%") + "\n");
}

TEST_F(ConsoleWorkerTest, AnUnfinishedLogLineAndAFailureArePrintedAtTheEnd) {
    task.showProgress = 0;
    task.entry = [](WorkerTask& t) -> unsigned {
        t.PostText("Reading mesh");
        throw std::runtime_error("bad vertex count");
    };
    EXPECT_EQ(ConsoleWorker(err, true).Run(task), WorkerResult::Cancel);
    EXPECT_EQ(err.str(),
              "Growing 2 gray matter layers\n"
              "Reading mesh\nError - the task stopped: bad vertex count\n");
}

TEST_F(ConsoleWorkerTest, CtrlCCancelsTheRunAndTheEarlierHandlerComesBack) {
    for (bool onThread : {false, true}) {
        err.str("");
        task.entry = Interrupted;
        EXPECT_EQ(ConsoleWorker(err, false).Run(task, onThread), WorkerResult::Cancel);
        EXPECT_NE(err.str().find("Cancel request acknowledged... please wait.\n"),
                  std::string::npos)
            << err.str();
        EXPECT_EQ(CurrentHandler(), EarlierHandler);
        EXPECT_EQ(gEarlierHandlerCalls, 0);
    }
}

TEST_F(ConsoleWorkerTest, CtrlCIsIgnoredOnceTheTaskCannotBeCancelled) {
    task.entry = [](WorkerTask& t) {
        t.PostNoCancel();
        raise(SIGINT);
        t.PostText(t.CancelRequested() ? "cancelled\n" : "carried on\n");
        t.PostFinished();
        return 0u;
    };
    EXPECT_EQ(ConsoleWorker(err, false).Run(task), WorkerResult::Ok);
    EXPECT_EQ(err.str().find("acknowledged"), std::string::npos);
    EXPECT_NE(err.str().find("carried on"), std::string::npos);

    // Without a Cancel at all the run does not catch Ctrl+C.
    task.allowCancel = 0;
    task.entry = [](WorkerTask& t) {
        t.PostText(CurrentHandler() == EarlierHandler ? "not caught\n" : "caught\n");
        t.PostFinished();
        return 0u;
    };
    err.str("");
    EXPECT_EQ(ConsoleWorker(err, false).Run(task), WorkerResult::Ok);
    EXPECT_NE(err.str().find("not caught"), std::string::npos);
}

}  // namespace
}  // namespace sulcan::tool
