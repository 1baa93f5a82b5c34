#pragma once
// Window rectangles in screen pixels: right and bottom lie one past the last pixel.
namespace sulcan {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

}  // namespace sulcan
