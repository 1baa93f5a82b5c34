#include "app/window_placement.h"

#include <algorithm>
#include <utility>

namespace sulcan {

namespace {

// Clamps and orders one axis [lo, hi] into [min, max] with at least `minimum` length.
void FitAxis(int& lo, int& hi, int min, int max, int minimum) {
    lo = std::clamp(lo, min, max);
    hi = std::clamp(hi, min, max);
    if (lo > hi) std::swap(lo, hi);
    if (hi - lo < minimum) {
        hi = lo + minimum;
        if (hi > max) {  // shift back inside
            lo -= hi - max;
            hi = max;
            lo = std::max(lo, min);
        }
    }
}

}  // namespace

Rect PlaceMainWindow(const Rect& stored, const Rect& desktop) {
    if (stored == desktop) {
        const int w = std::min(kDefaultWindowWidth, desktop.width());
        const int h = std::min(kDefaultWindowHeight, desktop.height());
        const int left = desktop.left + (desktop.width() - w) / 2;
        const int top = desktop.top + (desktop.height() - h) / 2;
        return {left, top, left + w, top + h};
    }
    Rect r = stored;
    FitAxis(r.left, r.right, desktop.left, desktop.right, kMinimumWindowSize);
    FitAxis(r.top, r.bottom, desktop.top, desktop.bottom, kMinimumWindowSize);
    return r;
}

}  // namespace sulcan
