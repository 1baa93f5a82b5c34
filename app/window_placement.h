#pragma once
// Where the main window opens, from the rectangle stored at the last run.
#include "platform/rect.h"

namespace sulcan {

inline constexpr int kDefaultWindowWidth = 1024, kDefaultWindowHeight = 768;
inline constexpr int kMinimumWindowSize = 200;

// A rectangle equal to the whole desktop gives a centred 1024 x 768 window; otherwise each
// edge is clamped into the desktop, reversed edges are swapped, and a window narrower or lower
// than 200 pixels is enlarged to 200 and shifted back inside.
Rect PlaceMainWindow(const Rect& stored, const Rect& desktop);

}  // namespace sulcan
