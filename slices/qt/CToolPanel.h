#pragma once
// The tool panel of a slice view: orientation, point, edit mode, edit size and overlay
// controls. Every control forwards to the view model and then gives the focus back to the
// view; Refresh shows the model's state without sending anything back.
#include <QButtonGroup>
#include <QCheckBox>
#include <QSpinBox>
#include <QWidget>
#include <array>
#include <functional>

#include "slices/SliceViewModel.h"

namespace sulcan {

class CSulcanView;

// A spin box whose arrows report their step instead of changing the value, so the model
// decides what the box shows.
class StepSpinBox : public QSpinBox {
  public:
    explicit StepSpinBox(QWidget* parent = nullptr);
    std::function<void(int)> stepped;
    void stepBy(int steps) override;
    // Arrows only: the text shows the value but cannot be edited.
    void SetTextReadOnly();

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

class CToolPanel : public QWidget {
  public:
    explicit CToolPanel(CSulcanView& view, QWidget* parent = nullptr);
    void Refresh(const ToolPanelState& state);
    // The box of the point along a volume axis (0 x, 1 y, 2 z), for tests.
    StepSpinBox* CoordinateBox(int axis) const { return coordinate_[axis]; }

  private:
    QWidget* BuildPosition();
    QWidget* BuildEditMode();
    QWidget* BuildEditSize();
    QWidget* BuildOverlays();
    // Runs `command` on the model, then hands the focus back to the view.
    void Forward(const std::function<void(SliceViewModel&)>& command);

    CSulcanView& view_;
    QButtonGroup* orientation_;
    QButtonGroup* editMode_;
    QButtonGroup* editSize_;
    std::array<StepSpinBox*, 3> coordinate_{};
    StepSpinBox* slice_ = nullptr;
    std::array<QCheckBox*, kViewSwitchCount> switches_{};
};

}  // namespace sulcan
