#pragma once
// The slice view's dialogs: "Set Display Parameters" (greyscale sliders with a preview of the
// slice around the point) and "Set X-Y-Z Zoom factors". Their state is in the dialog models.
#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <optional>

#include "slices/view_dialogs.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QSlider;
class QSpinBox;

namespace sulcan {

class CGreyscaleDialog : public QDialog {
  public:
    // `preview` builds the preview picture from the table as it is now.
    using BuildPreview = std::function<std::optional<SlicePicture>()>;
    CGreyscaleDialog(QWidget* parent, GreyscaleDialogModel& model, const Palette& palette,
                     BuildPreview preview);
    static constexpr int kPreviewSide = 128;

  private:
    void AddSlider(const char* caption, SliderRange range, std::function<void(int)> set);
    void Show();

    GreyscaleDialogModel& model_;
    const Palette& palette_;
    BuildPreview preview_;
    QLabel* previewBox_;
    QGridLayout* sliders_;
    struct Row {
        QSlider* slider;
        QLabel* value;
    };
    std::array<Row, 3> rows_{};
    int rowCount_ = 0;
};

class CZoomDialog : public QDialog {
  public:
    CZoomDialog(QWidget* parent, ZoomDialogModel& model);

  private:
    void Show();

    ZoomDialogModel& model_;
    std::array<QSpinBox*, 3> factors_{};
    QCheckBox* lock_;
};

}  // namespace sulcan
