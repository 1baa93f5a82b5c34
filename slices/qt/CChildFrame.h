#pragma once
// A slice view window of the project. Until the slice views arrive it shows the middle
// sagittal slice of the anatomy in grey at the view's zoom.
#include <QMdiSubWindow>
#include <QWidget>

#include "volume/CSulcanDoc.h"

namespace sulcan {

class CSliceViewPlaceholder : public QWidget, public DocumentObserver {
public:
    CSliceViewPlaceholder(CSulcanDoc& doc, int zoom, QWidget* parent = nullptr);
    ~CSliceViewPlaceholder() override;
    void OnDocumentChanged(int) override { update(); }
    void OnDimensionsChanged() override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CSulcanDoc& doc_;
    int zoom_;
};

class CChildFrame : public QMdiSubWindow {
public:
    CChildFrame(CSulcanDoc& doc, int zoom, QWidget* parent = nullptr);
    // The frame's part of the saved view record (placement words).
    SliceViewRecord Record() const;
    void Restore(const SliceViewRecord& record);
};

}  // namespace sulcan
