#include "slices/qt/view_dialogs_qt.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "slices/SliceViewModel.h"
#include "slices/qt/picture_image.h"

namespace sulcan {

namespace {
QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
}  // namespace

// ---------------------------------------------------------------- greyscale

CGreyscaleDialog::CGreyscaleDialog(QWidget* parent, GreyscaleDialogModel& model,
                                   const Palette& palette, BuildPreview preview)
    : QDialog(parent),
      model_(model),
      palette_(palette),
      preview_(std::move(preview)),
      previewBox_(new QLabel) {
    setWindowTitle(msg::view::kGreyscaleTitle);
    previewBox_->setFixedSize(kPreviewSide, kPreviewSide);
    previewBox_->setStyleSheet("background: black");
    sliders_ = new QGridLayout;
    auto* layout = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(sliders_);
    layout->addLayout(left);
    layout->addWidget(previewBox_, 0, Qt::AlignTop);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(layout);
    AddSlider("Brightness", kBrightnessRange, [this](int v) { model_.SetBrightness(v); });
    AddSlider("Contrast", kContrastRange, [this](int v) { model_.SetContrast(v); });
    AddSlider("Gamma", kGammaRange, [this](int v) { model_.SetGamma(v); });
    auto* presets = new QHBoxLayout;
    auto* linear = new QPushButton("Linear");
    auto* flat = new QPushButton("Flat");
    presets->addWidget(linear);
    presets->addWidget(flat);
    presets->addStretch();
    left->addLayout(presets);
    connect(linear, &QPushButton::clicked, this, [this] {
        model_.Linear();
        Show();
    });
    connect(flat, &QPushButton::clicked, this, [this] {
        model_.Flat();
        Show();
    });
    outer->addWidget(OkCancel(this));
    Show();
}

void CGreyscaleDialog::AddSlider(const char* caption, SliderRange range,
                                 std::function<void(int)> set) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(caption);
    slider->setRange(range.minimum, range.maximum);
    slider->setPageStep(SliderPageStep(range));
    slider->setMinimumWidth(200);
    auto* value = new QLabel;
    value->setMinimumWidth(40);
    sliders_->addWidget(new QLabel(caption), rowCount_, 0);
    sliders_->addWidget(slider, rowCount_, 1);
    sliders_->addWidget(value, rowCount_, 2);
    rows_[rowCount_++] = {slider, value};
    connect(slider, &QSlider::valueChanged, this, [this, set = std::move(set)](int v) {
        set(v);
        Show();
    });
}

void CGreyscaleDialog::Show() {
    const GreyRegistryValues& v = model_.values();
    const int values[3] = {v.brightness, v.contrast, v.gamma};
    for (int i = 0; i < rowCount_; ++i) {
        const QSignalBlocker block(rows_[i].slider);
        rows_[i].slider->setValue(values[i]);
        rows_[i].value->setText(
            QString::fromStdString(i < 2 ? HundredthsText(values[i]) : TenthsText(values[i])));
    }
    const std::optional<SlicePicture> picture = preview_();
    if (picture)
        previewBox_->setPixmap(QPixmap::fromImage(ImageOfPicture(*picture, palette_).copy()));
    else
        previewBox_->clear();
}

// ---------------------------------------------------------------- zoom

CZoomDialog::CZoomDialog(QWidget* parent, ZoomDialogModel& model)
    : QDialog(parent), model_(model), lock_(new QCheckBox("Lock")) {
    setWindowTitle(msg::view::kZoomTitle);
    auto* form = new QFormLayout;
    const char* labels[3] = {"X (blue)", "Y (green)", "Z (red)"};
    for (int axis = 0; axis < 3; ++axis) {
        auto* box = factors_[axis] = new QSpinBox;
        box->setRange(kMinZoom, kMaxZoom);
        form->addRow(labels[axis], box);
        connect(box, &QSpinBox::valueChanged, this, [this, axis](int v) {
            model_.SetFactor(axis, v);
            Show();
        });
    }
    form->addRow(lock_);
    connect(lock_, &QCheckBox::toggled, this, [this](bool on) { model_.SetLocked(on); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
    Show();
}

void CZoomDialog::Show() {
    for (int axis = 0; axis < 3; ++axis) {
        const QSignalBlocker block(factors_[axis]);
        factors_[axis]->setValue(model_.zoom()[axis]);
    }
    const QSignalBlocker block(lock_);
    lock_->setChecked(model_.locked());
}

}  // namespace sulcan
