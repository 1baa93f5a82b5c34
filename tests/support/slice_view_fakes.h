#pragma once
// Stand-ins for the window and the preferences around a slice view model, for tests that
// drive the model with plain calls.
#include <array>

#include "slices/SliceViewModel.h"

namespace sulcan::testing {

// Records what the view asks of its window; the client area starts at 200 x 160.
struct RecordingViewHost : SliceViewHost {
    int repaints = 0, panelRefreshes = 0, scheduled = 0;
    bool focus = true, captured = false, blinking = true;
    Size client{200, 160};
    Size maximum{};
    ScrollPosition scroll;

    void Repaint() override { ++repaints; }
    void RefreshToolPanel() override { ++panelRefreshes; }
    void CaptureMouse(bool c) override { captured = c; }
    bool HasFocus() const override { return focus; }
    Size ClientSize() const override { return client; }
    void FitClient(Size c, Size m) override { client = c, maximum = m; }
    ScrollPosition Scroll() const override { return scroll; }
    void SetScroll(ScrollPosition s) override { scroll = s; }
    void SetBlinkTimer(bool on) override { blinking = on; }
    void ScheduleAnimation() override { ++scheduled; }
};

struct ViewPreferences : SliceViewPreferences {
    explicit ViewPreferences(std::array<int, 3> newViewZoom = {1, 1, 1}) : zoom(newViewZoom) {}
    bool grabSingly = true, xyzLock = true;
    std::array<int, 3> zoom;
    bool GrabSingly() const override { return grabSingly; }
    bool XyzLock() const override { return xyzLock; }
    std::array<int, 3> NewViewZoom() const override { return zoom; }
    void SetNewViewZoom(const std::array<int, 3>& z) override { zoom = z; }
};

}  // namespace sulcan::testing
