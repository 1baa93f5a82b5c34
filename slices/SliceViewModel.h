#pragma once
// One slice view without its window: what it shows (orientation, slice, point, zooms, VOI,
// overlay switches), how the mouse and the commands change that, how it reacts to the
// document's change codes, and the picture it paints. The widget supplies a SliceViewHost and
// forwards its events here; every rule lives in this class.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/rect.h"
#include "project/ProjectSettings.h"
#include "slices/slice_drawing.h"
#include "slices/slice_picture.h"
#include "slices/tiff_writer.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {

class Ui;

enum DragState {
    kDragIdle = 0,
    kDragPoint = 1,    // the point's crossbars
    kDragVoiMin = 2,   // the VOI's minimum edge(s)
    kDragVoiMax = 3,   // the VOI's maximum edge(s)
    kDragPaint = 4,
    kDragErase = 5,
};

enum class ViewSwitch {
    White, Csf, Gray, Rois, Functional, ClipFunctionals, Cuts, PositionCrossbars, VoiCrossbars
};
inline constexpr int kViewSwitchCount = 9;

// The brush sides of the "Edit size" commands, in menu order.
inline constexpr std::array<int, 7> kEditSizes = {1, 2, 3, 4, 5, 9, 15};
inline constexpr int kMinZoom = 1, kMaxZoom = 25;

enum class MouseButton { Left, Right };

struct ScrollPosition {
    int x = 0, y = 0;
    bool operator==(const ScrollPosition&) const = default;
};

// The window around a view.
class SliceViewHost {
  public:
    virtual ~SliceViewHost() = default;
    virtual void Repaint() = 0;
    virtual void RefreshToolPanel() = 0;
    virtual void CaptureMouse(bool capture) = 0;
    virtual bool HasFocus() const = 0;
    // The client area of the view's frame, without scroll bars.
    virtual Size ClientSize() const = 0;
    // The frame keeps its top-left corner; its client area becomes `client` and it never grows
    // beyond the client area `maximum` (the zoomed picture).
    virtual void FitClient(Size client, Size maximum) = 0;
    virtual ScrollPosition Scroll() const = 0;
    // Already kept inside the zoomed picture by the view.
    virtual void SetScroll(ScrollPosition position) = 0;
    virtual void SetBlinkTimer(bool running) = 0;
    // Calls AdvanceAnimation on this view after 10 ms.
    virtual void ScheduleAnimation() = 0;
};

// Preferences the views read, and the zoom factors for views created later.
class SliceViewPreferences {
  public:
    virtual ~SliceViewPreferences() = default;
    virtual bool GrabSingly() const = 0;
    virtual bool XyzLock() const = 0;
    virtual std::array<int, 3> NewViewZoom() const = 0;
    virtual void SetNewViewZoom(const std::array<int, 3>& zoom) = 0;
};

// What the tool panel shows.
struct ToolPanelState {
    int orientation = 0;
    std::array<int32_t, 3> point{};  // x, y, z
    int editMode = 3;
    int editSize = 1;
    OverlaySwitches switches;
    bool operator==(const ToolPanelState&) const = default;
};

class SliceViewModel : public DocumentObserver {
  public:
    SliceViewModel(CSulcanDoc& doc, Ui& ui, const SliceDrawing& drawing,
                   SliceViewPreferences& preferences, SliceViewHost& host);
    ~SliceViewModel() override;
    SliceViewModel(const SliceViewModel&) = delete;
    SliceViewModel& operator=(const SliceViewModel&) = delete;

    // The state of a new view: from the saved record when there is one, else copied from the
    // active view, else centred. Call once, before the first paint.
    void Initialise(const SliceViewRecord* record, const SliceViewModel* active);
    // Words 24..47 of the record (scroll, zooms, mode, orientation, point, switches, size).
    void StoreRecord(SliceViewRecord& record) const;

    // ---- state
    CSulcanDoc& doc() { return doc_; }
    int orientation() const { return orientation_; }
    int32_t slice() const { return point_[SliceAxis()]; }
    const std::array<int32_t, 3>& point() const { return point_; }
    const std::array<int, 3>& zoom() const { return zoom_; }
    const VoiBox& voi() const { return voi_; }
    const OverlaySwitches& switches() const { return on_; }
    bool Switch(ViewSwitch which) const;
    int editMode() const { return editMode_; }
    int editSize() const { return editSize_; }
    int dragState() const { return drag_; }
    bool animating() const { return animating_; }
    bool brushShown() const { return brushShown_; }
    PicturePoint brushPosition() const { return brushAt_; }
    // Volume axis (0 x, 1 y, 2 z) along the slices and along the picture's two axes.
    int SliceAxis() const;
    int HorizontalAxis() const;
    int VerticalAxis() const;
    int horizontalZoom() const { return zoom_[HorizontalAxis()]; }
    int verticalZoom() const { return zoom_[VerticalAxis()]; }
    Size PictureSize() const;  // voxels
    Size ZoomedSize() const;   // screen pixels
    ToolPanelState PanelState() const;

