#include "slices/qt/CClassifyDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "slices/qt/picture_image.h"

namespace sulcan {

namespace {
constexpr int kTypedLimit = 99999;  // the edits take any number; the model clamps it
constexpr const char* kRegionNote = "Click and drag on upper preview to assign average to slider";
constexpr const char* kPositionNote =
    "The initial preview position and orientation were taken from the active view.";
}  // namespace

// ---------------------------------------------------------------- preview square

CPreviewSquare::CPreviewSquare(OnRegion onRegion) : onRegion_(std::move(onRegion)) {
    setFixedSize(kClassifyPreviewSide, kClassifyPreviewSide);
}

void CPreviewSquare::SetImage(const QImage& image, int horizontalZoom, int verticalZoom) {
    image_ = image;
    drawn_ = QSize(image.width() * horizontalZoom, image.height() * verticalZoom);
    update();
}

void CPreviewSquare::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!image_.isNull()) painter.drawImage(QRect(QPoint(0, 0), drawn_), image_);
    if (!dragging_) return;
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(QRect(from_, to_).normalized());
}

QPoint CPreviewSquare::Clamped(const QPoint& p) const {
    return {std::clamp(p.x(), 0, width() - 1), std::clamp(p.y(), 0, height() - 1)};
}

void CPreviewSquare::mousePressEvent(QMouseEvent* event) {
    if (!onRegion_ || event->button() != Qt::LeftButton) return;
    dragging_ = true;
    from_ = to_ = Clamped(event->position().toPoint());
    update();
}

void CPreviewSquare::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    to_ = Clamped(event->position().toPoint());
    update();
}

void CPreviewSquare::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    to_ = Clamped(event->position().toPoint());
    dragging_ = false;
    update();
    onRegion_(QRect(from_, to_));
}

// ---------------------------------------------------------------- dialog

