#include "slices/qt/CToolFrame.h"

#include <QCloseEvent>
#include <QTimer>

#include "slices/qt/CChildFrame.h"
#include "slices/qt/CToolPanel.h"
#include "slices/view_frames.h"

namespace sulcan {

CToolFrame::CToolFrame(CChildFrame& frame, QWidget* parent)
    : QMdiSubWindow(parent, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      frame_(&frame),
      panel_(new CToolPanel(*frame.view(), this)) {
    setWidget(panel_);
    setAttribute(Qt::WA_ShowWithoutActivating);
    frame.SetToolFrame(this);
    Recaption();
    connect(&frame, &QWidget::windowTitleChanged, this, [this] { Recaption(); });
    connect(this, &QMdiSubWindow::windowStateChanged, this, &CToolFrame::OnStateChange);
}

// The base class still reports state changes while it is destroyed.
CToolFrame::~CToolFrame() {
    disconnect(this, &QMdiSubWindow::windowStateChanged, this, nullptr);
}

CSulcanView* CToolFrame::view() const {
    return frame_ ? frame_->view() : nullptr;
}

void CToolFrame::Recaption() {
    if (frame_)
        setWindowTitle(
            QString::fromStdString(ToolWindowCaption(frame_->windowTitle().toStdString())));
}

void CToolFrame::closeEvent(QCloseEvent* event) {
    // The frame decides (the last view asks to close the project) and takes this window along;
    // it is closed from the event loop, since closing may delete this window.
    event->ignore();
    if (frame_)
        QTimer::singleShot(0, frame_.data(), [frame = frame_] {
            if (frame) frame->close();
        });
}

void CToolFrame::MinimiseWithFrame() {
    if (isMinimized()) return;
    minimisedWithFrame_ = true;
    setWindowState((windowState() | Qt::WindowMinimized) & ~Qt::WindowActive);
}

void CToolFrame::RestoreWithFrame() {
    if (minimisedWithFrame_ && isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    minimisedWithFrame_ = false;
}

void CToolFrame::OnStateChange(Qt::WindowStates old, Qt::WindowStates now) {
    if (!frame_) return;
    const bool restored = (old & Qt::WindowMinimized) && !(now & Qt::WindowMinimized);
    if (restored && frame_->isMinimized()) {
        frame_->showNormal();
        raise();
    }
    if (restored) minimisedWithFrame_ = false;
    // Gaining the focus brings both windows to the top.
    if ((now & Qt::WindowActive) && !(old & Qt::WindowActive)) {
        frame_->raise();
        raise();
    }
}

}  // namespace sulcan
