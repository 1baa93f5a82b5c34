#include "slices/view_frames.h"

#include <algorithm>

namespace sulcan {

namespace {

constexpr int kReachableRight = 75;   // right edge at least this far right of the client's left
constexpr int kReachableLeft = 40;    // left edge at least this far left of the client's right
constexpr int kReachableBottom = 20;  // top at least this far above the client's bottom

Rect RectAt(int left, int top, Size size) {
    return {left, top, left + size.width, top + size.height};
}

Rect Moved(const Rect& r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The top that centres `height` in the client area, never above it.
int CentredTop(const Rect& client, int height) {
    return client.top + std::max((client.height() - height) / 2, 0);
}

// The position along one axis that keeps [start, start + length) inside [lo, hi) by moving
// only towards lo, and never before lo.
int PulledBack(int start, int length, int lo, int hi) {
    return std::min(start, std::max(hi - length, lo));
}

}  // namespace

std::string ToolWindowCaption(const std::string& viewCaption) {
    const size_t colon = viewCaption.rfind(':');
    if (colon == std::string::npos) return "Tools";
    const size_t blank = viewCaption.find(' ', colon);
    return "Tools" + viewCaption.substr(colon, blank == std::string::npos ? blank : blank - colon);
}

std::string ViewFrameCaption(const std::string& projectName, int index, int count) {
    if (count <= 1) return projectName;
    return projectName + ":" + std::to_string(index);
}

Rect KeepReachable(const Rect& saved, const Rect& client) {
    int dx = 0, dy = 0;
    if (saved.right < client.left + kReachableRight)
        dx = client.left + kReachableRight - saved.right;
    if (saved.left + dx > client.right - kReachableLeft)
        dx = client.right - kReachableLeft - saved.left;
    if (saved.top > client.bottom - kReachableBottom)
        dy = client.bottom - kReachableBottom - saved.top;
    return Moved(saved, dx, dy);
}

ViewPairPlacement PlaceNewViewPair(const Rect& client, Size tool, Size fullFrame) {
    // Normally the tool window sits at the right edge and the frame is centred in the room left
    // of it (a frame wider than that room fills it from the left edge). A tool window wider
    // than the client area leaves no room: both go to the left edge and the frame overlaps it.
    const bool toolTooWide = tool.width > client.width();
    const int room = toolTooWide ? client.width() : client.width() - tool.width;
    const Size frame{std::min(fullFrame.width, room), std::min(fullFrame.height, client.height())};
    const int frameLeft = toolTooWide ? client.left : client.left + (room - frame.width) / 2;
    const int toolLeft = toolTooWide ? client.left : client.right - tool.width;
    return {RectAt(frameLeft, CentredTop(client, frame.height), frame),
            RectAt(toolLeft, CentredTop(client, tool.height), tool)};
}

Rect FitFrameToPicture(const Rect& frame, Size fullFrame, const Rect& client) {
    return RectAt(PulledBack(frame.left, fullFrame.width, client.left, client.right),
                  PulledBack(frame.top, fullFrame.height, client.top, client.bottom), fullFrame);
}

}  // namespace sulcan
