#pragma once
// Runs a WorkerTask for sulcan-tool and draws what the progress dialog would show on stderr:
// a progress bar redrawn in place on a terminal, "NN%" lines otherwise, and the log's lines.
// Ctrl+C asks the task to cancel while it can be cancelled. A Cancel result maps to the exit
// code kExitCancelled.
#include <condition_variable>
#include <deque>
#include <iosfwd>
#include <mutex>
#include <optional>

#include "worker/WorkerDialogModel.h"

namespace sulcan::tool {

bool StderrIsTerminal();

class ConsoleWorker : private WorkerSink {
public:
    // `terminal`: redraw one progress line in place, instead of printing a line per change.
    ConsoleWorker(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}

    // Runs the task on the calling thread, or on a worker thread while the calling thread
    // draws. Nobody clicks "Close" on a console: the run ends with the task (autoClose := 1).
    // Not reentrant: Ctrl+C is caught for one run at a time.
    WorkerResult Run(WorkerTask& task, bool onThread = false);

private:
    void Post(WorkerPost post) override;
    void RunOnThread(WorkerTask& task);
    void Deliver(const WorkerPost& post);
    void TakeInterrupt();
    void Draw(const WorkerDialogChange& change);
    void PrintLines(bool all);
    void DrawProgress();
    void EndBarLine();

    std::ostream& err_;
    const bool terminal_;
    bool onThread_ = false;
    std::optional<WorkerDialogModel> model_;
    std::optional<WorkerResult> result_;  // set by the task's last message
    size_t printed_ = 0;                  // log characters already written
    bool barShown_ = false;

    std::mutex queueMutex_;
    std::condition_variable queued_;
    std::deque<WorkerPost> queue_;
};

// The tool's usual run: on the calling thread, drawing on std::cerr.
WorkerResult RunConsoleWorker(WorkerTask& task);

}  // namespace sulcan::tool
