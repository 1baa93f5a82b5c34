#include "slices/qt/CToolPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <climits>

#include "segment/editing.h"
#include "slices/qt/CSulcanView.h"

namespace sulcan {

namespace {
struct CoordinateRow {
    int axis;
    const char* label;
    const char* colour;
};
// Rows in panel order: z (red), y (green), x (blue).
constexpr CoordinateRow kCoordinateRows[3] = {{2, "Z", "red"}, {1, "Y", "green"}, {0, "X", "blue"}};

struct SwitchBox {
    const char* text;
    ViewSwitch which;
};
constexpr SwitchBox kSwitchBoxes[kViewSwitchCount] = {
    {"White matter", ViewSwitch::White},
    {"Cerebral spinal fluid", ViewSwitch::Csf},
    {"Gray matter", ViewSwitch::Gray},
    {"Position crossbars", ViewSwitch::PositionCrossbars},
    {"VOI crossbars", ViewSwitch::VoiCrossbars},
    {"Regions of interest (ROIs)", ViewSwitch::Rois},
    {"Functional data", ViewSwitch::Functional},
    {"Clip functionals to ROIs", ViewSwitch::ClipFunctionals},
    {"Cuts", ViewSwitch::Cuts},
};

QGroupBox* Group(const char* title, QLayout* layout) {
    auto* box = new QGroupBox(title);
    box->setLayout(layout);
    return box;
}

// Radio buttons with the given texts and group ids, laid out in `layout`.
QButtonGroup* Radios(QWidget* owner, QLayout* layout,
                     std::initializer_list<std::pair<const char*, int>> items) {
    auto* group = new QButtonGroup(owner);
    for (const auto& [text, id] : items) {
        auto* radio = new QRadioButton(text);
        group->addButton(radio, id);
        layout->addWidget(radio);
    }
    return group;
}
}  // namespace

StepSpinBox::StepSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(INT_MIN / 2, INT_MAX / 2);
    setKeyboardTracking(false);
}

void StepSpinBox::stepBy(int steps) {
    if (stepped) stepped(steps);
}

void StepSpinBox::SetTextReadOnly() {
    lineEdit()->setReadOnly(true);
}

CToolPanel::CToolPanel(CSulcanView& view, QWidget* parent) : QWidget(parent), view_(view) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildPosition());
    layout->addWidget(BuildEditMode());
    layout->addWidget(BuildEditSize());
    layout->addWidget(BuildOverlays());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Refresh(view_.model().PanelState());
}

void CToolPanel::Forward(const std::function<void(SliceViewModel&)>& command) {
    command(view_.model());
    view_.setFocus(Qt::OtherFocusReason);
}

QWidget* CToolPanel::BuildPosition() {
    auto* grid = new QGridLayout;
    auto* radios = new QVBoxLayout;
    orientation_ =
        Radios(this, radios, {{"Red/Z/Sagittal", 0}, {"Green/Y/Axial", 1}, {"Blue/X/Coronal", 2}});
    grid->addLayout(radios, 0, 0, 1, 2);
    connect(orientation_, &QButtonGroup::idClicked, this,
            [this](int id) { Forward([id](SliceViewModel& m) { m.SetOrientation(id); }); });
    for (int row = 0; row < 3; ++row) {
        const CoordinateRow& r = kCoordinateRows[row];
        auto* label = new QLabel(r.label);
        label->setStyleSheet(QString("color: %1; font-weight: bold").arg(r.colour));
        auto* box = coordinate_[r.axis] = new StepSpinBox;
        const int axis = r.axis;
        box->stepped = [this, axis](int step) {
            Forward([axis, step](SliceViewModel& m) { m.SpinCoordinate(axis, step); });
        };
        connect(box, &QSpinBox::editingFinished, this, [this, box, axis] {
            const int32_t shown = view_.model().TypeCoordinate(axis, box->value());
            const QSignalBlocker block(box);
            box->setValue(shown);
        });
        grid->addWidget(label, row + 1, 0);
        grid->addWidget(box, row + 1, 1);
    }
    slice_ = new StepSpinBox;
    slice_->SetTextReadOnly();
    slice_->stepped = [this](int step) {
        Forward([step](SliceViewModel& m) { m.SpinSlice(step); });
    };
    grid->addWidget(new QLabel("Slice"), 4, 0);
    grid->addWidget(slice_, 4, 1);
    return Group("Position / Orientation", grid);
}

QWidget* CToolPanel::BuildEditMode() {
    auto* row = new QHBoxLayout;
    editMode_ =
        Radios(this, row, {{"White", kEditWhite}, {"CSF", kEditCsf}, {"None", kEditModeNone}});
    connect(editMode_, &QButtonGroup::idClicked, this,
            [this](int id) { Forward([id](SliceViewModel& m) { m.SetEditMode(id); }); });
    return Group("Edit mode", row);
}

QWidget* CToolPanel::BuildEditSize() {
    auto* row = new QHBoxLayout;
    editSize_ =
        Radios(this, row, {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"9", 9}, {"15", 15}});
    connect(editSize_, &QButtonGroup::idClicked, this,
            [this](int id) { Forward([id](SliceViewModel& m) { m.SetEditSize(id); }); });
    return Group("Edit size", row);
}

QWidget* CToolPanel::BuildOverlays() {
    auto* column = new QVBoxLayout;
    for (int i = 0; i < kViewSwitchCount; ++i) {
        const ViewSwitch which = kSwitchBoxes[i].which;
        auto* box = switches_[i] = new QCheckBox(kSwitchBoxes[i].text);
        column->addWidget(box);
        connect(box, &QCheckBox::clicked, this,
                [this, which] { Forward([which](SliceViewModel& m) { m.ToggleSwitch(which); }); });
    }
    return Group("Overlays", column);
}

void CToolPanel::Refresh(const ToolPanelState& state) {
    for (QButtonGroup* group : {orientation_, editMode_, editSize_}) {
        const QSignalBlocker block(group);
        const int id = group == orientation_ ? state.orientation
                       : group == editMode_  ? state.editMode
                                             : state.editSize;
        if (QAbstractButton* b = group->button(id)) b->setChecked(true);
    }
    for (int axis = 0; axis < 3; ++axis) {
        const QSignalBlocker block(coordinate_[axis]);
        if (!coordinate_[axis]->hasFocus()) coordinate_[axis]->setValue(state.point[axis]);
    }
    const QSignalBlocker block(slice_);
    slice_->setValue(state.point[SliceAxisOf(state.orientation)]);
    for (int i = 0; i < kViewSwitchCount; ++i) {
        const QSignalBlocker b(switches_[i]);
        switches_[i]->setChecked(view_.model().Switch(kSwitchBoxes[i].which));
    }
}

}  // namespace sulcan
