#include "slices/qt/picture_image.h"

namespace sulcan {

namespace {
QImage::Format QtFormat(DisplayFormat format) {
    switch (format) {
        case DisplayFormat::Rgb32:
            return QImage::Format_RGB32;
        case DisplayFormat::Rgb24:
            return QImage::Format_BGR888;
        case DisplayFormat::Rgb565:
            return QImage::Format_RGB16;
        case DisplayFormat::Rgb555:
            return QImage::Format_RGB555;
        case DisplayFormat::Palette8:
            return QImage::Format_Indexed8;
    }
    return QImage::Format_RGB32;
}
}  // namespace

QImage ImageOfPicture(const SlicePicture& picture, const Palette& palette) {
    QImage image(picture.pixels.data(), picture.width, picture.height, qsizetype(picture.rowBytes),
                 QtFormat(picture.format));
    if (picture.format == DisplayFormat::Palette8) {
        QList<QRgb> table;
        table.reserve(qsizetype(palette.size()));
        for (const Rgb& c : palette) table.push_back(qRgb(c.r, c.g, c.b));
        image.setColorTable(table);
    }
    return image;
}

}  // namespace sulcan
