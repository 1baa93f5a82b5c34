#include "slices/qt/CChildFrame.h"

#include <QEvent>
#include <QMdiArea>
#include <QTimer>

#include "slices/qt/CToolFrame.h"
#include "slices/view_frames.h"

namespace sulcan {

namespace {
constexpr int32_t kPlacementLength = 44;
enum PlacementWord { kLength = 0, kShowState = 2, kLeft = 7, kTop = 8, kRight = 9, kBottom = 10 };
enum ShowState { kShowNormal = 1, kShowMinimised = 2, kShowMaximised = 3 };

Rect RectOf(const QRect& r) {
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}
QRect QRectOf(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
}  // namespace

void StorePlacement(const QMdiSubWindow& window, int32_t* words) {
    const Rect r = RectOf(window.geometry());
    words[kLength] = kPlacementLength;
    words[kShowState] = window.isMinimized()   ? kShowMinimised
                        : window.isMaximized() ? kShowMaximised
                                               : kShowNormal;
    words[kLeft] = r.left, words[kTop] = r.top, words[kRight] = r.right, words[kBottom] = r.bottom;
}

std::optional<Rect> PlacementRect(const int32_t* words) {
    const Rect r{words[kLeft], words[kTop], words[kRight], words[kBottom]};
    if (words[kLength] != kPlacementLength || r.width() <= 0 || r.height() <= 0)
        return std::nullopt;
    return r;
}

bool PlacementMinimised(const int32_t* words) {
    return words[kShowState] == kShowMinimised;
}

CChildFrame::CChildFrame(CSulcanDoc& doc, Ui& ui, SliceDrawing& drawing,
                         SliceViewPreferences& preferences, const SliceViewRecord* record,
                         const SliceViewModel* active, QWidget* parent)
    : QMdiSubWindow(parent), view_(new CSulcanView(doc, ui, drawing, preferences, this)) {
    view_->model().Initialise(record, active);
    setWidget(view_);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QMdiSubWindow::windowStateChanged, this, &CChildFrame::OnStateChange);
}

CChildFrame::~CChildFrame() {
    // The base class still reports state changes while it is destroyed.
    disconnect(this, &QMdiSubWindow::windowStateChanged, this, nullptr);
    delete tool_;
}

SliceViewRecord CChildFrame::Record() const {
    SliceViewRecord r;
    StorePlacement(*this, &r.words[SliceViewRecord::kFramePlacement]);
    if (tool_) StorePlacement(*tool_, &r.words[SliceViewRecord::kToolPlacement]);
    view_->model().StoreRecord(r);
    return r;
}

void CChildFrame::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    // Maximising shows the whole picture instead, once Qt has finished its own state change.
    if (event->type() == QEvent::WindowStateChange && isMaximized())
        QTimer::singleShot(0, this, [this] { ShowWholePicture(); });
}

void CChildFrame::ShowWholePicture() {
    if (!isMaximized()) return;
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    const QWidget* area = parentWidget();
    if (!area) return;
    const Size full{view_->FullFrameSize().width(), view_->FullFrameSize().height()};
    setGeometry(QRectOf(FitFrameToPicture(RectOf(geometry()), full, RectOf(area->rect()))));
}

void CChildFrame::OnStateChange(Qt::WindowStates old, Qt::WindowStates now) {
    if (!tool_) return;
    const bool minimised = now & Qt::WindowMinimized, wasMinimised = old & Qt::WindowMinimized;
    if (minimised && !wasMinimised) {
        tool_->MinimiseWithFrame();
    } else if (wasMinimised && !minimised) {
        tool_->RestoreWithFrame();
        raise();
    }
    // Gaining the focus brings both windows to the top.
    if ((now & Qt::WindowActive) && !(old & Qt::WindowActive)) {
        tool_->raise();
        raise();
    }
}

}  // namespace sulcan