    // ---- drawing
    // Level 0 repaints; 1 and 2 drop the picture so the next paint rebuilds it.
    void Refresh(int level);
    // Builds the picture when needed, draws the brush and crossbars into it, hands it to
    // `blit` and removes the marks again. Nothing is drawn when the picture cannot be built.
    // An animating view then schedules the next step.
    void Paint(const std::function<void(const SlicePicture&)>& blit);
    const SlicePicture* picture() const { return picture_ ? &*picture_ : nullptr; }
    // The picture with crossbars and VOI lines as RGB, one pixel per voxel.
    std::optional<RgbImage> Capture();

    // ---- commands
    void SetEditMode(int mode);
    void ToggleEditMode();  // white -> CSF -> none -> white
    void SetEditSize(int size);
    void ToggleSwitch(ViewSwitch which);
    void SetOrientation(int orientation);  // the orientation commands
    void ToggleOrientation();
    void NextSlice();
    void PreviousSlice();
    // Each factor applies only within 1..25; returns false when none did.
    bool SetZoom(int x, int y, int z);
    void SetPointAlongAxis(int axis, int32_t value);
    void GoToPoint(int32_t x, int32_t y, int32_t z);
    void SetAnimating(bool on);
    // Called 10 ms after an animating paint: steps the next view of the document.
    void AdvanceAnimation();

    // ---- tool panel
    // A typed coordinate, clamped into the volume, becomes the point along that axis; returns
    // the value the box shows.
    int32_t TypeCoordinate(int axis, int64_t typed);
    void SpinCoordinate(int axis, int step);
    void SpinSlice(int step);

    // ---- mouse and focus; positions in client pixels
    void ButtonPress(MouseButton button, int x, int y, bool ctrl, bool otherButtonDown);
    void ButtonRelease(MouseButton button, int x, int y);
    void MouseMove(int x, int y, bool buttonDown, bool ctrl);
    void FocusIn();
    void FocusOut();
    // The window system took the mouse away: ends a drag with its release steps, no repaint.
    void CancelMode();
    void BlinkTick();
    // The scroll bars moved: the position is remembered for this orientation.
    void OnScrolled();
    // After the frame was placed: scrolls to the position remembered for this orientation
    // (the saved record's), kept inside the zoomed picture.
    void RestoreScroll();

    // ---- from other views and the document
    // Another view painted (x, y, z) with `label`.
    void UpdateVoxel(int32_t x, int32_t y, int32_t z, uint8_t label);
    void OnDocumentChanged(int changeCode) override;
    void OnDimensionsChanged() override;  // re-layout for new volume dimensions

  private:
    PicturePoint PictureAt(int x, int y) const;
    PicturePoint ClampedToPicture(PicturePoint p) const;
    void ChangeOrientation(int orientation);
    void SetScrollClamped(ScrollPosition position);
    bool EnsurePicture();
    void SetSwitch(ViewSwitch which, bool on);
    void PublishPoint();
    void TakeDocumentPoint(bool repaint);
    void TakeDocumentVoi(bool repaint);
    void PaintAt(PicturePoint at, bool erase);
    void RecolourLabel(int column, int row, uint8_t label);
    void Grab(PicturePoint at);
    void GrabSingly(PicturePoint at);
    void GrabPaired(PicturePoint at);
    void MoveDrag(PicturePoint at);
    void EndDrag(bool repaint);
    void PutVoiInOrder();
    void SetVoiAndTell();
    void SelectAt(PicturePoint at, bool select);
    void ScrollToPoint();
    void FitFrame(Size client);
    void OtherViews(const std::function<void(SliceViewModel&)>& each);
    void StepSliceWrapping();
    SliceMarks Marks(bool withBrush) const;

    CSulcanDoc& doc_;
    Ui& ui_;
    const SliceDrawing& drawing_;
    SliceViewPreferences& prefs_;
    SliceViewHost& host_;

    int orientation_ = 0;
    std::array<int32_t, 3> point_{};
    std::array<int, 3> zoom_{3, 3, 3};
    VoiBox voi_;
    OverlaySwitches on_;
    std::array<int32_t, 4> saved_{};  // forced overlay, ROIs, functional, cuts
    int editMode_ = 3;
    int editSize_ = 1;
    int drag_ = kDragIdle;
    bool dragHorizontal_ = false, dragVertical_ = false;
    bool pendingSelect_ = false, pendingDeselect_ = false;
    PicturePoint brushAt_{-1, -1};
    bool brushShown_ = false;
    bool animating_ = false;
    int32_t animationStartSlice_ = 0;

    struct Remembered {
        ScrollPosition scroll;
        Size client;
        bool sizeValid = false;
    };
    std::array<Remembered, 3> remembered_{};
    std::optional<SlicePicture> picture_;
};

}  // namespace sulcan
