#pragma once
// The slice view widget: paints the view model's picture stretched by the zooms, with scroll
// bars over the zoomed picture, and forwards mouse, focus and timer events to the model.
#include <QAbstractScrollArea>
#include <QTimer>
#include <functional>

#include "slices/SliceViewModel.h"

namespace sulcan {

class CSulcanView : public QAbstractScrollArea, public SliceViewHost {
  public:
    CSulcanView(CSulcanDoc& doc, Ui& ui, SliceDrawing& drawing, SliceViewPreferences& preferences,
                QWidget* parent = nullptr);

    SliceViewModel& model() { return model_; }
    const SliceViewModel& model() const { return model_; }
    // Called whenever the view's state changed (tool panel, menu check marks).
    std::function<void()> onStateChanged;
    // The size of the frame around this view that shows `client` with the scroll bars it
    // needs when the zoomed picture is `maximum`.
    QSize FrameSizeFor(Size client, Size maximum) const;
    // The frame size that shows the whole zoomed picture.
    QSize FullFrameSize() const;

    // SliceViewHost
    void Repaint() override;
    void RefreshToolPanel() override;
    void CaptureMouse(bool) override {}  // the implicit grab of a pressed button suffices
    bool HasFocus() const override { return hasFocus(); }
    Size ClientSize() const override;
    void FitClient(Size client, Size maximum) override;
    ScrollPosition Scroll() const override;
    void SetScroll(ScrollPosition position) override;
    void SetBlinkTimer(bool running) override;
    void ScheduleAnimation() override;

  protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QSize Decoration() const;
    void UpdateScrollRanges();

    SliceDrawing& drawing_;
    SliceViewModel model_;
    QTimer blink_;
};

}  // namespace sulcan
