#include "app/tool/console_worker.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <string>
#include <system_error>
#include <thread>

#include "platform/format.h"

namespace sulcan::tool {

namespace {

constexpr int kBarWidth = 20;

// The signal handler may touch only lock-free atomics.
std::atomic<std::atomic<int>*> gCancelFlag{nullptr};
std::atomic<bool> gInterrupted{false};

void OnInterrupt(int) {
    if (std::atomic<int>* flag = gCancelFlag.load()) flag->store(1);
    gInterrupted.store(true);
}

// While it lives, Ctrl+C sets the task's cancel flag; the previous handler comes back after.
// A task that cannot be cancelled leaves Ctrl+C ending the program.
class InterruptCancels {
public:
    explicit InterruptCancels(WorkerTask& task) : active_(task.allowCancel != 0) {
        if (!active_) return;
        gInterrupted.store(false);
        gCancelFlag.store(&task.cancelRequested);
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        action.sa_flags = SA_RESTART;  // the task's file reads must not fail with EINTR
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previous_);
    }
    ~InterruptCancels() {
        if (!active_) return;
        sigaction(SIGINT, &previous_, nullptr);
        gCancelFlag.store(nullptr);
    }
    InterruptCancels(const InterruptCancels&) = delete;
    InterruptCancels& operator=(const InterruptCancels&) = delete;

private:
    bool active_;
    struct sigaction previous_ {};
};

}  // namespace

bool StderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

WorkerResult RunConsoleWorker(WorkerTask& task) {
    return ConsoleWorker(std::cerr, StderrIsTerminal()).Run(task);
}

WorkerResult ConsoleWorker::Run(WorkerTask& task, bool onThread) {
    task.autoClose = 1;
    model_.emplace(task);
    model_->Start(*this);
    onThread_ = onThread;
    result_.reset();
    printed_ = 0;
    barShown_ = false;
    if (!terminal_ || !model_->layout().progress) err_ << task.title << "\n";
    DrawProgress();
    {
        InterruptCancels interrupt(task);
        if (onThread)
            RunOnThread(task);
        else
            task.RunEntry();
    }
    EndBarLine();
    PrintLines(true);
    err_.flush();
    return result_.value_or(WorkerResult::Cancel);
}

void ConsoleWorker::Post(WorkerPost post) {
    if (!onThread_) return Deliver(post);
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back(std::move(post));
    }
    queued_.notify_one();
}

void ConsoleWorker::RunOnThread(WorkerTask& task) {
    std::thread worker;
    try {
        worker = std::thread([&task] { task.RunEntry(); });
    } catch (const std::system_error&) {
        task.PostFailure(worker_msg::kThreadNotStarted);
    }
    while (!result_) {
        std::unique_lock lock(queueMutex_);
        // Wake now and then, so that a Ctrl+C is acknowledged while the task is quiet.
        queued_.wait_for(lock, std::chrono::milliseconds(50), [this] { return !queue_.empty(); });
        std::deque<WorkerPost> posts;
        posts.swap(queue_);
        lock.unlock();
        TakeInterrupt();
        for (const WorkerPost& post : posts) Deliver(post);
    }
    if (worker.joinable()) worker.join();
}

void ConsoleWorker::Deliver(const WorkerPost& post) {
    TakeInterrupt();
    const WorkerDialogChange change = model_->Receive(post);
    Draw(change);
    if (change.close) result_ = change.close->result;
    if (!model_->acceptsCancel()) gCancelFlag.store(nullptr);
}

void ConsoleWorker::TakeInterrupt() {
    if (gInterrupted.exchange(false)) Draw(model_->PressCancel());
}

void ConsoleWorker::Draw(const WorkerDialogChange& change) {
    if (change.log) PrintLines(false);
    if (change.progress) DrawProgress();
}

// Complete lines only, so that the bar can be redrawn below them; `all` at the end.
void ConsoleWorker::PrintLines(bool all) {
    const std::string& log = model_->log();
    const size_t end = all ? log.size() : log.rfind('\n') + 1;  // npos + 1 is 0
    if (end <= printed_) return;
    if (barShown_) err_ << "\r\033[K";
    err_ << log.substr(printed_, end - printed_);
    if (log[end - 1] != '\n') err_ << '\n';
    printed_ = end;
    if (barShown_) DrawProgress();
}

void ConsoleWorker::DrawProgress() {
    if (!model_->layout().progress) return;
    const int percent = model_->progress();
    if (!terminal_) {
        err_ << percent << "%\n";
        return;
    }
    const int filled = percent * kBarWidth / 100;
    err_ << '\r' << model_->windowTitle() << " [" << std::string(filled, '#')
         << std::string(kBarWidth - filled, '.') << "] " << Format("%3d%%", percent) << std::flush;
    barShown_ = true;
}

void ConsoleWorker::EndBarLine() {
    if (barShown_) err_ << '\n';
    barShown_ = false;
}

}  // namespace sulcan::tool
