#pragma once
// A slice picture seen as a QImage: the pixels are shared, not copied, so the image is valid
// only while the picture is unchanged.
#include <QImage>

#include "slices/slice_drawing.h"
#include "slices/slice_picture.h"

namespace sulcan {

QImage ImageOfPicture(const SlicePicture& picture, const Palette& palette);

}  // namespace sulcan
