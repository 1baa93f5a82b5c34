#pragma once
// The "MR Classify" dialog: parameter scroll bars, preview options, orientation, centre and
// the two preview squares, thin over ClassifyDialogModel.
#include <QDialog>
#include <QImage>
#include <QRect>
#include <QWidget>
#include <array>
#include <functional>

#include "slices/classify_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;

namespace sulcan {

// One 80 x 80 preview square; the upper one reports a dragged rectangle (square pixels).
class CPreviewSquare : public QWidget {
  public:
    using OnRegion = std::function<void(const QRect&)>;
    explicit CPreviewSquare(OnRegion onRegion = {});
    void SetImage(const QImage& image, int horizontalZoom, int verticalZoom);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint Clamped(const QPoint& p) const;
    OnRegion onRegion_;
    QImage image_;
    QSize drawn_;
    bool dragging_ = false;
    QPoint from_, to_;
};

class CClassifyDialog : public QDialog {
  public:
    CClassifyDialog(QWidget* parent, ClassifyDialogModel& model, std::function<bool()> applyVoi);

  private:
    QWidget* ParametersGroup();
    QWidget* OptionsGroup();
    QWidget* PreviewsGroup();
    QCheckBox* AddOption(const char* caption, bool on, std::function<void(bool)> set);
    void ApplyAndExit();
    void Show();

    ClassifyDialogModel& model_;
    std::function<bool()> applyVoi_;
    std::array<QScrollBar*, kClassifySliderCount> bars_{};
    std::array<QLabel*, kClassifySliderCount> texts_{};
    std::array<QRadioButton*, 3> orientations_{};
    std::array<QSpinBox*, 3> centre_{};  // x, y, z
    CPreviewSquare* upper_ = nullptr;
    CPreviewSquare* lower_ = nullptr;
};

// Runs the dialog. "Apply + Exit" disables it and calls applyVoi: true closes the dialog and
// returns true, false enables it again. Cancel returns false.
bool RunClassifyDialog(QWidget* parent, ClassifyDialogModel& model,
                       const std::function<bool()>& applyVoi);

}  // namespace sulcan
