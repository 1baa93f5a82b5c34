#include "slices/SliceViewModel.h"

#include <algorithm>
#include <cstdlib>

#include "segment/editing.h"
#include "segment/select_connected.h"
#include "slices/image_export.h"

namespace sulcan {

namespace {

bool IsEditSize(int size) {
    return std::find(kEditSizes.begin(), kEditSizes.end(), size) != kEditSizes.end();
}
bool Edits(int mode) { return mode == kEditWhite || mode == kEditCsf; }
uint8_t TissueOfMode(int mode) { return mode == kEditWhite ? White : Csf; }

int32_t Extent(const VolumeDims& d, int axis) { return axis == 0 ? d.x : axis == 1 ? d.y : d.z; }

int32_t& VoiBound(VoiBox& v, int axis, bool maximum) {
    if (axis == 0) return maximum ? v.xmax : v.xmin;
    if (axis == 1) return maximum ? v.ymax : v.ymin;
    return maximum ? v.zmax : v.zmin;
}

// Floor division, so that positions left of or above the picture stay negative.
int PictureCoordinate(int pixel, int scroll, int zoom) {
    const int p = pixel + scroll;
    return p >= 0 ? p / zoom : -((-p + zoom - 1) / zoom);
}

bool* SwitchField(OverlaySwitches& on, ViewSwitch which) {
    switch (which) {
        case ViewSwitch::White: return &on.white;
        case ViewSwitch::Csf: return &on.csf;
        case ViewSwitch::Gray: return &on.gray;
        case ViewSwitch::Rois: return &on.rois;
        case ViewSwitch::Functional: return &on.functional;
        case ViewSwitch::ClipFunctionals: return &on.clipFunctionals;
        case ViewSwitch::Cuts: return &on.cuts;
        case ViewSwitch::PositionCrossbars: return &on.positionCrossbars;
        case ViewSwitch::VoiCrossbars: return &on.voiCrossbars;
    }
    return &on.white;
}

bool OnlyRepaints(ViewSwitch which) {
    return which == ViewSwitch::PositionCrossbars || which == ViewSwitch::VoiCrossbars;
}

// The record words of the nine switches, in ViewSwitch order.
constexpr int kSwitchWords[kViewSwitchCount] = {
    SliceViewRecord::kShowWhite,      SliceViewRecord::kShowCsf,
    SliceViewRecord::kShowGray,       SliceViewRecord::kShowRoi,
    SliceViewRecord::kShowFunctional, SliceViewRecord::kClipFunctional,
    SliceViewRecord::kShowCut,        SliceViewRecord::kShowCrossbars,
    SliceViewRecord::kShowVoi,
};

}  // namespace

SliceViewModel::SliceViewModel(CSulcanDoc& doc, Ui& ui, const SliceDrawing& drawing,
                               SliceViewPreferences& preferences, SliceViewHost& host)
    : doc_(doc), ui_(ui), drawing_(drawing), prefs_(preferences), host_(host) {
    doc_.AddObserver(this);
}

SliceViewModel::~SliceViewModel() { doc_.RemoveObserver(this); }

// ---------------------------------------------------------------- creation and record

void SliceViewModel::Initialise(const SliceViewRecord* record, const SliceViewModel* active) {
    const VolumeDims& d = doc_.dims();
    const std::array<int, 3> zoom = prefs_.NewViewZoom();
    for (int a = 0; a < 3; ++a) zoom_[a] = std::clamp(zoom[a], kMinZoom, kMaxZoom);
    voi_ = doc_.GetVoi();
    if (record) {
        const auto& w = record->words;
        if (w[SliceViewRecord::kEditMode] == 0 || w[SliceViewRecord::kEditMode] == 1)
            editMode_ = w[SliceViewRecord::kEditMode];
        if (w[SliceViewRecord::kOrientation] >= 0 && w[SliceViewRecord::kOrientation] <= 2)
            orientation_ = w[SliceViewRecord::kOrientation];
        if (IsEditSize(w[SliceViewRecord::kEditSize])) editSize_ = w[SliceViewRecord::kEditSize];
        for (int a = 0; a < 3; ++a) {
            zoom_[a] = std::clamp(w[SliceViewRecord::kZoomX + a], kMinZoom, kMaxZoom);
            point_[a] = std::clamp(w[SliceViewRecord::kPositionX + a], 0, Extent(d, a) - 1);
        }
        for (int s = 0; s < kViewSwitchCount; ++s)
            *SwitchField(on_, ViewSwitch(s)) = w[kSwitchWords[s]] != 0;
        for (int i = 0; i < 4; ++i) saved_[i] = w[SliceViewRecord::kSavedOverlayStates + i];
        if (on_.functional || on_.cuts || on_.rois) editMode_ = kEditModeNone;
        remembered_[orientation_].scroll = {w[SliceViewRecord::kScrollX],
                                            w[SliceViewRecord::kScrollY]};
    } else if (active) {
        point_ = active->point_;
        zoom_ = active->zoom_;
        voi_ = active->voi_;
        editMode_ = active->editMode_;
        editSize_ = active->editSize_;
        orientation_ = active->orientation_;
        on_ = active->on_;
        saved_ = active->saved_;
    } else {
        point_ = {d.x / 2, d.y / 2, d.z / 2};
    }
    if (prefs_.XyzLock()) {
        const CursorPoint& c = doc_.cursor();
        if (c.valid && d.contains(c.x, c.y, c.z)) point_ = {c.x, c.y, c.z};
    }
    picture_.reset();
}

void SliceViewModel::StoreRecord(SliceViewRecord& record) const {
    auto& w = record.words;
    const ScrollPosition scroll = host_.Scroll();
    w[SliceViewRecord::kScrollX] = scroll.x;
    w[SliceViewRecord::kScrollY] = scroll.y;
    for (int a = 0; a < 3; ++a) {
        w[SliceViewRecord::kZoomX + a] = zoom_[a];
        w[SliceViewRecord::kPositionX + a] = point_[a];
    }
    w[SliceViewRecord::kEditMode] = editMode_;
    w[SliceViewRecord::kOrientation] = orientation_;
    for (int s = 0; s < kViewSwitchCount; ++s) w[kSwitchWords[s]] = Switch(ViewSwitch(s)) ? 1 : 0;
    for (int i = 0; i < 4; ++i) w[SliceViewRecord::kSavedOverlayStates + i] = saved_[i];
    w[SliceViewRecord::kEditSize] = editSize_;
}

// ---------------------------------------------------------------- state

bool SliceViewModel::Switch(ViewSwitch which) const {
    OverlaySwitches copy = on_;
    return *SwitchField(copy, which);
}

int SliceViewModel::SliceAxis() const { return SliceAxisOf(orientation_); }
int SliceViewModel::HorizontalAxis() const { return HorizontalAxisOf(orientation_); }
int SliceViewModel::VerticalAxis() const { return VerticalAxisOf(orientation_); }

Size SliceViewModel::PictureSize() const {
    const VolumeDims& d = doc_.dims();
    return {Extent(d, HorizontalAxis()), Extent(d, VerticalAxis())};
}

Size SliceViewModel::ZoomedSize() const {
    const Size p = PictureSize();
    return {p.width * horizontalZoom(), p.height * verticalZoom()};
}

ToolPanelState SliceViewModel::PanelState() const {
    return {orientation_, point_, editMode_, editSize_, on_};
}

// ---------------------------------------------------------------- drawing

void SliceViewModel::Refresh(int level) {
    if (level > 0) picture_.reset();
    host_.Repaint();
}

bool SliceViewModel::EnsurePicture() {
    if (!picture_)
        picture_ = BuildSlicePicture(SliceSourceOf(doc_), orientation_, slice(), on_,
                                     drawing_.tables());
    return picture_.has_value();
}

SliceMarks SliceViewModel::Marks(bool withBrush) const {
    SliceMarks marks = MarksOf(orientation_, point_[0], point_[1], point_[2], voi_, on_);
    if (withBrush && host_.HasFocus() && brushShown_ && brushAt_.column >= 0 && !animating_) {
        marks.brush = true;
        marks.brushAt = brushAt_;
        marks.brushSize = editSize_;
    }
    return marks;
}

void SliceViewModel::Paint(const std::function<void(const SlicePicture&)>& blit) {
    if (!EnsurePicture()) return;
    {
        MarkedPicture marked(*picture_, Marks(true), drawing_.colours());
        blit(*picture_);
    }
    if (animating_) host_.ScheduleAnimation();
}

std::optional<RgbImage> SliceViewModel::Capture() {
    if (!EnsurePicture()) return std::nullopt;
    MarkedPicture marked(*picture_, Marks(false), drawing_.colours());
    const SlicePicture& p = *picture_;
    const PictureRef ref{p.pixels.data(), p.width,  p.height,
                         p.rowBytes,      p.format, &drawing_.palette()};
    return CaptureSlicePicture(ref, {});
}

// ---------------------------------------------------------------- commands

void SliceViewModel::SetEditMode(int mode) {
    if (mode != kEditWhite && mode != kEditCsf && mode != kEditModeNone) return;
    const OverlaySwitches before = on_;
    const int old = editMode_;
    if (mode != old) {
        if (old == kEditWhite) on_.white = saved_[0] != 0;
        if (old == kEditCsf) on_.csf = saved_[0] != 0;
        if (old == kEditModeNone) {
            saved_[1] = on_.rois, saved_[2] = on_.functional, saved_[3] = on_.cuts;
            on_.rois = on_.functional = on_.cuts = false;
        } else if (mode == kEditModeNone) {
            on_.rois = saved_[1] != 0, on_.functional = saved_[2] != 0, on_.cuts = saved_[3] != 0;
        }
        bool* forced = mode == kEditWhite ? &on_.white : mode == kEditCsf ? &on_.csf : nullptr;
        if (forced) {
            saved_[0] = *forced;
            *forced = true;
        }
        editMode_ = mode;
    }
    if (!Edits(editMode_)) brushShown_ = false;
    if (!(on_ == before)) Refresh(1);
    host_.RefreshToolPanel();
}

void SliceViewModel::ToggleEditMode() {
    SetEditMode(editMode_ == kEditWhite ? kEditCsf : editMode_ == kEditCsf ? kEditModeNone
                                                                            : kEditWhite);
}

void SliceViewModel::SetEditSize(int size) {
    if (!IsEditSize(size)) return;
    editSize_ = size;
    host_.RefreshToolPanel();
    host_.Repaint();
}

void SliceViewModel::SetSwitch(ViewSwitch which, bool on) {
    *SwitchField(on_, which) = on;
    if ((which == ViewSwitch::White && editMode_ == kEditWhite) ||
        (which == ViewSwitch::Csf && editMode_ == kEditCsf))
        saved_[0] = on;
    if (which == ViewSwitch::Rois && on) editMode_ = kEditModeNone;
    Refresh(OnlyRepaints(which) ? 0 : 1);
    host_.RefreshToolPanel();
}

void SliceViewModel::ToggleSwitch(ViewSwitch which) { SetSwitch(which, !Switch(which)); }

void SliceViewModel::ChangeOrientation(int orientation) {
    if (orientation == orientation_ || orientation < 0 || orientation > 2) return;
    picture_.reset();
    remembered_[orientation_].client = host_.ClientSize();
    remembered_[orientation_].sizeValid = true;
    orientation_ = orientation;
    const Remembered& now = remembered_[orientation_];
    FitFrame(now.sizeValid ? now.client : host_.ClientSize());
    SetScrollClamped(now.scroll);
    host_.Repaint();
}

void SliceViewModel::SetOrientation(int orientation) {
    if (orientation == orientation_) return;
    ChangeOrientation(orientation);
    doc_.SetCursor(point_[0], point_[1], point_[2], orientation_, true);
    host_.RefreshToolPanel();
}

void SliceViewModel::ToggleOrientation() { SetOrientation((orientation_ + 1) % 3); }

void SliceViewModel::NextSlice() { SetPointAlongAxis(SliceAxis(), slice() + 1); }
void SliceViewModel::PreviousSlice() { SetPointAlongAxis(SliceAxis(), slice() - 1); }

bool SliceViewModel::SetZoom(int x, int y, int z) {
    const int wanted[3] = {x, y, z};
    bool any = false;
    for (int a = 0; a < 3; ++a)
        if (wanted[a] >= kMinZoom && wanted[a] <= kMaxZoom) {
            zoom_[a] = wanted[a];
            any = true;
        }
    if (!any) return false;
    picture_.reset();
    FitFrame(host_.ClientSize());
    remembered_ = {};
    ScrollToPoint();
    prefs_.SetNewViewZoom(zoom_);
    host_.Repaint();
    return true;
}

void SliceViewModel::FitFrame(Size client) {
    const Size zoomed = ZoomedSize();
    host_.FitClient({std::min(zoomed.width, client.width), std::min(zoomed.height, client.height)},
                    zoomed);
}

void SliceViewModel::SetScrollClamped(ScrollPosition position) {
    const Size zoomed = ZoomedSize(), client = host_.ClientSize();
    position.x = std::clamp(position.x, 0, std::max(0, zoomed.width - client.width));
    position.y = std::clamp(position.y, 0, std::max(0, zoomed.height - client.height));
    host_.SetScroll(position);
    remembered_[orientation_].scroll = position;
}

void SliceViewModel::OnScrolled() { remembered_[orientation_].scroll = host_.Scroll(); }

void SliceViewModel::RestoreScroll() { SetScrollClamped(remembered_[orientation_].scroll); }

void SliceViewModel::ScrollToPoint() {
    const Size client = host_.ClientSize();
    ScrollPosition s = host_.Scroll();
    const int px = point_[HorizontalAxis()] * horizontalZoom();
    const int py = point_[VerticalAxis()] * verticalZoom();
    if (px < s.x || px >= s.x + client.width) s.x = px - client.width / 2;
    if (py < s.y || py >= s.y + client.height) s.y = py - client.height / 2;
    SetScrollClamped(s);
}

void SliceViewModel::SetPointAlongAxis(int axis, int32_t value) {
    if (axis < 0 || axis > 2 || value < 0 || value >= Extent(doc_.dims(), axis)) return;
    const bool newSlice = axis == SliceAxis() && value != point_[axis];
    point_[axis] = value;
    if (newSlice)
        Refresh(1);
    else if (on_.positionCrossbars)
        host_.Repaint();
    PublishPoint();
    host_.RefreshToolPanel();
}

void SliceViewModel::GoToPoint(int32_t x, int32_t y, int32_t z) {
    const VolumeDims& d = doc_.dims();
    if (!d.contains(x, y, z)) return;
    point_ = {x, y, z};
    picture_.reset();
    ScrollToPoint();
    host_.RefreshToolPanel();
    host_.Repaint();
}

void SliceViewModel::PublishPoint() {
    doc_.SetCursor(point_[0], point_[1], point_[2], orientation_, drag_ == kDragIdle);
    if (prefs_.XyzLock()) OtherViews([](SliceViewModel& v) { v.OnDocumentChanged(kChangeCursor); });
}

void SliceViewModel::OtherViews(const std::function<void(SliceViewModel&)>& each) {
    for (DocumentObserver* o : std::vector<DocumentObserver*>(doc_.observers()))
        if (auto* view = dynamic_cast<SliceViewModel*>(o); view && view != this) each(*view);
}

// ---------------------------------------------------------------- animation

void SliceViewModel::SetAnimating(bool on) {
    if (on == animating_) return;
    animating_ = on;
    if (on) {
        host_.SetBlinkTimer(false);
        animationStartSlice_ = slice();
        host_.Repaint();
    } else {
        point_[SliceAxis()] = animationStartSlice_;
        Refresh(1);
        host_.SetBlinkTimer(true);
    }
}

void SliceViewModel::AdvanceAnimation() {
    if (!animating_) return;
    std::vector<SliceViewModel*> views;
    for (DocumentObserver* o : doc_.observers())
        if (auto* view = dynamic_cast<SliceViewModel*>(o)) views.push_back(view);
    const auto me = std::find(views.begin(), views.end(), this);
    if (me == views.end()) return;
    SliceViewModel* next = std::next(me) == views.end() ? views.front() : *std::next(me);
    next->StepSliceWrapping();
}

void SliceViewModel::StepSliceWrapping() {
    if (!animating_) return;
    const int axis = SliceAxis();
    point_[axis] = slice() + 1 < Extent(doc_.dims(), axis) ? slice() + 1 : 0;
    Refresh(1);
}

// ---------------------------------------------------------------- tool panel

int32_t SliceViewModel::TypeCoordinate(int axis, int64_t typed) {
    if (axis < 0 || axis > 2) return 0;
    const int32_t value = int32_t(std::clamp<int64_t>(typed, 0, Extent(doc_.dims(), axis) - 1));
    SetPointAlongAxis(axis, value);
    return point_[axis];
}

void SliceViewModel::SpinCoordinate(int axis, int step) {
    if (axis < 0 || axis > 2) return;
    TypeCoordinate(axis, int64_t(point_[axis]) + step);
}

void SliceViewModel::SpinSlice(int step) { SetPointAlongAxis(SliceAxis(), slice() + step); }

// ---------------------------------------------------------------- mouse and focus

PicturePoint SliceViewModel::PictureAt(int x, int y) const {
    const ScrollPosition s = host_.Scroll();
    return {PictureCoordinate(x, s.x, horizontalZoom()), PictureCoordinate(y, s.y, verticalZoom())};
}

PicturePoint SliceViewModel::ClampedToPicture(PicturePoint p) const {
    const Size size = PictureSize();
    return {std::clamp(p.column, 0, std::max(0, size.width - 1)),
            std::clamp(p.row, 0, std::max(0, size.height - 1))};
}

void SliceViewModel::ButtonPress(MouseButton button, int x, int y, bool ctrl,
                                 bool otherButtonDown) {
    if (otherButtonDown) return;
    const bool left = button == MouseButton::Left;
    if (ctrl) {
        if (left && !pendingDeselect_) pendingSelect_ = true;
        if (!left && !pendingSelect_) pendingDeselect_ = true;
        return;
    }
    if (Edits(editMode_)) {
        drag_ = left ? kDragPaint : kDragErase;
        PaintAt(PictureAt(x, y), !left);
        host_.CaptureMouse(true);
    } else if (left) {
        host_.CaptureMouse(true);
    } else {
        Grab(ClampedToPicture(PictureAt(x, y)));
        if (drag_ != kDragIdle) host_.CaptureMouse(true);
    }
}

void SliceViewModel::ButtonRelease(MouseButton button, int x, int y) {
    const bool left = button == MouseButton::Left;
    bool& pending = left ? pendingSelect_ : pendingDeselect_;
    if (pending) {
        pending = false;
        host_.CaptureMouse(false);
        SelectAt(PictureAt(x, y), left);
        return;
    }
    if (left && drag_ != kDragPaint) {
        host_.CaptureMouse(false);
        return;
    }
    if (!left && (drag_ == kDragIdle || drag_ == kDragPaint)) return;
    EndDrag(true);
}

void SliceViewModel::EndDrag(bool repaint) {
    if (drag_ == kDragVoiMin || drag_ == kDragVoiMax) {
        PutVoiInOrder();
        doc_.SetVoi(voi_);
    } else if (drag_ == kDragPoint) {
        doc_.SetCursor(point_[0], point_[1], point_[2], orientation_, true);
    }
    drag_ = kDragIdle;
    host_.RefreshToolPanel();
    if (repaint) host_.Repaint();
    host_.CaptureMouse(false);
}

void SliceViewModel::PutVoiInOrder() {
    for (int a = 0; a < 3; ++a) {
        int32_t& lo = VoiBound(voi_, a, false);
        int32_t& hi = VoiBound(voi_, a, true);
        if (lo > hi) std::swap(lo, hi);
    }
}

void SliceViewModel::MouseMove(int x, int y, bool buttonDown, bool ctrl) {
    const bool lineDrag = drag_ == kDragPoint || drag_ == kDragVoiMin || drag_ == kDragVoiMax;
    const bool wasShown = brushShown_;
    const PicturePoint wasAt = brushAt_;
    if (host_.HasFocus() && Edits(editMode_) && !lineDrag && !ctrl) {
        brushAt_ = PictureAt(x, y);
        brushShown_ = true;
    } else {
        brushShown_ = false;
    }
    if (buttonDown && drag_ != kDragIdle) {
        MoveDrag(ClampedToPicture(PictureAt(x, y)));
    } else if (brushShown_ != wasShown || brushAt_.column != wasAt.column ||
               brushAt_.row != wasAt.row) {
        host_.Repaint();
    }
}

void SliceViewModel::MoveDrag(PicturePoint at) {
    const int h = HorizontalAxis(), v = VerticalAxis();
    switch (drag_) {
        case kDragPoint:
            if (dragHorizontal_) point_[h] = at.column;
            if (dragVertical_) point_[v] = at.row;
            PublishPoint();
            host_.RefreshToolPanel();
            break;
        case kDragVoiMin:
        case kDragVoiMax:
            if (dragHorizontal_) VoiBound(voi_, h, drag_ == kDragVoiMax) = at.column;
            if (dragVertical_) VoiBound(voi_, v, drag_ == kDragVoiMax) = at.row;
            SetVoiAndTell();
            break;
        case kDragPaint:
        case kDragErase:
            PaintAt(at, drag_ == kDragErase);
            return;  // painting repaints itself
        default:
            return;
    }
    host_.Repaint();
}

void SliceViewModel::SetVoiAndTell() {
    doc_.SetVoi(voi_);
    OtherViews([](SliceViewModel& view) { view.OnDocumentChanged(kChangeVoi); });
}

void SliceViewModel::Grab(PicturePoint at) {
    drag_ = kDragIdle;
    if (prefs_.GrabSingly())
        GrabSingly(at);
    else
        GrabPaired(at);
    if (drag_ != kDragIdle) MoveDrag(at);
}

void SliceViewModel::GrabSingly(PicturePoint at) {
    const PicturePoint p = PicturePointOf(orientation_, point_[0], point_[1], point_[2]);
    const PictureBox b = PictureBoxOf(orientation_, voi_);
    int best = 1 << 30;
    if (on_.positionCrossbars) {
        drag_ = kDragPoint;
        const int dc = std::abs(at.column - p.column), dr = std::abs(at.row - p.row);
        dragHorizontal_ = dc < dr;
        dragVertical_ = !dragHorizontal_;
        best = std::min(dc, dr);
    }
    if (!on_.voiCrossbars) return;
    const struct {
        int distance, state;
        bool horizontal;
    } edges[] = {{std::abs(at.column - b.columnMin), kDragVoiMin, true},
                 {std::abs(at.column - b.columnMax), kDragVoiMax, true},
                 {std::abs(at.row - b.rowMin), kDragVoiMin, false},
                 {std::abs(at.row - b.rowMax), kDragVoiMax, false}};
    for (const auto& e : edges)
        if (e.distance < best) {
            best = e.distance;
            drag_ = e.state;
            dragHorizontal_ = e.horizontal;
            dragVertical_ = !e.horizontal;
        }
}

void SliceViewModel::GrabPaired(PicturePoint at) {
    const auto squared = [&](int column, int row) {
        const int dc = at.column - column, dr = at.row - row;
        return dc * dc + dr * dr;
    };
    const PicturePoint p = PicturePointOf(orientation_, point_[0], point_[1], point_[2]);
    const PictureBox b = PictureBoxOf(orientation_, voi_);
    dragHorizontal_ = dragVertical_ = true;
    int best = 1 << 30;
    if (on_.positionCrossbars) {
        drag_ = kDragPoint;
        best = squared(p.column, p.row);
    }
    if (!on_.voiCrossbars) return;
    if (const int d = squared(b.columnMin, b.rowMin); d < best) best = d, drag_ = kDragVoiMin;
    if (const int d = squared(b.columnMax, b.rowMax); d < best) best = d, drag_ = kDragVoiMax;
    const int maxMin = squared(b.columnMax, b.rowMin), minMax = squared(b.columnMin, b.rowMax);
    const int h = HorizontalAxis(), v = VerticalAxis();
    if (maxMin < best && maxMin <= minMax) {
        best = maxMin;
        std::swap(VoiBound(voi_, h, false), VoiBound(voi_, h, true));
        doc_.SetVoi(voi_);
        drag_ = kDragVoiMin;
    }
    if (minMax < best) {
        std::swap(VoiBound(voi_, v, false), VoiBound(voi_, v, true));
        doc_.SetVoi(voi_);
        drag_ = kDragVoiMin;
    }
}

void SliceViewModel::FocusIn() {
    if (brushAt_.column >= 0) brushShown_ = true;
    PublishPoint();
    host_.Repaint();
}

void SliceViewModel::FocusOut() {
    brushShown_ = false;
    brushAt_ = {-1, -1};
    if (drag_ != kDragIdle) {
        drag_ = kDragIdle;
        host_.CaptureMouse(false);
    }
    pendingSelect_ = pendingDeselect_ = false;
    host_.Repaint();
}

void SliceViewModel::CancelMode() {
    pendingSelect_ = pendingDeselect_ = false;
    if (drag_ != kDragIdle) EndDrag(false);
}

void SliceViewModel::BlinkTick() {
    const bool lineDrag = drag_ == kDragPoint || drag_ == kDragVoiMin || drag_ == kDragVoiMax;
    if (host_.HasFocus() && Edits(editMode_) && !lineDrag) {
        brushShown_ = !brushShown_;
        host_.Repaint();
    } else if (brushShown_) {
        brushShown_ = false;
        host_.Repaint();
    }
}

// ---------------------------------------------------------------- editing

void SliceViewModel::PaintAt(PicturePoint at, bool erase) {
    if (!Edits(editMode_) || !EnsurePicture()) return;
    const uint8_t modeTissue = TissueOfMode(editMode_);
    const uint8_t label = erase ? Unknown : modeTissue;
    SlicePicture& p = *picture_;
    const PictureBox square = BrushSquare(at, editSize_, p.width, p.height);
    bool changed = false;
    for (int r = square.rowMin; r <= square.rowMax; ++r)
        for (int c = square.columnMin; c <= square.columnMax; ++c) {
            uint8_t& copy = p.labels[size_t(r) * p.width + c];
            if (copy == label || (copy != Unknown && TissueOf(copy) != modeTissue)) continue;
            copy = label;
            RecolourPixel(p, c, r, on_, drawing_.tables());
            changed = true;
        }
    if (changed) {
        std::vector<uint32_t> voxels;
        PaintSquare(doc_, orientation_, slice(), at.column, at.row, editSize_, label, editMode_,
                    &voxels);
        for (uint32_t v : voxels)
            OtherViews([&](SliceViewModel& view) {
                view.UpdateVoxel(PackedVoxel::X(v), PackedVoxel::Y(v), PackedVoxel::Z(v), label);
            });
    }
    host_.Repaint();
}

void SliceViewModel::UpdateVoxel(int32_t x, int32_t y, int32_t z, uint8_t label) {
    if (!(on_.white || on_.csf || on_.gray) || !picture_) return;
    const std::array<int32_t, 3> v = {x, y, z};
    if (v[SliceAxis()] != slice()) return;
    const PicturePoint at = PicturePointOf(orientation_, x, y, z);
    if (at.column < 0 || at.row < 0 || at.column >= picture_->width || at.row >= picture_->height)
        return;
    picture_->labels[size_t(at.row) * picture_->width + at.column] = label;
    RecolourPixel(*picture_, at.column, at.row, on_, drawing_.tables());
    host_.Repaint();
}

void SliceViewModel::SelectAt(PicturePoint at, bool select) {
    std::array<int32_t, 3> v = point_;
    v[HorizontalAxis()] = at.column;
    v[VerticalAxis()] = at.row;
    if (!doc_.dims().contains(v[0], v[1], v[2])) return;
    const bool inVoi = v[0] >= voi_.xmin && v[0] <= voi_.xmax && v[1] >= voi_.ymin &&
                       v[1] <= voi_.ymax && v[2] >= voi_.zmin && v[2] <= voi_.zmax;
    const uint8_t tissue = TissueOf(doc_.GetVoxel(v[0], v[1], v[2]));
    SelectConnected(doc_, ui_, v[0], v[1], v[2], voi_, select);
    // The selection told every view (this one included) to rebuild; show what was selected.
    if (!inVoi) return;
    if (tissue == White && !on_.white) SetSwitch(ViewSwitch::White, true);
    if (tissue == Gray && doc_.grayGraph() && !on_.gray) SetSwitch(ViewSwitch::Gray, true);
}

// ---------------------------------------------------------------- document changes

void SliceViewModel::TakeDocumentPoint(bool repaint) {
    if (!prefs_.XyzLock()) return;
    const CursorPoint& c = doc_.cursor();
    if (!c.valid || !doc_.dims().contains(c.x, c.y, c.z)) return;
    const std::array<int32_t, 3> p = {c.x, c.y, c.z};
    if (p == point_) return;
    const bool newSlice = p[SliceAxis()] != slice();
    point_ = p;
    if (!repaint) return;
    if (newSlice)
        Refresh(1);
    else if (on_.positionCrossbars)
        host_.Repaint();
    host_.RefreshToolPanel();
}

void SliceViewModel::TakeDocumentVoi(bool repaint) {
    const VoiBox& v = doc_.GetVoi();
    if (v == voi_) return;
    voi_ = v;
    if (repaint && on_.voiCrossbars) host_.Repaint();
}

void SliceViewModel::OnDocumentChanged(int changeCode) {
    if (animating_) {
        if (changeCode != kChangeVoi) TakeDocumentPoint(false);
        if (changeCode != kChangeCursor) TakeDocumentVoi(false);
        return;
    }
    switch (changeCode) {
        case kChangeClassEdited: Refresh(2); break;
        case kChangeCursor: TakeDocumentPoint(true); break;
        case kChangeVoi: TakeDocumentVoi(true); break;
        case kChangeRepaint: Refresh(0); break;
        case kChangeOverlays:
            if (on_.rois || on_.functional || on_.cuts) Refresh(1);
            break;
        default:
            TakeDocumentPoint(false);
            TakeDocumentVoi(false);
            Refresh(1);
            host_.RefreshToolPanel();
    }
}

void SliceViewModel::OnDimensionsChanged() {
    const VolumeDims& d = doc_.dims();
    voi_ = doc_.GetVoi();
    for (int a = 0; a < 3; ++a)
        if (point_[a] >= Extent(d, a)) SetPointAlongAxis(a, Extent(d, a) - 1);
    host_.RefreshToolPanel();
    for (Remembered& r : remembered_) r.sizeValid = false;
    const int orientation = orientation_;
    ChangeOrientation((orientation + 1) % 3);
    ChangeOrientation(orientation);
    for (Remembered& r : remembered_) r.sizeValid = false;
}

}  // namespace sulcan
