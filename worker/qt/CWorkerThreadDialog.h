#pragma once
// The modal progress and log dialog of a long task: runs the task on a worker thread and draws
// the WorkerDialogModel. The task's posts arrive as queued calls on the GUI thread, so the
// dialog's event loop keeps running (a task may ask a question through the Qt Ui meanwhile).
#include <QDialog>
#include <memory>
#include <optional>
#include <thread>

#include "worker/WorkerDialogModel.h"

class QEventLoop;
class QLabel;
class QLayout;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace sulcan {

class CWorkerThreadDialog : public QDialog {
public:
    // Copies the task's title; the task must outlive the dialog.
    explicit CWorkerThreadDialog(WorkerTask& task, QWidget* owner = nullptr);
    ~CWorkerThreadDialog() override;

    // Shows the dialog modally while the task runs; Ok when it finished, Cancel when it was
    // cancelled or failed. The worker thread has ended when this returns. Call once.
    WorkerResult Run();

    // Escape and the close box act as the Cancel button.
    void reject() override;

private:
    class Sink;
    void Build();
    QWidget* AddLog();
    QLayout* AddBottomRow(const WorkerDialogLayout& layout);
    void StartThread();
    void Apply(const WorkerDialogChange& change);
    void ShowProgress();
    void ShowLog();
    void ShowButton();
    void CloseWhenReady();
    void ThreadEnded();

    WorkerTask& task_;
    WorkerDialogModel model_;
    std::unique_ptr<Sink> sink_;
    std::thread thread_;
    bool ran_ = false;
    bool threadEnded_ = false;
    std::optional<WorkerResult> result_;  // what the task's last message says
    bool closeDue_ = false;               // the dialog has been shown long enough
    QProgressBar* bar_ = nullptr;
    QLabel* percent_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QPushButton* button_ = nullptr;
    QTimer* titleTimer_ = nullptr;
    QEventLoop* waitLoop_ = nullptr;  // runs while Run waits for the thread after a close
};

}  // namespace sulcan
