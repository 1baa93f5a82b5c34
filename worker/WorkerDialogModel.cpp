#include "worker/WorkerDialogModel.h"

#include <algorithm>
#include <chrono>

#include "platform/format.h"

namespace sulcan {

namespace {

// Indexed by progress * 4 + cancel * 2 + log.
constexpr WorkerDialogLayout kLayouts[8] = {
    {false, false, false, 186, 153, 0, 0, 0}, {false, false, true, 190, 249, 106, 235, 91},
    {false, true, false, 192, 179, 28, 0, 0}, {false, true, true, 188, 249, 121, 235, 91},
    {true, false, false, 191, 196, 28, 0, 0}, {true, false, true, 189, 249, 121, 235, 91},
    {true, true, false, 185, 249, 28, 0, 0},  {true, true, true, 193, 249, 121, 235, 91},
};

}  // namespace

WorkerDialogModel::WorkerDialogModel(WorkerTask& task, Clock clock)
    : task_(task), clock_(std::move(clock)), title_(task.title) {}

WorkerDialogLayout WorkerDialogModel::LayoutFor(int showProgress, int allowCancel, int showLog) {
    return kLayouts[(showProgress ? 4 : 0) + (allowCancel ? 2 : 0) + (showLog ? 1 : 0)];
}

int64_t WorkerDialogModel::SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void WorkerDialogModel::Start(WorkerSink& window) {
    layout_ = LayoutFor(task_.showProgress, task_.allowCancel, task_.showLog);
    if (!layout_.cancel) task_.autoClose = 1;
    windowTitle_ = title_;
    if (layout_.progress) {
        task_.lastShownPercent = 101;  // so that 0 is shown
        ShowProgress(0);
    }
    log_.clear();
    task_.Attach(window);
    state_ = State::Running;
    acceptsCancel_ = true;
    buttonText_ = worker_msg::kCancel;
    buttonEnabled_ = true;
    ticks_ = 0;
    startMs_ = clock_();
}

void WorkerDialogModel::Tick() {
    ticks_ = (ticks_ + 1) % 10;
    const int dots = ticks_ < 6 ? ticks_ : 10 - ticks_;
    windowTitle_ = title_ + std::string(dots, '.');
}

WorkerDialogChange WorkerDialogModel::Receive(const WorkerPost& post) {
    WorkerDialogChange change;
    if (state_ != State::Running) return change;  // nothing counts after the last message
    switch (post.message) {
        case WM_WORKER_PROGRESS:
            change.progress = layout_.progress && ShowProgress(post.value);
            break;
        case WM_WORKER_TEXT:
            change.log = AppendLog(post.text);
            break;
        case WM_WORKER_FINISHED:
            return Finish();
        case WM_WORKER_CANCELLED:
            return CloseAfterMinimum(WorkerResult::Cancel);
        case WM_WORKER_NOCANCEL:
            // Escape and the close box must not cancel either, not only the button.
            acceptsCancel_ = false;
            change.button = layout_.cancel && buttonEnabled_;
            buttonEnabled_ = false;
            break;
    }
    return change;
}

WorkerDialogChange WorkerDialogModel::PressCancel() {
    WorkerDialogChange change;
    if (!layout_.cancel) return change;
    if (state_ == State::Finished) {
        state_ = State::Closing;
        change.close = WorkerClose{WorkerResult::Ok, 0};
        return change;
    }
    // A second request (Escape after the button) must not repeat the acknowledgement.
    if (state_ != State::Running || !acceptsCancel_) return change;
    acceptsCancel_ = false;
    buttonEnabled_ = false;
    change.button = true;
    change.log = AppendLog(worker_msg::kCancelAcknowledged);
    task_.cancelRequested = 1;
    return change;
}

bool WorkerDialogModel::ShowProgress(int percent) {
    if (static_cast<unsigned>(percent) > 99) percent = 99;  // negative values too
    if (percent == task_.lastShownPercent) return false;
    task_.lastShownPercent = percent;
    percentText_ = Format(worker_msg::kPercentFormat, percent);
    return true;
}

bool WorkerDialogModel::AppendLog(const std::string& text) {
    if (!layout_.log || text.empty()) return false;
    // Complete lines end in a line break of the log; a remainder stays open for the next text.
    size_t begin = 0;
    for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
        size_t length = end - begin;
        if (length > 0 && text[end - 1] == '\r') --length;
        log_.append(text, begin, length).push_back('\n');
    }
    log_.append(text, begin, std::string::npos);
    return true;
}

WorkerDialogChange WorkerDialogModel::Finish() {
    if (task_.autoClose) return CloseAfterMinimum(WorkerResult::Ok);
    state_ = State::Finished;
    WorkerDialogChange change;
    change.log = AppendLog(worker_msg::kClickClose);
    buttonText_ = worker_msg::kClose;
    buttonEnabled_ = true;
    change.button = true;
    return change;
}

WorkerDialogChange WorkerDialogModel::CloseAfterMinimum(WorkerResult result) {
    state_ = State::Closing;
    const int64_t elapsed = clock_() - startMs_;
    WorkerDialogChange change;
    change.close = WorkerClose{result, static_cast<int>(std::clamp<int64_t>(
                                           kMinimumShownMs - elapsed, 0, kMinimumShownMs))};
    return change;
}

}  // namespace sulcan
