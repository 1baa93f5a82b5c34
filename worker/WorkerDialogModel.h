#pragma once
// The state and rules of the progress and log dialog that shows a WorkerTask: which controls
// it has, what the bar, the percentage, the log, the title and the button show, and when it
// closes with which result. The widget (and the console runner) only draw this state.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "worker/WorkerTask.h"

namespace sulcan {

namespace worker_msg {
inline constexpr const char* kResourceTitle = "worker thread dialog";
inline constexpr const char* kPercentFormat = "%d%% Complete";
inline constexpr const char* kPercentSizingText = "100% Complete";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kClose = "Close";
inline constexpr const char* kClickClose = "Click \"Close\" to dismiss\n";
inline constexpr const char* kCancelAcknowledged = "Cancel request acknowledged... please wait.\n";
}  // namespace worker_msg

enum class WorkerResult { Ok, Cancel };

struct WorkerTask;
// Runs a task behind whatever shows it (the progress dialog, the console) until it ends.
using WorkerRunner = std::function<WorkerResult(WorkerTask&)>;

// One of the eight dialog variants; sizes in dialog units.
struct WorkerDialogLayout {
    bool progress = false;
    bool cancel = false;
    bool log = false;
    int resource = 0;
    int width = 0;
    int height = 0;
    int logWidth = 0;  // 0 without a log
    int logHeight = 0;
};

// The dialog closes with `result` once `delayMs` more milliseconds have passed.
struct WorkerClose {
    WorkerResult result = WorkerResult::Ok;
    int delayMs = 0;
};

// What a step changed, so that a view redraws only that.
struct WorkerDialogChange {
    bool progress = false;  // bar and percentage text
    bool log = false;
    bool button = false;  // text or enabled state
    std::optional<WorkerClose> close;
};

class WorkerDialogModel {
public:
    using Clock = std::function<int64_t()>;  // milliseconds, monotonic
    static constexpr int kMinimumShownMs = 1000;
    static constexpr int kTimerMs = 500;

    // Copies the title; nothing else is read from the task before Start.
    explicit WorkerDialogModel(WorkerTask& task, Clock clock = SteadyMilliseconds);

    static WorkerDialogLayout LayoutFor(int showProgress, int allowCancel, int showLog);
    static int64_t SteadyMilliseconds();

    // Chooses the variant, forces autoClose without Cancel, resets the task's dialog fields
    // and points it at `window`. The caller starts the worker thread afterwards.
    void Start(WorkerSink& window);
    void Tick();  // the 500 ms timer: animates the title
    WorkerDialogChange Receive(const WorkerPost& post);
    WorkerDialogChange PressCancel();  // Cancel button, Escape or the close box

    const WorkerDialogLayout& layout() const { return layout_; }
    const std::string& windowTitle() const { return windowTitle_; }
    int progress() const { return task_.lastShownPercent; }
    const std::string& percentText() const { return percentText_; }
    const std::string& log() const { return log_; }
    const std::string& buttonText() const { return buttonText_; }
    bool buttonEnabled() const { return buttonEnabled_; }
    bool finished() const { return state_ == State::Finished; }
    // A cancel request would still be taken (the task is running and may be cancelled).
    bool acceptsCancel() const {
        return layout_.cancel && state_ == State::Running && acceptsCancel_;
    }
    bool ended() const { return state_ != State::Running; }

private:
    enum class State { Running, Finished, Closing };
    bool ShowProgress(int percent);
    bool AppendLog(const std::string& text);
    WorkerDialogChange Finish();
    WorkerDialogChange CloseAfterMinimum(WorkerResult result);

    WorkerTask& task_;
    Clock clock_;
    std::string title_;
    WorkerDialogLayout layout_;
    State state_ = State::Running;
    int64_t startMs_ = 0;
    int ticks_ = 0;
    bool acceptsCancel_ = true;  // false after a request or WM_WORKER_NOCANCEL
    std::string windowTitle_ = worker_msg::kResourceTitle;
    std::string percentText_ = worker_msg::kPercentSizingText;
    std::string log_;
    std::string buttonText_ = worker_msg::kCancel;
    bool buttonEnabled_ = true;
};

}  // namespace sulcan
