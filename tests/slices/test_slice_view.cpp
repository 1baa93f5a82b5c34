// The slice view model: creation, edit modes and their overlays, painting, selecting,
// grabbing crossbars and VOI edges, stepping, zoom, orientation changes, change codes and
// animation, driven through plain calls with a recording window.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/testing/ScriptedUi.h"
#include "segment/editing.h"
#include "slices/SliceViewModel.h"
#include "tests/support/slice_view_fakes.h"

namespace sulcan {
namespace {

// A document of 16 x 12 x 8 voxels with zoom 1, so client pixels are picture pixels.
struct ViewFixture : ::testing::Test {
    CSulcanDoc doc;
    testing::ScriptedUi ui;
    SliceDrawing drawing;
    testing::ViewPreferences prefs;
    std::vector<std::unique_ptr<testing::RecordingViewHost>> hosts;
    std::vector<std::unique_ptr<SliceViewModel>> views;

    explicit ViewFixture(VolumeDims dims = {16, 12, 8}) {
        std::vector<uint8_t> anatomy(dims.voxels());
        for (size_t i = 0; i < anatomy.size(); ++i) anatomy[i] = uint8_t(i);
        doc.StartNewProject(std::move(anatomy), dims);
    }
    SliceViewModel& AddView(const SliceViewRecord* record = nullptr,
                            const SliceViewModel* active = nullptr) {
        hosts.push_back(std::make_unique<testing::RecordingViewHost>());
        views.push_back(std::make_unique<SliceViewModel>(doc, ui, drawing, prefs, *hosts.back()));
        views.back()->Initialise(record, active);
        return *views.back();
    }
    testing::RecordingViewHost& host(size_t i = 0) { return *hosts[i]; }
    uint8_t& label(int x, int y, int z) {
        return doc.classificationData()[doc.dims().index(x, y, z)];
    }
    int CountLabel(uint8_t value) {
        int n = 0;
        for (uint8_t l : doc.classification()) n += l == value;
        return n;
    }
    static void Paint(SliceViewModel& v) {
        v.Paint([](const SlicePicture&) {});
    }
};

// ---------------------------------------------------------------- creation

TEST_F(ViewFixture, NewViewIsCentredWithTheApplicationZoomAndOnlyPositionCrossbars) {
    prefs.zoom = {2, 3, 40};
    prefs.xyzLock = false;
    SliceViewModel& v = AddView();
    EXPECT_EQ(v.point(), (std::array<int32_t, 3>{8, 6, 4}));
    EXPECT_EQ(v.zoom(), (std::array<int, 3>{2, 3, 25}));
    EXPECT_EQ(v.orientation(), 0);
    EXPECT_EQ(v.editMode(), kEditModeNone);
    EXPECT_EQ(v.editSize(), 1);
    EXPECT_EQ(v.switches(), OverlaySwitches{});
    EXPECT_EQ(v.voi(), doc.GetVoi());
}

TEST_F(ViewFixture, SavedRecordIsCheckedWordByWord) {
    SliceViewRecord r;
    auto& w = r.words;
    w[SliceViewRecord::kEditMode] = 2;      // gray is no edit mode of a view
    w[SliceViewRecord::kOrientation] = 5;   // kept at 0
    w[SliceViewRecord::kEditSize] = 6;      // kept at 1
    w[SliceViewRecord::kZoomX] = 0;
    w[SliceViewRecord::kZoomY] = 7;
    w[SliceViewRecord::kZoomZ] = 99;
    w[SliceViewRecord::kPositionX] = 500;
    w[SliceViewRecord::kPositionY] = -3;
    w[SliceViewRecord::kPositionZ] = 5;
    w[SliceViewRecord::kShowGray] = 1;
    prefs.xyzLock = false;
    SliceViewModel& v = AddView(&r);
    EXPECT_EQ(v.editMode(), kEditModeNone);
    EXPECT_EQ(v.orientation(), 0);
    EXPECT_EQ(v.editSize(), 1);
    EXPECT_EQ(v.zoom(), (std::array<int, 3>{1, 7, 25}));
    EXPECT_EQ(v.point(), (std::array<int32_t, 3>{15, 0, 5}));
    EXPECT_TRUE(v.switches().gray);
    EXPECT_FALSE(v.switches().positionCrossbars);

    // A file overlay that is on ends the saved edit mode.
    w[SliceViewRecord::kEditMode] = kEditCsf;
    EXPECT_EQ(AddView(&r).editMode(), kEditCsf);
    w[SliceViewRecord::kShowCut] = 1;
    EXPECT_EQ(AddView(&r).editMode(), kEditModeNone);
}

TEST_F(ViewFixture, RecordRoundTripsAndANewViewCopiesTheActiveOne) {
    SliceViewModel& a = AddView();
    a.SetEditMode(kEditCsf);
    a.SetEditSize(9);
    a.ToggleSwitch(ViewSwitch::VoiCrossbars);
    a.SetOrientation(Coronal);
    a.SetZoom(2, 3, 4);
    SliceViewRecord r;
    a.StoreRecord(r);
    SliceViewModel& restored = AddView(&r);
    SliceViewModel& copied = AddView(nullptr, &a);
    for (SliceViewModel* v : {&restored, &copied}) {
        EXPECT_EQ(v->PanelState(), a.PanelState());
        EXPECT_EQ(v->zoom(), a.zoom());
    }
    SliceViewRecord again;
    restored.StoreRecord(again);
    for (int word = SliceViewRecord::kZoomX; word < SliceViewRecord::kWords; ++word)
        EXPECT_EQ(again.words[word], r.words[word]) << "word " << word;
}

TEST_F(ViewFixture, SharedPointComesFromTheDocument) {
    doc.SetCursor(3, 4, 5, 0, false);
    EXPECT_EQ(AddView().point(), (std::array<int32_t, 3>{3, 4, 5}));
    prefs.xyzLock = false;
    EXPECT_EQ(AddView().point(), (std::array<int32_t, 3>{8, 6, 4}));
}

// ---------------------------------------------------------------- edit modes

TEST_F(ViewFixture, EditModesForceTheirOverlayAndPutTheFileOverlaysAside) {
    SliceViewModel& v = AddView();
    v.ToggleSwitch(ViewSwitch::Functional);
    v.ToggleSwitch(ViewSwitch::Cuts);
    v.SetEditMode(kEditWhite);
    EXPECT_TRUE(v.switches().white);
    EXPECT_FALSE(v.switches().functional || v.switches().cuts || v.switches().rois);
    v.SetEditMode(kEditCsf);  // white back to off, CSF forced
    EXPECT_FALSE(v.switches().white);
    EXPECT_TRUE(v.switches().csf);
    v.ToggleEditMode();  // CSF -> none: everything as it was
    EXPECT_EQ(v.editMode(), kEditModeNone);
    EXPECT_FALSE(v.switches().csf);
    EXPECT_TRUE(v.switches().functional && v.switches().cuts);
    v.ToggleEditMode();
    EXPECT_EQ(v.editMode(), kEditWhite);
}

TEST_F(ViewFixture, TogglingTheForcedOverlayChangesWhatItReturnsTo) {
    SliceViewModel& v = AddView();
    v.SetEditMode(kEditWhite);
    v.ToggleSwitch(ViewSwitch::White);  // off while painting white
    v.ToggleSwitch(ViewSwitch::White);  // and on again: the saved state is now on
    v.SetEditMode(kEditModeNone);
    EXPECT_TRUE(v.switches().white);
    // Switching the ROIs on leaves the edit mode without the overlay steps.
    v.SetEditMode(kEditCsf);
    v.ToggleSwitch(ViewSwitch::Rois);
    EXPECT_EQ(v.editMode(), kEditModeNone);
    EXPECT_TRUE(v.switches().csf);
}

// ---------------------------------------------------------------- painting

TEST_F(ViewFixture, BrushSizesAtTheCornerPaintOnlyInsideTheSlice) {
    struct Case {
        int size, column, row, painted;
    };
    // size 2 reaches one column left of the mouse, 4 two left and one right
    for (const Case& c : {Case{1, 0, 0, 1}, Case{2, 0, 0, 1}, Case{2, 1, 1, 4}, Case{4, 0, 0, 4},
                          Case{4, 15, 11, 9}, Case{15, 0, 0, 64}, Case{15, 15, 11, 64}}) {
        doc.ClearClassification();
        SliceViewModel& v = AddView();
        v.SetEditMode(kEditWhite);
        v.SetEditSize(c.size);
        v.ButtonPress(MouseButton::Left, c.column, c.row, false, false);
        v.ButtonRelease(MouseButton::Left, c.column, c.row);
        EXPECT_EQ(CountLabel(White), c.painted) << "size " << c.size << " at " << c.column;
        EXPECT_EQ(label(c.column, c.row, v.slice()), White);
        // the picture's label copy follows the document
        for (int r = 0; r < 12; ++r)
            for (int col = 0; col < 16; ++col)
                ASSERT_EQ(v.picture()->labels[size_t(r) * 16 + col], label(col, r, v.slice()));
    }
}

TEST_F(ViewFixture, PaintingRespectsTheTissueOfTheMode) {
    SliceViewModel& v = AddView();
    const int z = v.slice();
    label(1, 1, z) = Csf;
    label(2, 1, z) = SelectedWhite;
    label(3, 1, z) = Gray;
    v.SetEditMode(kEditWhite);
    for (int x = 1; x <= 4; ++x) {
        v.ButtonPress(MouseButton::Left, x, 1, false, false);
        v.ButtonRelease(MouseButton::Left, x, 1);
    }
    EXPECT_EQ(label(1, 1, z), Csf);    // white over CSF: unchanged
    EXPECT_EQ(label(2, 1, z), White);  // over selected white: plain white
    EXPECT_EQ(label(3, 1, z), Gray);
    EXPECT_EQ(label(4, 1, z), White);

    // Erasing in CSF mode removes CSF only.
    v.SetEditMode(kEditCsf);
    for (int x = 1; x <= 4; ++x) {
        v.ButtonPress(MouseButton::Right, x, 1, false, false);
        v.ButtonRelease(MouseButton::Right, x, 1);
    }
    EXPECT_EQ(label(1, 1, z), Unknown);
    EXPECT_EQ(label(2, 1, z), White);
    EXPECT_EQ(label(4, 1, z), White);
    EXPECT_EQ(v.dragState(), kDragIdle);
}

TEST_F(ViewFixture, DraggingPaintsAlongTheWayAndIsClampedToThePicture) {
    SliceViewModel& v = AddView();
    v.SetEditMode(kEditWhite);
    v.ButtonPress(MouseButton::Left, 2, 3, false, false);
    EXPECT_EQ(v.dragState(), kDragPaint);
    EXPECT_TRUE(host().captured);
    v.MouseMove(3, 3, true, false);
    v.MouseMove(500, -40, true, false);  // far outside: the top-right voxel
    v.ButtonRelease(MouseButton::Left, 500, -40);
    EXPECT_FALSE(host().captured);
    EXPECT_EQ(CountLabel(White), 3);
    EXPECT_EQ(label(15, 0, v.slice()), White);
}

TEST_F(ViewFixture, OtherViewsShowAPaintedVoxelWhenTheyShowItsSlice) {
    SliceViewModel& a = AddView();
    SliceViewModel& b = AddView();
    b.SetOrientation(Axial);
    b.ToggleSwitch(ViewSwitch::White);
    Paint(b);
    a.SetEditMode(kEditWhite);
    const int before = host(1).repaints;
    // (5, b's slice, a's slice) lies in both slices
    a.ButtonPress(MouseButton::Left, 5, b.slice(), false, false);
    a.ButtonRelease(MouseButton::Left, 5, b.slice());
    const PicturePoint at = PicturePointOf(Axial, 5, b.slice(), a.slice());
    EXPECT_EQ(b.picture()->labels[size_t(at.row) * b.picture()->width + at.column], White);
    EXPECT_EQ(b.picture()->PixelAt(at.column, at.row),
              drawing.colours().pixel[kColourWhiteMatter]);
    EXPECT_GT(host(1).repaints, before);
}

// ---------------------------------------------------------------- selecting

TEST_F(ViewFixture, CtrlClickSelectsTheConnectedWhiteInsideTheVoiOnly) {
    SliceViewModel& v = AddView();
    const int z = v.slice();
    for (int x = 2; x <= 5; ++x) label(x, 2, z) = White;
    label(9, 9, z) = White;
    VoiBox voi = doc.GetVoi();
    voi.xmax = 8;
    doc.SetVoi(voi);
    v.OnDocumentChanged(kChangeVoi);

    v.ButtonPress(MouseButton::Left, 9, 9, true, false);  // outside the VOI: nothing
    v.ButtonRelease(MouseButton::Left, 9, 9);
    EXPECT_EQ(label(9, 9, z), White);
    EXPECT_FALSE(v.switches().white);

    v.ButtonPress(MouseButton::Left, 3, 2, true, false);
    v.ButtonRelease(MouseButton::Left, 3, 2);
    for (int x = 2; x <= 5; ++x) EXPECT_EQ(label(x, 2, z), SelectedWhite);
    EXPECT_EQ(label(9, 9, z), White);
    EXPECT_TRUE(v.switches().white);  // switched on to show the selection

    v.ButtonPress(MouseButton::Right, 4, 2, true, false);
    v.ButtonRelease(MouseButton::Right, 4, 2);
    EXPECT_EQ(label(2, 2, z), White);
}

// ---------------------------------------------------------------- grabbing

TEST_F(ViewFixture, GrabbingSinglyTakesTheNearestLineAndTiesGoToTheHorizontalOne) {
    SliceViewModel& v = AddView();  // point (8, 6, 4), sagittal: lines at column 8, row 6
    v.ButtonPress(MouseButton::Right, 10, 8, false, false);  // 2 from each line
    EXPECT_EQ(v.dragState(), kDragPoint);
    EXPECT_EQ(v.point()[1], 8);  // the horizontal line jumped to the row
    EXPECT_EQ(v.point()[0], 8);
    v.MouseMove(12, 9, true, false);
    v.ButtonRelease(MouseButton::Right, 12, 9);
    EXPECT_EQ(v.point(), (std::array<int32_t, 3>{8, 9, 4}));
    EXPECT_EQ(doc.cursor().y, 9);

    v.ButtonPress(MouseButton::Right, 9, 2, false, false);  // nearer the vertical line
    v.ButtonRelease(MouseButton::Right, 9, 2);
    EXPECT_EQ(v.point(), (std::array<int32_t, 3>{9, 9, 4}));
}

TEST_F(ViewFixture, AVoiEdgeDraggedPastItsOppositeIsPutInOrderOnRelease) {
    SliceViewModel& v = AddView();
    SliceViewModel& other = AddView();
    v.ToggleSwitch(ViewSwitch::PositionCrossbars);  // off: only the VOI can be grabbed
    v.ToggleSwitch(ViewSwitch::VoiCrossbars);
    v.ButtonPress(MouseButton::Right, 1, 6, false, false);  // nearest: xmin at column 0
    EXPECT_EQ(v.dragState(), kDragVoiMin);
    EXPECT_EQ(doc.GetVoi().xmin, 1);
    v.MouseMove(40, 6, true, false);  // clamped to column 15, past xmax = 15? equal
    v.MouseMove(14, 6, true, false);
    EXPECT_EQ(other.voi().xmin, 14);  // the other view follows during the drag
    // drag the maximum below the minimum
    v.ButtonRelease(MouseButton::Right, 14, 6);
    v.ButtonPress(MouseButton::Right, 15, 5, false, false);
    EXPECT_EQ(v.dragState(), kDragVoiMax);
    v.MouseMove(3, 5, true, false);
    EXPECT_EQ(doc.GetVoi().xmax, 3);
    v.ButtonRelease(MouseButton::Right, 3, 5);
    EXPECT_EQ(doc.GetVoi().xmin, 3);
    EXPECT_EQ(doc.GetVoi().xmax, 14);
    EXPECT_EQ(v.dragState(), kDragIdle);
}

TEST_F(ViewFixture, PairedGrabbingMovesCornersAndSwapsAnEdgeForTheOffCorners) {
    prefs.grabSingly = false;
    SliceViewModel& v = AddView();
    v.ToggleSwitch(ViewSwitch::VoiCrossbars);
    v.ButtonPress(MouseButton::Right, 9, 7, false, false);  // the point is nearest
    EXPECT_EQ(v.dragState(), kDragPoint);
    EXPECT_EQ(v.point()[0], 9);
    EXPECT_EQ(v.point()[1], 7);
    v.ButtonRelease(MouseButton::Right, 9, 7);
    // near the corner (xmax, ymin) = (15, 0): x edges swap, the minimum corner moves
    v.ButtonPress(MouseButton::Right, 14, 1, false, false);
    EXPECT_EQ(v.dragState(), kDragVoiMin);
    v.ButtonRelease(MouseButton::Right, 14, 1);
    const VoiBox b = doc.GetVoi();
    EXPECT_EQ(b.xmin, 0);
    EXPECT_EQ(b.xmax, 14);
    EXPECT_EQ(b.ymin, 1);
    EXPECT_EQ(b.ymax, 11);
}

TEST_F(ViewFixture, LosingTheFocusOrTheMouseEndsADrag) {
    SliceViewModel& v = AddView();
    v.ButtonPress(MouseButton::Right, 8, 3, false, false);
    v.FocusOut();
    EXPECT_EQ(v.dragState(), kDragIdle);
    EXPECT_FALSE(host().captured);
    v.ButtonPress(MouseButton::Right, 9, 2, false, false);  // the vertical line jumps to 9
    const int repaints = host().repaints;
    v.CancelMode();  // with the release steps, without a repaint
    EXPECT_EQ(v.dragState(), kDragIdle);
    EXPECT_FALSE(host().captured);
    EXPECT_EQ(doc.cursor().x, 9);
    EXPECT_EQ(host().repaints, repaints);
}

// ---------------------------------------------------------------- brush preview

TEST_F(ViewFixture, BrushFollowsTheMouseAndBlinksOnlyInAnEditMode) {
    SliceViewModel& v = AddView();
    v.MouseMove(3, 4, false, false);
    EXPECT_FALSE(v.brushShown());
    v.SetEditMode(kEditWhite);
    v.MouseMove(0, 4, false, false);
    EXPECT_TRUE(v.brushShown());
    // drawn at the left edge, clipped at column 0, and gone again after the paint
    v.SetEditSize(3);
    std::vector<uint32_t> shown;
    v.Paint([&](const SlicePicture& p) { shown = {p.PixelAt(0, 4), p.PixelAt(1, 4), p.PixelAt(2, 4)}; });
    const uint32_t brush = drawing.colours().pixel[kColourBrush];
    EXPECT_EQ(shown, (std::vector<uint32_t>{brush, brush, v.picture()->PixelAt(2, 4)}));
    EXPECT_NE(v.picture()->PixelAt(0, 4), brush);
    v.BlinkTick();
    EXPECT_FALSE(v.brushShown());
    v.MouseMove(3, 4, false, true);  // Ctrl hides it
    EXPECT_FALSE(v.brushShown());
}

// ---------------------------------------------------------------- stepping, zoom, orientation

TEST_F(ViewFixture, SteppingStopsAtTheEndsOfTheVolume) {
    SliceViewModel& v = AddView();
    v.TypeCoordinate(2, 7);
    v.NextSlice();
    EXPECT_EQ(v.slice(), 7);
    v.TypeCoordinate(2, 0);
    v.PreviousSlice();
    EXPECT_EQ(v.slice(), 0);
    v.NextSlice();
    EXPECT_EQ(v.slice(), 1);
    EXPECT_EQ(doc.cursor().z, 1);
    v.SpinSlice(-5);
    EXPECT_EQ(v.slice(), 1);
}

TEST_F(ViewFixture, ZoomAppliesEachValidFactorAndFitsTheFrameToThePicture) {
    SliceViewModel& v = AddView();
    EXPECT_FALSE(v.SetZoom(0, 26, -1));
    EXPECT_TRUE(v.SetZoom(3, 0, 2));
    EXPECT_EQ(v.zoom(), (std::array<int, 3>{3, 1, 2}));
    EXPECT_EQ(prefs.zoom, v.zoom());
    // sagittal: three pixels wide and one high per voxel
    EXPECT_EQ(v.ZoomedSize(), (Size{48, 12}));
    EXPECT_EQ(host().maximum, (Size{48, 12}));
    EXPECT_EQ(host().client, (Size{48, 12}));
    // mouse positions are divided by the zoom
    v.ButtonPress(MouseButton::Right, 47, 3, false, false);
    v.ButtonRelease(MouseButton::Right, 47, 3);
    EXPECT_EQ(v.point()[1], 3);
}

TEST_F(ViewFixture, OrientationChangesRememberClientSizeAndScroll) {
    SliceViewModel& v = AddView();
    v.SetZoom(20, 20, 20);  // 320 x 240 picture in a 200 x 160 client
    EXPECT_EQ(host().client, (Size{200, 160}));
    host().scroll = {30, 40};
    v.OnScrolled();
    host().client = {150, 100};
    v.SetOrientation(Axial);  // picture 160 x 320
    EXPECT_EQ(host().maximum, (Size{160, 320}));
    EXPECT_EQ(host().client, (Size{150, 100}));
    EXPECT_EQ(doc.cursor().orientation, Axial);
    v.SetOrientation(Sagittal);
    EXPECT_EQ(host().client, (Size{150, 100}));  // the size sagittal had at the change
    EXPECT_EQ(host().scroll, (ScrollPosition{30, 40}));
    EXPECT_EQ(v.slice(), v.point()[2]);
}

TEST_F(ViewFixture, TypedCoordinatesAreClampedIntoTheVolume) {
    SliceViewModel& v = AddView();
    EXPECT_EQ(v.TypeCoordinate(0, 5000), 15);
    EXPECT_EQ(v.TypeCoordinate(1, -7), 0);
    v.SpinCoordinate(0, 3);
    EXPECT_EQ(v.point()[0], 15);
}

// ---------------------------------------------------------------- change codes

TEST_F(ViewFixture, ChangeCodesUpdatePointVoiAndPicture) {
    SliceViewModel& a = AddView();
    SliceViewModel& b = AddView();
    a.SetPointAlongAxis(0, 2);  // published: b follows
    EXPECT_EQ(b.point()[0], 2);
    prefs.xyzLock = false;
    a.SetPointAlongAxis(0, 3);
    EXPECT_EQ(b.point()[0], 2);

    Paint(b);
    b.OnDocumentChanged(kChangeOverlays);  // no file overlay shown: the picture stays
    EXPECT_NE(b.picture(), nullptr);
    b.ToggleSwitch(ViewSwitch::Cuts);
    Paint(b);
    b.OnDocumentChanged(kChangeOverlays);
    EXPECT_EQ(b.picture(), nullptr);

    VoiBox voi = doc.GetVoi();
    voi.ymin = 4;
    doc.SetVoi(voi);
    b.OnDocumentChanged(kChangeVoi);
    EXPECT_EQ(b.voi().ymin, 4);
}

TEST_F(ViewFixture, NewDimensionsBringThePointBackIntoTheVolume) {
    SliceViewModel& v = AddView();
    v.TypeCoordinate(0, 15);
    v.SetOrientation(Coronal);
    doc.StartNewProject({}, {10, 12, 8});
    v.OnDimensionsChanged();
    EXPECT_EQ(v.point()[0], 9);
    EXPECT_EQ(v.orientation(), Coronal);
    EXPECT_EQ(v.PictureSize(), (Size{8, 12}));
    EXPECT_EQ(v.voi(), VoiBox::Whole(doc.dims()));
}

// ---------------------------------------------------------------- animation and capture

TEST_F(ViewFixture, TwoViewsAnimateAlternately) {
    SliceViewModel& a = AddView();
    SliceViewModel& b = AddView();
    a.SetAnimating(true);
    b.SetAnimating(true);
    EXPECT_FALSE(host(0).blinking);
    const int sa = a.slice(), sb = b.slice();
    Paint(a);
    EXPECT_EQ(host(0).scheduled, 1);
    a.AdvanceAnimation();  // steps b
    EXPECT_EQ(a.slice(), sa);
    EXPECT_EQ(b.slice(), sb + 1);
    Paint(b);
    b.AdvanceAnimation();  // steps a
    EXPECT_EQ(a.slice(), sa + 1);
    EXPECT_EQ(b.slice(), sb + 1);
    // the last slice wraps to 0; stopping returns to the slice of the start
    for (int i = 0; i < 8; ++i) b.AdvanceAnimation();
    EXPECT_EQ(a.slice(), (sa + 9) % 8);
    a.SetAnimating(false);
    EXPECT_EQ(a.slice(), sa);
    EXPECT_TRUE(host(0).blinking);
}

TEST_F(ViewFixture, CaptureShowsCrossbarsOnlyWhenSwitchedOn) {
    SliceViewModel& v = AddView();  // crossbars at column 8, row 6
    std::optional<RgbImage> with = v.Capture();
    ASSERT_TRUE(with);
    EXPECT_EQ(with->width, 16);
    EXPECT_EQ(with->height, 12);
    const uint8_t* crossing = with->Pixel(8, 0);
    EXPECT_EQ(crossing[2], 255);  // the x line is blue
    v.ToggleSwitch(ViewSwitch::PositionCrossbars);
    std::optional<RgbImage> without = v.Capture();
    ASSERT_TRUE(without);
    const uint32_t grey = drawing.greyTable()[doc.anatomy()[doc.dims().index(8, 0, 4)]];
    EXPECT_EQ(without->Pixel(8, 0)[2], uint8_t(grey));
    // the picture itself never keeps the crossbars
    EXPECT_EQ(v.picture()->PixelAt(8, 0), grey);
}

}  // namespace
}  // namespace sulcan
