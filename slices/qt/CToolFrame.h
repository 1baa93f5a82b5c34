#pragma once
// The tool window of a slice view: an MDI child holding the view's tool panel, captioned after
// the view's frame and closed, minimised and restored together with it.
#include <QMdiSubWindow>
#include <QPointer>

namespace sulcan {

class CChildFrame;
class CSulcanView;
class CToolPanel;

class CToolFrame : public QMdiSubWindow {
  public:
    explicit CToolFrame(CChildFrame& frame, QWidget* parent = nullptr);
    ~CToolFrame() override;

    CSulcanView* view() const;
    CChildFrame* frame() const { return frame_; }
    CToolPanel* panel() const { return panel_; }
    // Called by the frame as it is minimised or restored.
    void MinimiseWithFrame();
    void RestoreWithFrame();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnStateChange(Qt::WindowStates old, Qt::WindowStates now);
    void Recaption();

    QPointer<CChildFrame> frame_;
    CToolPanel* panel_;
    bool minimisedWithFrame_ = false;
};

}  // namespace sulcan
