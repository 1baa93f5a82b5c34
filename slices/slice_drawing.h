#pragma once
// The drawing tables every slice view and the greyscale dialog's preview share: the display
// format found at start-up, the greyscale table, the eleven drawing colours and, for the
// indexed format, the application palette. Owned by the application.
#include "slices/display_format.h"
#include "slices/grey_table.h"
#include "slices/slice_picture.h"

namespace sulcan {

class SliceDrawing {
  public:
    explicit SliceDrawing(DisplayFormat format = DisplayFormat::Rgb32);

    DisplayFormat format() const { return format_; }
    // Rebuilds the greyscale table, the colours and the palette in the new format.
    void SetFormat(DisplayFormat format);

    const GreyParameters& greyParameters() const { return grey_; }
    // Refused (false, nothing changed) for parameters out of range.
    bool SetGrey(const GreyParameters& p);
    const GreyTable& greyTable() const { return greyTable_; }

    // Entries 0..10 as 0xRRGGBB; the display pixels and the palette follow.
    void SetColours(const ColourTableRgb& rgb);
    const DisplayColours& colours() const { return colours_; }
    const Palette& palette() const { return palette_; }

    SliceTables tables() const { return {greyTable_, colours_, format_}; }

  private:
    DisplayFormat format_;
    GreyParameters grey_;
    GreyTable greyTable_;
    DisplayColours colours_;
    Palette palette_{};
};

}  // namespace sulcan