CClassifyDialog::CClassifyDialog(QWidget* parent, ClassifyDialogModel& model,
                                 std::function<bool()> applyVoi)
    : QDialog(parent), model_(model), applyVoi_(std::move(applyVoi)) {
    setWindowTitle(msg::classify::kTitle);
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(ParametersGroup());
    left->addWidget(OptionsGroup());
    top->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(PreviewsGroup());
    auto* apply = new QPushButton("Apply + Exit");
    auto* preview = new QPushButton("Preview");
    auto* cancel = new QPushButton("Cancel");
    for (QPushButton* b : {apply, preview, cancel}) right->addWidget(b);
    right->addStretch();
    top->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    for (const char* note : {kRegionNote, kPositionNote}) layout->addWidget(new QLabel(note));
    connect(apply, &QPushButton::clicked, this, [this] { ApplyAndExit(); });
    connect(preview, &QPushButton::clicked, this, [this] {
        model_.Preview();
        Show();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Show();
}

QWidget* CClassifyDialog::ParametersGroup() {
    auto* group = new QGroupBox("Classification Parameters");
    auto* grid = new QGridLayout(group);
    for (int s = 0; s < kClassifySliderCount; ++s) {
        const ClassifySliderSpec& spec = ClassifySliderOf(s);
        auto* bar = bars_[s] = new QScrollBar(Qt::Horizontal);
        bar->setObjectName(spec.caption);
        bar->setRange(spec.range.minimum, spec.range.maximum);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setMinimumWidth(160);
        texts_[s] = new QLabel;
        texts_[s]->setMinimumWidth(36);
        grid->addWidget(new QLabel(spec.caption), s, 0);
        grid->addWidget(bar, s, 1);
        grid->addWidget(texts_[s], s, 2);
        connect(bar, &QScrollBar::valueChanged, this, [this, s](int v) {
            model_.SetValue(s, v);
            Show();
        });
    }
    return group;
}

QCheckBox* CClassifyDialog::AddOption(const char* caption, bool on, std::function<void(bool)> set) {
    auto* box = new QCheckBox(caption);
    box->setChecked(on);
    connect(box, &QCheckBox::toggled, this, [this, set = std::move(set)](bool checked) {
        set(checked);
        Show();
    });
    return box;
}

QWidget* CClassifyDialog::OptionsGroup() {
    auto* group = new QGroupBox("Preview options");
    auto* layout = new QHBoxLayout(group);
    auto* checks = new QVBoxLayout;
    ClassifyDialogModel& m = model_;
    checks->addWidget(
        AddOption("Auto Update", m.autoUpdate(), [&m](bool on) { m.SetAutoUpdate(on); }));
    checks->addWidget(
        AddOption("3D Classify", m.classify3D(), [&m](bool on) { m.SetClassify3D(on); }));
    checks->addWidget(AddOption("Overlay White Matter", m.overlayWhite(),
                                [&m](bool on) { m.SetOverlayWhite(on); }));
    checks->addWidget(
        AddOption("Overlay CSF", m.overlayCsf(), [&m](bool on) { m.SetOverlayCsf(on); }));
    layout->addLayout(checks);

    auto* orientation = new QGroupBox("Orientation");
    auto* radios = new QVBoxLayout(orientation);
    const char* colours[3] = {"Red", "Green", "Blue"};
    for (int o = 0; o < 3; ++o) {
        orientations_[o] = new QRadioButton(colours[o]);
        radios->addWidget(orientations_[o]);
        connect(orientations_[o], &QRadioButton::toggled, this, [this, o](bool on) {
            if (!on) return;
            model_.SetOrientation(o);
            Show();
        });
    }
    layout->addWidget(orientation);

    auto* centre = new QGroupBox("Center");
    auto* form = new QFormLayout(centre);
    const std::array<int, 3> axisOf = {2, 1, 0};  // Red: z, Green: y, Blue: x
    for (int row = 0; row < 3; ++row) {
        const int axis = axisOf[row];
        auto* box = centre_[axis] = new QSpinBox;
        box->setObjectName(colours[row]);
        box->setRange(-kTypedLimit, kTypedLimit);
        box->setKeyboardTracking(false);  // a typed value counts when the edit loses focus
        form->addRow(QString(colours[row]) + ":", box);
        connect(box, &QSpinBox::valueChanged, this, [this, axis](int v) {
            model_.SetCentre(axis, v);
            Show();
        });
    }
    layout->addWidget(centre);
    return group;
}

QWidget* CClassifyDialog::PreviewsGroup() {
    auto* group = new QGroupBox("Previews");
    auto* layout = new QVBoxLayout(group);
    upper_ = new CPreviewSquare([this](const QRect& r) {
        model_.AssignRegionAverage(r.left(), r.top(), r.right(), r.bottom());
        Show();
    });
    lower_ = new CPreviewSquare;
    upper_->setObjectName("UpperPreview");
    lower_->setObjectName("LowerPreview");
    layout->addWidget(upper_);
    layout->addWidget(lower_);
    return group;
}

void CClassifyDialog::ApplyAndExit() {
    setEnabled(false);
    const bool applied = applyVoi_();
    setEnabled(true);
    if (applied) accept();
}

void CClassifyDialog::Show() {
    for (int s = 0; s < kClassifySliderCount; ++s) {
        const QSignalBlocker block(bars_[s]);
        bars_[s]->setValue(model_.value(s));
        texts_[s]->setText(QString::fromStdString(model_.valueText(s)));
    }
    for (int o = 0; o < 3; ++o) {
        const QSignalBlocker block(orientations_[o]);
        orientations_[o]->setChecked(model_.orientation() == o);
    }
    for (int axis = 0; axis < 3; ++axis) {
        const QSignalBlocker block(centre_[axis]);
        centre_[axis]->setValue(model_.centre()[axis]);
    }
    const Palette& palette = model_.drawing().palette();
    const int hz = model_.horizontalZoom(), vz = model_.verticalZoom();
    const auto show = [&](CPreviewSquare* square, const std::optional<SlicePicture>& picture) {
        square->SetImage(picture ? ImageOfPicture(*picture, palette).copy() : QImage(), hz, vz);
    };
    show(upper_, model_.UpperPicture());
    show(lower_, model_.LowerPicture());
}

bool RunClassifyDialog(QWidget* parent, ClassifyDialogModel& model,
                       const std::function<bool()>& applyVoi) {
    CClassifyDialog dialog(parent, model, applyVoi);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace sulcan
