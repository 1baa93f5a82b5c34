#pragma once
// The frame of one slice view and the view's tool window: a pair of MDI children that are
// minimised, restored and raised together.
#include <QMdiSubWindow>
#include <QPointer>
#include <optional>

#include "platform/rect.h"
#include "slices/qt/CSulcanView.h"
#include "slices/qt/CToolFrame.h"

namespace sulcan {

// The placement words of a saved record (length, flags, show state, minimised and maximised
// positions, normal rectangle), for the frame at kFramePlacement and the tool window at
// kToolPlacement.
void StorePlacement(const QMdiSubWindow& window, int32_t* words);
// The saved normal rectangle, or none when the words hold no placement.
std::optional<Rect> PlacementRect(const int32_t* words);
bool PlacementMinimised(const int32_t* words);

class CChildFrame : public QMdiSubWindow {
  public:
    // The view starts from `record` when given, else from the `active` view when given.
    CChildFrame(CSulcanDoc& doc, Ui& ui, SliceDrawing& drawing, SliceViewPreferences& preferences,
                const SliceViewRecord* record, const SliceViewModel* active,
                QWidget* parent = nullptr);
    ~CChildFrame() override;

    CSulcanView* view() const { return view_; }
    CToolFrame* toolFrame() const { return tool_; }
    void SetToolFrame(CToolFrame* tool) { tool_ = tool; }
    // Frame, tool window and view parts of the saved view record.
    SliceViewRecord Record() const;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void OnStateChange(Qt::WindowStates old, Qt::WindowStates now);
    void ShowWholePicture();

    CSulcanView* view_;
    QPointer<CToolFrame> tool_;
};

}  // namespace sulcan
