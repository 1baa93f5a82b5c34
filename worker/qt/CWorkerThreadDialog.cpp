#include "worker/qt/CWorkerThreadDialog.h"

#include <QBoxLayout>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <system_error>

namespace sulcan {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Dialog units of the dialog's font: a quarter of the average character width, an eighth of
// the character height.
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        QFontMetrics metrics(font);
        const int alphabet =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX = (alphabet / 26 + 1) / 2;
        baseY = metrics.height();
    }
    int X(int units) const { return (units * baseX + 2) / 4; }
    int Y(int units) const { return (units * baseY + 4) / 8; }
    int baseX = 0, baseY = 0;
};

}  // namespace

// Hands each post over to the GUI thread; queued calls to a destroyed dialog are dropped.
class CWorkerThreadDialog::Sink : public WorkerSink {
public:
    explicit Sink(CWorkerThreadDialog* dialog) : dialog_(dialog) {}
    void Post(WorkerPost post) override {
        CWorkerThreadDialog* d = dialog_;
        QMetaObject::invokeMethod(
            d, [d, post = std::move(post)] { d->Apply(d->model_.Receive(post)); },
            Qt::QueuedConnection);
    }

private:
    CWorkerThreadDialog* dialog_;
};

CWorkerThreadDialog::CWorkerThreadDialog(WorkerTask& task, QWidget* owner)
    : QDialog(owner), task_(task), model_(task), sink_(std::make_unique<Sink>(this)) {
    setWindowTitle(Q(model_.windowTitle()));
    titleTimer_ = new QTimer(this);
    connect(titleTimer_, &QTimer::timeout, this, [this] {
        model_.Tick();
        setWindowTitle(Q(model_.windowTitle()));
    });
}

CWorkerThreadDialog::~CWorkerThreadDialog() {
    if (thread_.joinable()) thread_.join();
}

WorkerResult CWorkerThreadDialog::Run() {
    if (ran_) return result_.value_or(WorkerResult::Cancel);  // a second call runs nothing
    ran_ = true;
    model_.Start(*sink_);
    Build();
    setWindowTitle(Q(model_.windowTitle()));
    titleTimer_->start(WorkerDialogModel::kTimerMs);
    StartThread();
    exec();
    titleTimer_->stop();
    if (!threadEnded_) {
        // Closed from outside while the task runs: ask it to stop and keep serving its queued
        // calls (a question it asks) until it has, instead of blocking in join.
        task_.cancelRequested = 1;
        QEventLoop wait;
        waitLoop_ = &wait;
        wait.exec();
        waitLoop_ = nullptr;
    }
    if (thread_.joinable()) thread_.join();
    return result_.value_or(model_.finished() ? WorkerResult::Ok : WorkerResult::Cancel);
}

void CWorkerThreadDialog::reject() {
    Apply(model_.PressCancel());
}

void CWorkerThreadDialog::Build() {
    const WorkerDialogLayout& layout = model_.layout();
    const DialogUnits du(font());
    if (layout.log || layout.progress || layout.cancel) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(du.X(7), du.Y(7), du.X(7), du.Y(7));
        if (layout.log) column->addWidget(AddLog(), 1);
        if (layout.progress || layout.cancel) column->addLayout(AddBottomRow(layout));
    }
    const QSize units(du.X(layout.width), du.Y(layout.height));
    setFixedSize(layout.height > 0 ? units.expandedTo(minimumSizeHint()) : units);
}

// Progress bar and percentage at the left, the button at the right (centred when alone).
QLayout* CWorkerThreadDialog::AddBottomRow(const WorkerDialogLayout& layout) {
    auto* row = new QHBoxLayout;
    if (layout.progress) {
        bar_ = new QProgressBar;
        bar_->setRange(0, 100);
        bar_->setTextVisible(false);
        percent_ = new QLabel;
        percent_->setMinimumWidth(
            QFontMetrics(font()).horizontalAdvance(worker_msg::kPercentSizingText));
        row->addWidget(bar_, 1);
        row->addWidget(percent_);
        ShowProgress();
    }
    if (layout.cancel) {
        if (!layout.progress) row->addStretch(1);
        button_ = new QPushButton;
        button_->setDefault(true);
        connect(button_, &QPushButton::clicked, this, [this] { reject(); });
        row->addWidget(button_);
        if (!layout.progress && !layout.log) row->addStretch(1);
        ShowButton();
    }
    return row;
}

QWidget* CWorkerThreadDialog::AddLog() {
    log_ = new QPlainTextEdit;
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    log_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return log_;
}

void CWorkerThreadDialog::StartThread() {
    try {
        thread_ = std::thread([this] {
            task_.RunEntry();
            QMetaObject::invokeMethod(
                this, [this] { ThreadEnded(); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        threadEnded_ = true;
        task_.PostFailure(worker_msg::kThreadNotStarted);
    }
}

void CWorkerThreadDialog::Apply(const WorkerDialogChange& change) {
    if (change.progress) ShowProgress();
    if (change.log) ShowLog();
    if (change.button) ShowButton();
    if (change.close) {
        result_ = change.close->result;
        QTimer::singleShot(change.close->delayMs, this, [this] {
            closeDue_ = true;
            CloseWhenReady();
        });
    }
}

void CWorkerThreadDialog::ShowProgress() {
    if (!bar_) return;
    bar_->setValue(model_.progress());
    percent_->setText(Q(model_.percentText()));
}

void CWorkerThreadDialog::ShowLog() {
    if (!log_) return;
    log_->setPlainText(Q(model_.log()));
    log_->moveCursor(QTextCursor::End);
    log_->ensureCursorVisible();
}

void CWorkerThreadDialog::ShowButton() {
    if (!button_) return;
    button_->setText(Q(model_.buttonText()));
    button_->setEnabled(model_.buttonEnabled());
}

// The dialog goes only once the thread has ended too, so the task's results are complete and
// nothing it posts can reach a dialog that is gone.
void CWorkerThreadDialog::CloseWhenReady() {
    if (closeDue_ && threadEnded_) done(*result_ == WorkerResult::Ok ? Accepted : Rejected);
}

void CWorkerThreadDialog::ThreadEnded() {
    threadEnded_ = true;
    if (thread_.joinable()) thread_.join();
    if (waitLoop_) waitLoop_->quit();
    CloseWhenReady();
}

}  // namespace sulcan
