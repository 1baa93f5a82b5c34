#pragma once
// Placing and naming the pair of windows of a slice view: the view's frame and its tool
// window, inside the main window's client area (all rectangles in that area's coordinates).
#include <string>

#include "platform/rect.h"

namespace sulcan {

// "Tools" followed by the view frame's instance suffix: the part of its caption from the last
// colon up to the next blank ("Tools:2"), or just "Tools" without a colon.
std::string ToolWindowCaption(const std::string& viewCaption);
// The frame caption of view `index` (1-based) of `count`: the project name alone for a single
// view, else "name:index".
std::string ViewFrameCaption(const std::string& projectName, int index, int count);

// A saved rectangle moved so that it stays reachable: its right edge at least 75 pixels right
// of the client area's left edge, its left edge at least 40 pixels left of the right edge and
// its top at least 20 pixels above the bottom. The size is kept.
Rect KeepReachable(const Rect& saved, const Rect& client);

struct ViewPairPlacement {
    Rect frame, tool;
};
// Without a saved record: the tool window at the client area's right edge, vertically
// centred; the frame sized to `fullFrame` (the frame that shows the whole zoomed picture) but
// at most the width left of the tool window and the client height, centred in that space.
// When both do not fit side by side the frame goes to the left edge and the tool window
// directly right of it, or both to the left edge when the tool window alone is wider than
// the client area.
ViewPairPlacement PlaceNewViewPair(const Rect& client, Size tool, Size fullFrame);

// "Maximise": the frame resized to `fullFrame` and moved up and left as needed to stay inside
// the client area.
Rect FitFrameToPicture(const Rect& frame, Size fullFrame, const Rect& client);

}  // namespace sulcan
