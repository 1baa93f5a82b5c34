#include "worker/WorkerTask.h"

#include <algorithm>
#include <exception>
#include <new>

#include "platform/format.h"

namespace sulcan {

void WorkerTask::Attach(WorkerSink& window) {
    cancelRequested = 0;
    dialogWindow = &window;
    lastPostedPercent = 0;
    finalPosted_.store(false);
    lineOpen_ = false;
}

void WorkerTask::Send(WorkerMessage message, int value, std::string text) {
    if (finalPosted_.load() || !dialogWindow) return;
    const bool final = message == WM_WORKER_FINISHED || message == WM_WORKER_CANCELLED;
    if (final) finalPosted_.store(true);
    dialogWindow->Post({message, value, std::move(text)});
}

void WorkerTask::PostProgress(int percent) {
    Send(WM_WORKER_PROGRESS, percent);
}
void WorkerTask::PostText(std::string text) {
    if (!text.empty()) lineOpen_ = text.back() != '\n';
    Send(WM_WORKER_TEXT, 0, std::move(text));
}
void WorkerTask::PostNoCancel() {
    Send(WM_WORKER_NOCANCEL);
}
void WorkerTask::PostFinished() {
    Send(WM_WORKER_FINISHED);
}
void WorkerTask::PostCancelled() {
    Send(WM_WORKER_CANCELLED);
}

void WorkerTask::SetStage(int low, int high) {
    stageLow = low;
    stageHigh = high;
}

int WorkerTask::StagePercent(long long done, long long total) const {
    if (total <= 0) return stageLow;
    done = std::clamp(done, 0LL, total);
    return stageLow + static_cast<int>((stageHigh - stageLow) * done / total);
}

int WorkerTask::StagePercent(double fraction) const {
    // NaN compares false both ways and ends at 0.
    fraction = fraction > 0.0 ? std::min(fraction, 1.0) : 0.0;
    return stageLow + static_cast<int>((stageHigh - stageLow) * fraction);
}

bool WorkerTask::PostProgressIfChanged(int percent) {
    if (percent == lastPostedPercent) return false;
    lastPostedPercent = percent;
    PostProgress(percent);
    return true;
}

void WorkerTask::PostFailure(std::string logText) {
    PostText(lineOpen_ ? "\n" + logText : std::move(logText));
    PostCancelled();
}

unsigned WorkerTask::RunEntry() {
    unsigned result = 0;
    try {
        if (entry) result = entry(*this);
    } catch (const std::bad_alloc&) {
        PostFailure(Format(worker_msg::kTaskFailed, worker_msg::kOutOfMemory));
    } catch (const std::exception& e) {
        PostFailure(Format(worker_msg::kTaskFailed, e.what()));
    } catch (...) {
        PostFailure(Format(worker_msg::kTaskFailed, worker_msg::kUnknownError));
    }
    if (!finalPosted_.load()) PostFailure(worker_msg::kNoFinalMessage);
    return result;
}

}  // namespace sulcan
