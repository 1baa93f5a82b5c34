#pragma once
// A long task and its side of the conversation with whatever shows it (the progress dialog,
// the console runner, a test): it posts messages to a sink and polls one cancel flag. The task
// record belongs to the caller and must outlive the run.
#include <atomic>
#include <functional>
#include <string>

namespace sulcan {

// What a task tells the window that shows it.
enum WorkerMessage : unsigned {
    WM_WORKER_FINISHED = 0x407,   // ended normally
    WM_WORKER_CANCELLED = 0x408,  // ended early (cancel or failure)
    WM_WORKER_PROGRESS = 0x409,   // value: percentage 0..99
    WM_WORKER_TEXT = 0x40A,       // text: appended to the log
    WM_WORKER_NOCANCEL = 0x40B,   // the task can no longer be cancelled
};

struct WorkerPost {
    WorkerMessage message = WM_WORKER_FINISHED;
    int value = 0;
    std::string text;
};

// Receives the posts of a task. Post may be called on the worker thread: an implementation
// hands the post over to its own thread and returns without waiting for it to be handled.
class WorkerSink {
public:
    virtual ~WorkerSink() = default;
    virtual void Post(WorkerPost post) = 0;
};

namespace worker_msg {
inline constexpr const char* kTaskFailed = "Error - the task stopped: %s\n";
inline constexpr const char* kUnknownError = "unknown error";
inline constexpr const char* kOutOfMemory = "out of memory";
inline constexpr const char* kNoFinalMessage = "Error - the task ended without reporting\n";
inline constexpr const char* kThreadNotStarted = "Error - the worker thread could not be started\n";
}  // namespace worker_msg

struct WorkerTask {
    WorkerTask() = default;
    WorkerTask(const WorkerTask&) = delete;
    WorkerTask& operator=(const WorkerTask&) = delete;

    // Filled by the caller before the task is shown.
    std::string title;
    int showProgress = 1;
    int allowCancel = 1;
    int showLog = 1;
    int autoClose = 1;  // forced to 1 by the dialog when allowCancel is 0
    std::function<unsigned(WorkerTask&)> entry;

    // Written by the dialog: the percentage it shows, the cancel request, where to post.
    int lastShownPercent = 101;
    std::atomic<int> cancelRequested{0};  // the dialog's thread writes, the task's reads
    WorkerSink* dialogWindow = nullptr;

    // For the task's own use.
    int lastPostedPercent = 0;
    int stageLow = 0;
    int stageHigh = 99;

    // Starts a run shown by `window`: clears the cancel flag and the last posted percentage.
    void Attach(WorkerSink& window);

    // Task side. Posts after the final message are dropped: the window may be gone.
    bool CancelRequested() const { return cancelRequested.load() != 0; }
    void PostProgress(int percent);
    void PostText(std::string text);
    void PostNoCancel();
    void PostFinished();
    void PostCancelled();
    // A failure the user should read about: the line goes to the log (on a line of its own),
    // then the task ends as cancelled so the caller shows its own message.
    void PostFailure(std::string logText);
    bool FinalPosted() const { return finalPosted_.load(); }

    // Stages map their own progress into [stageLow, stageHigh] of the whole task.
    void SetStage(int low, int high);
    int StagePercent(long long done, long long total) const;  // integer arithmetic
    int StagePercent(double fraction) const;                  // truncated, fraction 0..1
    // Posts percent unless it equals lastPostedPercent; returns whether it posted.
    bool PostProgressIfChanged(int percent);

    // Runs entry and guarantees exactly one final message: an entry that throws, or returns
    // without a final message, is reported as cancelled with a line in the log. Returns the
    // entry's result (0 when it threw).
    unsigned RunEntry();

private:
    void Send(WorkerMessage message, int value = 0, std::string text = {});
    std::atomic<bool> finalPosted_{false};
    bool lineOpen_ = false;  // the last text posted did not end its line
};

}  // namespace sulcan
