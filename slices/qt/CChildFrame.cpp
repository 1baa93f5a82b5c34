#include "slices/qt/CChildFrame.h"

#include <QImage>
#include <algorithm>
#include <QPainter>

namespace sulcan {

CSliceViewPlaceholder::CSliceViewPlaceholder(CSulcanDoc& doc, int zoom, QWidget* parent)
    : QWidget(parent), doc_(doc), zoom_(std::max(1, zoom)) {
    doc_.AddObserver(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CSliceViewPlaceholder::~CSliceViewPlaceholder() { doc_.RemoveObserver(this); }

void CSliceViewPlaceholder::OnDimensionsChanged() {
    updateGeometry();
    update();
}

QSize CSliceViewPlaceholder::sizeHint() const {
    return QSize(doc_.dims().x * zoom_, doc_.dims().y * zoom_);
}

void CSliceViewPlaceholder::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const VolumeDims& d = doc_.dims();
    if (d.voxels() == 0 || doc_.anatomy().size() != d.voxels()) return;
    const int z = doc_.cursor().valid ? std::clamp(doc_.cursor().z, 0, d.z - 1) : d.z / 2;
    // Stretched to the slice's brightest voxel: MR intensities rarely use the whole range.
    const uint8_t* plane = &doc_.anatomy()[d.index(0, 0, z)];
    const int brightest = std::max<int>(1, *std::max_element(plane, plane + d.planeStride()));
    QImage image(d.x, d.y, QImage::Format_Grayscale8);
    for (int y = 0; y < d.y; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < d.x; ++x) line[x] = uchar(plane[d.index(x, y, 0)] * 255 / brightest);
    }
    painter.drawImage(QRect(0, 0, d.x * zoom_, d.y * zoom_), image);
}

CChildFrame::CChildFrame(CSulcanDoc& doc, int zoom, QWidget* parent) : QMdiSubWindow(parent) {
    setWidget(new CSliceViewPlaceholder(doc, zoom, this));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromStdString(doc.settings().projectName()));
}

SliceViewRecord CChildFrame::Record() const {
    SliceViewRecord r;
    const QRect g = geometry();
    int32_t* p = &r.words[SliceViewRecord::kFramePlacement];
    p[0] = 44;  // the placement record's length
    p[2] = isMinimized() ? 2 : isMaximized() ? 3 : 1;
    p[7] = g.left(), p[8] = g.top(), p[9] = g.right() + 1, p[10] = g.bottom() + 1;
    return r;
}

void CChildFrame::Restore(const SliceViewRecord& record) {
    const int32_t* p = &record.words[SliceViewRecord::kFramePlacement];
    if (p[9] > p[7] && p[10] > p[8]) setGeometry(QRect(QPoint(p[7], p[8]), QPoint(p[9] - 1, p[10] - 1)));
}

}  // namespace sulcan
