#include "slices/slice_drawing.h"

namespace sulcan {

SliceDrawing::SliceDrawing(DisplayFormat format) : format_(format) {
    colours_.rgb = DefaultDisplayColoursRgb();
    SetFormat(format);
}

void SliceDrawing::SetFormat(DisplayFormat format) {
    format_ = format;
    greyTable_.Build(grey_, format_);
    SetColours(colours_.rgb);
}

bool SliceDrawing::SetGrey(const GreyParameters& p) {
    if (!greyTable_.Build(p, format_)) return false;
    grey_ = p;
    return true;
}

void SliceDrawing::SetColours(const ColourTableRgb& rgb) {
    colours_ = BuildDisplayColours(rgb, format_);
    palette_ = BuildPalette(rgb);
}

}  // namespace sulcan
