#include "slices/qt/CSulcanView.h"

#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <optional>

#include "slices/qt/picture_image.h"

namespace sulcan {

namespace {
constexpr int kBlinkMs = 500;
constexpr int kAnimationStepMs = 10;

std::optional<MouseButton> ButtonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return MouseButton::Left;
    if (button == Qt::RightButton) return MouseButton::Right;
    return std::nullopt;
}

bool Ctrl(const QMouseEvent* e) {
    return e->modifiers() & Qt::ControlModifier;
}
}  // namespace

CSulcanView::CSulcanView(CSulcanDoc& doc, Ui& ui, SliceDrawing& drawing,
                         SliceViewPreferences& preferences, QWidget* parent)
    : QAbstractScrollArea(parent), drawing_(drawing), model_(doc, ui, drawing, preferences, *this) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::CrossCursor);
    blink_.setInterval(kBlinkMs);
    connect(&blink_, &QTimer::timeout, this, [this] { model_.BlinkTick(); });
    blink_.start();
}

// ---------------------------------------------------------------- geometry

QSize CSulcanView::Decoration() const {
    const QWidget* frame = parentWidget();
    if (!frame) return {0, 0};
    const QMargins m = frame->contentsMargins();
    return {m.left() + m.right(), m.top() + m.bottom()};
}

QSize CSulcanView::FrameSizeFor(Size client, Size maximum) const {
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool horizontalBar = client.width < maximum.width;
    const bool verticalBar = client.height < maximum.height;
    return QSize(client.width + (verticalBar ? bar : 0),
                 client.height + (horizontalBar ? bar : 0)) +
           Decoration();
}

QSize CSulcanView::FullFrameSize() const {
    const Size zoomed = model_.ZoomedSize();
    return FrameSizeFor(zoomed, zoomed);
}

Size CSulcanView::ClientSize() const {
    return {viewport()->width(), viewport()->height()};
}

void CSulcanView::FitClient(Size client, Size maximum) {
    QWidget* frame = parentWidget();
    if (!frame) return;
    frame->setMaximumSize(FrameSizeFor(maximum, maximum));
    if (!frame->isMinimized()) frame->resize(FrameSizeFor(client, maximum));
    UpdateScrollRanges();
}

void CSulcanView::UpdateScrollRanges() {
    const Size zoomed = model_.ZoomedSize();
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, zoomed.width - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, zoomed.height - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setSingleStep(model_.horizontalZoom());
    verticalScrollBar()->setSingleStep(model_.verticalZoom());
}

void CSulcanView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

ScrollPosition CSulcanView::Scroll() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CSulcanView::SetScroll(ScrollPosition position) {
    UpdateScrollRanges();
    horizontalScrollBar()->setValue(position.x);
    verticalScrollBar()->setValue(position.y);
}

void CSulcanView::scrollContentsBy(int, int) {
    model_.OnScrolled();
    viewport()->update();
}

// ---------------------------------------------------------------- host

void CSulcanView::Repaint() {
    UpdateScrollRanges();
    viewport()->update();
}

void CSulcanView::RefreshToolPanel() {
    if (onStateChanged) onStateChanged();
}

void CSulcanView::SetBlinkTimer(bool running) {
    if (running)
        blink_.start();
    else
        blink_.stop();
}

void CSulcanView::ScheduleAnimation() {
    QTimer::singleShot(kAnimationStepMs, this, [this] { model_.AdvanceAnimation(); });
}

// ---------------------------------------------------------------- painting

void CSulcanView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    const Size zoomed = model_.ZoomedSize();
    const QRect target(-horizontalScrollBar()->value(), -verticalScrollBar()->value(), zoomed.width,
                       zoomed.height);
    bool drawn = false;
    model_.Paint([&](const SlicePicture& picture) {
        painter.drawImage(target, ImageOfPicture(picture, drawing_.palette()));
        drawn = true;
    });
    if (!drawn) {
        painter.fillRect(area, Qt::black);
        return;
    }
    const int right = target.right() + 1, bottom = target.bottom() + 1;
    if (right < area.width())
        painter.fillRect(right, 0, area.width() - right, area.height(), Qt::black);
    if (bottom < area.height())
        painter.fillRect(0, bottom, std::min(right, area.width()), area.height() - bottom,
                         Qt::black);
}

// ---------------------------------------------------------------- input

void CSulcanView::mousePressEvent(QMouseEvent* e) {
    const std::optional<MouseButton> button = ButtonOf(e->button());
    if (!button) return;
    const Qt::MouseButton other = *button == MouseButton::Left ? Qt::RightButton : Qt::LeftButton;
    const QPoint p = e->position().toPoint();
    model_.ButtonPress(*button, p.x(), p.y(), Ctrl(e), (e->buttons() & other) != 0);
}

void CSulcanView::mouseReleaseEvent(QMouseEvent* e) {
    const std::optional<MouseButton> button = ButtonOf(e->button());
    if (!button) return;
    const QPoint p = e->position().toPoint();
    model_.ButtonRelease(*button, p.x(), p.y());
}

void CSulcanView::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    const bool buttonDown = (e->buttons() & (Qt::LeftButton | Qt::RightButton)) != 0;
    model_.MouseMove(p.x(), p.y(), buttonDown, Ctrl(e));
}

void CSulcanView::focusInEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusInEvent(e);
    model_.FocusIn();
}

void CSulcanView::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    model_.FocusOut();
}

bool CSulcanView::viewportEvent(QEvent* e) {
    // The window system took the mouse away during a drag (a popup or another window).
    if (e->type() == QEvent::UngrabMouse) model_.CancelMode();
    return QAbstractScrollArea::viewportEvent(e);
}

}  // namespace sulcan
