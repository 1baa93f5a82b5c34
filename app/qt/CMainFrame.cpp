#include "app/qt/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "app/GrayLayersModel.h"
#include "app/qt/app_dialogs.h"
#include "app/window_placement.h"
#include "segment/editing.h"
#include "segment/gray_file.h"
#include "segment/messages.h"
#include "slices/classify_dialog.h"
#include "slices/image_export.h"
#include "slices/qt/CClassifyDialog.h"
#include "slices/qt/CChildFrame.h"
#include "slices/qt/CToolFrame.h"
#include "slices/qt/CToolPanel.h"
#include "slices/qt/view_dialogs_qt.h"
#include "slices/view_commands.h"
#include "slices/view_frames.h"
#include "volume/anatomy_commands.h"
#include "volume/class_commands.h"
#include "worker/qt/CWorkerThreadDialog.h"

namespace sulcan {

namespace {
constexpr const char* kCursorPaneSample = "XYZ(RGB)=(999,999,999)";
constexpr const char* kVoiPaneSample = "VOI: (999,999,999)-(999,999,999)";
constexpr const char* kToolBarValue = "ToolBarShown";
constexpr const char* kStatusBarValue = "StatusBarShown";
const QRect kInitialRect(100, 80, 1024, 768);


QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
Rect RectOf(const QRect& r) {
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}
QRect QRectOf(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
Size SizeOf(const QSize& s) {
    return {s.width(), s.height()};
}

struct SwitchCommand {
    const char* text;
    ViewSwitch which;
};
constexpr SwitchCommand kSwitchCommands[] = {
    {"&White\tCtrl+W", ViewSwitch::White},
    {"&CSF\tCtrl+C", ViewSwitch::Csf},
    {"&Gray\tCtrl+G", ViewSwitch::Gray},
    {"&ROIs\tCtrl+R", ViewSwitch::Rois},
    {"&Functional data\tCtrl+F", ViewSwitch::Functional},
    {"C&lip Functionals to ROIs\tCtrl+L", ViewSwitch::ClipFunctionals},
    {"C&uts\tCtrl+U", ViewSwitch::Cuts},
    {"&Position Crossbars\tCtrl+P", ViewSwitch::PositionCrossbars},
    {"&VOI crossbars\tCtrl+V", ViewSwitch::VoiCrossbars},
};
// In the order of kEditSizes.
constexpr const char* kEditSizeTexts[kEditSizes.size()] = {
    "&1 pixel\tCtrl+1",          "&2 pixels square\tCtrl+2", "&3 pixels square\tCtrl+3",
    "&4 pixels square\tCtrl+4",  "&5 pixels square\tCtrl+5", "&9 pixels square\tCtrl+9",
    "15 pixels squ&are\tCtrl+0",
};
struct ModeCommand {
    const char* text;
    int value;
};
constexpr ModeCommand kEditModeCommands[] = {
    {"&None", kEditModeNone}, {"&White", kEditWhite}, {"&CSF", kEditCsf}};
constexpr ModeCommand kOrientationCommands[] = {
    {"&Red (Sagittal)", 0}, {"&Green (Axial)", 1}, {"&Blue (Coronal)", 2}};
struct EditDeleteCommand {
    const char* text;
    uint8_t which;
};
// The whole-volume commands again, as the Edit menu words them.
constexpr EditDeleteCommand kEditDeleteCommands[] = {
    {"Delete unselected W&hite", kWhichUnselectedWhite},
    {"Delete all G&ray", kWhichAllGray},
    {"Delete all &CSF", kWhichAllCsf},
    {"Clear classification &volume", kWhichEverything},
};
struct TissueCommand {
    const char* text;
    uint8_t which;
};
constexpr TissueCommand kDeselectCommands[] = {{"&White", White}, {"&Gray", Gray}};
constexpr TissueCommand kDeleteCommands[] = {
    {"Unselected &White", kWhichUnselectedWhite},
    {"All &CSF", kWhichAllCsf},
    {"All &Gray", kWhichAllGray},
    {"&All White, Gray and CSF", kWhichEverything},
};
}  // namespace

CMainFrame::CMainFrame(CSulcanApp& app, Ui* ui)
    : app_(app),
      qtUi_(this),
      ui_(ui ? *ui : qtUi_),
      session_(app.StartSession(ui_, *this)),
      mdi_(new QMdiArea(this)) {
    setWindowTitle("SULCAN");
    setCentralWidget(mdi_);
    mdi_->setBackground(palette().dark());
    BuildToolBar();
    BuildStatusBar();
    BuildMenus();
    PlaceWindow();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { BuildMenus(); });
}

CMainFrame::~CMainFrame() {
    // The windows go while this is still a main frame: their signals reach it.
    closingProject_ = true;
    disconnect(mdi_, nullptr, this, nullptr);
    for (CChildFrame* f : ChildFrames()) delete f;
}

// ---------------------------------------------------------------- menus

QAction* CMainFrame::AddAction(QMenu* menu, const QString& text, std::function<void()> run,
                               bool enabled) {
    const int tab = text.indexOf('\t');
    QAction* a = menu->addAction(tab < 0 ? text : text.left(tab));
    if (tab >= 0) a->setShortcut(QKeySequence(text.mid(tab + 1)));
    a->setData(text);
    a->setEnabled(enabled && run != nullptr);
    if (run) connect(a, &QAction::triggered, this, [run] { run(); });
    return a;
}

QAction* CMainFrame::Action(const QString& text) const {
    for (QAction* a : findChildren<QAction*>())
        if (a->data().toString() == text) return a;
    return nullptr;
}

QAction* CMainFrame::Action(const QString& menu, const QString& text) const {
    for (QMenu* m : menuBar()->findChildren<QMenu*>())
        if (m->title() == menu)
            for (QAction* a : m->actions())
                if (a->data().toString() == text) return a;
    return nullptr;
}

CommandContext CMainFrame::Context() {
    return {*session_.project(), ui_, app_.settings().locations(), session_.saveFlags()};
}

void CMainFrame::BuildFileMenu(bool open) {
    QMenu* file = menuBar()->addMenu("&File");
    AddAction(file, "&New project", [this] { session_.NewProject(); });
    AddAction(file, "&Load project", [this] { session_.LoadProject(); });
    if (open) {
        AddAction(file, "&Save project", [this] { session_.SaveProject(); });
        AddAction(file, "Save project &as...", [this] { session_.SaveProjectAs(); });
        AddAction(file, "&Close project", [this] { session_.CloseProject(false); });
        AddAction(file, "List pro&ject files", [this] { ProjectFilesDialog(); });
    }
    file->addSeparator();
    QMenu* anatomy = file->addMenu("Anatomy...");
    if (open) {
        AddAction(anatomy, "L&oad anatomy", [this] {
            CommandContext c = Context();
            LoadAnatomyCommand(c);
        });
        AddAction(anatomy, "Save &VOI as anatomy", [this] { SaveVoiAsAnatomy(); });
    }
    AddAction(anatomy, "&Make Anatomy from I-files", [this] { RunImportSlices(*this); });
    if (open) {
        QMenu* cls = file->addMenu("Classification...");
        AddAction(cls, "Loa&d", [this] {
            CommandContext c = Context();
            LoadClassificationCommand(c);
        });
        AddAction(
            cls, "Sav&e",
            [this] {
                CommandContext c = Context();
                SaveClassificationCommand(c);
            },
            SaveClassificationEnabled(*session_.project()));
        AddAction(cls, "Save as...", [this] {
            CommandContext c = Context();
            SaveClassificationAsCommand(c);
        });
        connect(cls, &QMenu::aboutToShow, this, [this] {
            if (QAction* save = Action("Sav&e"))
                save->setEnabled(session_.project() &&
                                 SaveClassificationEnabled(*session_.project()));
        });
        QAction* gray = AddAction(file, "Save selected &gray", [this] { SaveSelectedGray(); },
                                  SaveSelectedGrayEnabled(*session_.project()));
        connect(file, &QMenu::aboutToShow, this, [this, gray] {
            gray->setEnabled(session_.project() && SaveSelectedGrayEnabled(*session_.project()));
        });
    }
    file->addSeparator();
    const ExportSource source = !ActiveView() ? ExportSource::None
                                : dynamic_cast<CToolFrame*>(mdi_->currentSubWindow())
                                    ? ExportSource::ToolWindow
                                    : ExportSource::SliceView;
    AddAction(
        file, msg::tiff::kCommand, [this] { SaveSliceAsTiff(); },
        SaveSliceAsTiffEnabled(source, false));
    file->addSeparator();
    AddAction(file, "&Preferences", [this] { RunPreferences(*this); });
    AddAction(file, "&File Locations", [this] { RunFileLocations(*this); });
    file->addSeparator();
    for (int i = 0; i < app_.recent().count(); ++i) {
        const QString name = Q(app_.recent().Entry(i));
        AddAction(file, QString("&%1 %2").arg(i + 1).arg(name), [this, i] {
            session_.LoadRecent(i);
            BuildMenus();
        });
    }
    if (app_.recent().count() == 0) AddAction(file, "Recent project", nullptr);
    file->addSeparator();
    AddAction(file, "E&xit\tAlt+X", [this] { close(); });
}

void CMainFrame::BuildMenus() {
    // The old menus go from the event loop: an action of theirs may be running.
    const QList<QMenu*> old = menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly);
    menuBar()->clear();
    for (QMenu* menu : old) {
        menu->setParent(nullptr);
        menu->deleteLater();
    }
    viewChecks_.clear();
    const bool open = session_.project() != nullptr;
    BuildFileMenu(open);
    if (open) BuildEditMenu();
    if (open) BuildSliceMenu();
    QMenu* view = menuBar()->addMenu("&View");
    QAction* tb =
        AddAction(view, "&Toolbar", [this] { toolBar_->setVisible(!toolBar_->isVisible()); });
    tb->setCheckable(true);
    tb->setChecked(toolBar_->isVisible());
    QAction* sb = AddAction(view, "&Status Bar",
                            [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    sb->setCheckable(true);
    sb->setChecked(statusBar()->isVisible());
    if (open) {
        view->addSeparator();
        QAction* autoSync = AddAction(view, "Auto-Sync slice views", [this] {
            app_.settings().SetAutoSync(app_.settings().autoSync() ? 0 : 1);
            BuildMenus();
        });
        autoSync->setCheckable(true);
        autoSync->setChecked(app_.settings().autoSync() != 0);
        AddAction(
            view, "Sync slice views", [this] { SyncViews(); },
            !app_.settings().autoSync() && ChildFrames().size() >= 2);
        QMenu* overlays = menuBar()->addMenu("&Overlays");
        AddAction(overlays, "&Edit overlay file lists", [this] { RunOverlaySheet(*this); });
        QMenu* threeD = menuBar()->addMenu("&3D");
        AddAction(threeD, "Open 3D Viewer", nullptr);
        AddAction(threeD, "Build Visualisation", nullptr);
        QMenu* window = menuBar()->addMenu("&Window");
        AddAction(window, "&Cascade", [this] { mdi_->cascadeSubWindows(); });
        AddAction(window, "&Tile", [this] { mdi_->tileSubWindows(); });
    }
    QMenu* help = menuBar()->addMenu("&Help");
    AddAction(help, "Help from &WWW",
              [this] { QDesktopServices::openUrl(QUrl(Q(app_.settings().helpUrl()))); });
    AddAction(help, "&About Sulcan...", [this] { AboutDialog(); });
}

void CMainFrame::BuildToolBar() {
    toolBar_ = addToolBar("Standard");
    toolBar_->setObjectName("toolbar128");
    QStyle* s = style();
    connect(toolBar_->addAction(s->standardIcon(QStyle::SP_FileIcon), "New project"),
            &QAction::triggered, this, [this] { session_.NewProject(); });
    connect(toolBar_->addAction(s->standardIcon(QStyle::SP_DialogOpenButton), "Load project"),
            &QAction::triggered, this, [this] { session_.LoadProject(); });
    connect(toolBar_->addAction(s->standardIcon(QStyle::SP_DialogSaveButton), "Save project"),
            &QAction::triggered, this, [this] { session_.SaveProject(); });
    toolBar_->addSeparator();
    connect(toolBar_->addAction(s->standardIcon(QStyle::SP_MessageBoxQuestion), "About Sulcan"),
            &QAction::triggered, this, [this] { AboutDialog(); });
    toolBar_->setVisible(app_.profile().GetInt(kSettingsSection, kToolBarValue, 1) != 0);
}

void CMainFrame::BuildStatusBar() {
    cursorPane_ = new QLabel(this);
    voiPane_ = new QLabel(this);
    const QFontMetrics m(statusBar()->font());
    cursorPane_->setMinimumWidth(m.horizontalAdvance(kCursorPaneSample) + 8);
    voiPane_->setMinimumWidth(m.horizontalAdvance(kVoiPaneSample) + 8);
    statusBar()->addPermanentWidget(cursorPane_);
    statusBar()->addPermanentWidget(voiPane_);
    statusBar()->showMessage("Ready");
    statusBar()->setVisible(app_.profile().GetInt(kSettingsSection, kStatusBarValue, 1) != 0);
}

// ---------------------------------------------------------------- window

void CMainFrame::PlaceWindow() {
    const QRect desktop = QApplication::primaryScreen()->availableGeometry();
    const Rect initial{kInitialRect.left(), kInitialRect.top(), kInitialRect.right() + 1,
                       kInitialRect.bottom() + 1};
    const Rect stored = app_.settings().ReadRect(initial);
    const Rect placed =
        PlaceMainWindow({stored.left, stored.top, stored.right, stored.bottom},
                        {desktop.left(), desktop.top(), desktop.right() + 1, desktop.bottom() + 1});
    setGeometry(placed.left, placed.top, placed.width(), placed.height());
    placed_ = true;
}

void CMainFrame::RememberRect() {
    if (!placed_ || windowState() != Qt::WindowNoState || !isVisible()) return;
    const QRect g = geometry();
    app_.settings().WriteRect({g.left(), g.top(), g.right() + 1, g.bottom() + 1});
}

void CMainFrame::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    RememberRect();
}

void CMainFrame::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    RememberRect();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    app_.profile().SetInt(kSettingsSection, kToolBarValue, toolBar_->isVisible());
    app_.profile().SetInt(kSettingsSection, kStatusBarValue, statusBar()->isVisible());
    if (session_.Exit())
        event->accept();
    else
        event->ignore();
}

// ---------------------------------------------------------------- slice view commands

CSulcanView* CMainFrame::ActiveView() const {
    QMdiSubWindow* current = mdi_->currentSubWindow();
    if (auto* frame = dynamic_cast<CChildFrame*>(current)) return frame->view();
    if (auto* tool = dynamic_cast<CToolFrame*>(current)) return tool->view();
    return nullptr;
}

QAction* CMainFrame::AddViewAction(QMenu* menu, const QString& text, ViewCommand run,
                                   ViewCheck checked) {
    std::function<void()> command;
    if (ActiveView())
        command = [this, run = std::move(run)] {
            if (CSulcanView* view = ActiveView()) run(view->model());
        };
    QAction* a = AddAction(menu, text, std::move(command));
    if (checked) {
        a->setCheckable(true);
        viewChecks_.emplace_back(a, std::move(checked));
    }
    return a;
}

void CMainFrame::UpdateViewChecks() {
    const CSulcanView* view = ActiveView();
    for (auto& [action, checked] : viewChecks_) action->setChecked(view && checked(view->model()));
}

void CMainFrame::BuildSliceMenu() {
    QMenu* slices = menuBar()->addMenu("&Slices");
    BuildViewStateMenus(slices);
    slices->addSeparator();
    QAction* next = AddViewAction(slices, "Next\t+", [](SliceViewModel& v) { v.NextSlice(); });
    next->setShortcuts(
        {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)});
    QAction* previous =
        AddViewAction(slices, "Previous\t-", [](SliceViewModel& v) { v.PreviousSlice(); });
    previous->setShortcuts(
        {QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)});
    AddViewAction(slices, "&Zoom\tCtrl+Z", [this](SliceViewModel& v) { ZoomCommand(v); });
    AddViewAction(slices, "Set &Greyscale", [this](SliceViewModel& v) { GreyscaleCommand(v); });
    AddViewAction(
        slices, "&Animate\tCtrl+A", [this](SliceViewModel&) { ToggleAnimation(); },
        [this](const SliceViewModel&) { return animating_; });
    AddViewAction(slices, "Ne&w Slice View",
                  [this](SliceViewModel& v) { AddViewPair(v.doc(), nullptr, &v); });
    slices->addSeparator();
    BuildTissueMenus(slices);
    UpdateViewChecks();
}

void CMainFrame::BuildViewStateMenus(QMenu* slices) {
    QMenu* mode = slices->addMenu("Edit Mode");
    for (const ModeCommand& c : kEditModeCommands)
        AddViewAction(
            mode, c.text, [m = c.value](SliceViewModel& v) { v.SetEditMode(m); },
            [m = c.value](const SliceViewModel& v) { return v.editMode() == m; });
    AddViewAction(mode, "Toggle\tCtrl+E", [](SliceViewModel& v) { v.ToggleEditMode(); });
    QMenu* size = slices->addMenu("Edit size");
    for (size_t i = 0; i < kEditSizes.size(); ++i)
        AddViewAction(
            size, kEditSizeTexts[i], [s = kEditSizes[i]](SliceViewModel& v) { v.SetEditSize(s); },
            [s = kEditSizes[i]](const SliceViewModel& v) { return v.editSize() == s; });
    QMenu* show = slices->addMenu("Show");
    for (const SwitchCommand& c : kSwitchCommands)
        AddViewAction(
            show, c.text, [w = c.which](SliceViewModel& v) { v.ToggleSwitch(w); },
            [w = c.which](const SliceViewModel& v) { return v.Switch(w); });
    QMenu* orientation = slices->addMenu("Orientation");
    for (const ModeCommand& c : kOrientationCommands)
        AddViewAction(
            orientation, c.text, [o = c.value](SliceViewModel& v) { v.SetOrientation(o); },
            [o = c.value](const SliceViewModel& v) { return v.orientation() == o; });
    AddViewAction(orientation, "&Toggle\tCtrl+O", [](SliceViewModel& v) { v.ToggleOrientation(); });
}

void CMainFrame::BuildEditMenu() {
    QMenu* edit = menuBar()->addMenu("&Edit");
    CSulcanDoc& doc = *session_.project();
    for (const TissueCommand& c : kDeselectCommands)
        AddAction(edit, QString("Deselect ") + c.text,
                  [this, &doc, w = c.which] { DeselectTissue(doc, ui_, w); });
    for (const EditDeleteCommand& c : kEditDeleteCommands)
        AddAction(edit, c.text, [this, &doc, w = c.which] { DeleteTissue(doc, ui_, w); });
    edit->addSeparator();
    AddAction(edit, msg::gray_layers::kMenuItem, [this, &doc] { RunGrayLayersDialog(*this, doc); });
    AddAction(edit, "Threshold", [this, &doc] { RunThresholdDialog(*this, doc); });
}

void CMainFrame::BuildTissueMenus(QMenu* slices) {
    AddViewAction(slices, "How to select matter", [this](SliceViewModel&) {
        ui_.Message(std::string(msg::kHowToSelect) + "\n\n" + msg::kHowToDeselect,
                    msg::kHowToSelectCaption, Buttons::Ok, Icon::Information);
    });
    AddViewAction(slices, "&Classify White && CSF", [this](SliceViewModel& v) { Classify(v); });
    AddViewAction(slices, msg::view::kGrowGrayCommand, [this](SliceViewModel& v) {
        GrowGrayMatterCommand(v.doc(), ui_, v.voi(), app_.settings().grayLayers(),
                              [this](WorkerTask& task) { return CWorkerThreadDialog(task, this).Run(); });
    });
    QMenu* deselect = slices->addMenu("De&select");
    for (const TissueCommand& c : kDeselectCommands)
        AddViewAction(deselect, c.text,
                      [this, w = c.which](SliceViewModel& v) { DeselectTissue(v.doc(), ui_, w); });
    QMenu* remove = slices->addMenu("&Delete");
    for (const TissueCommand& c : kDeleteCommands)
        AddViewAction(remove, c.text,
                      [this, w = c.which](SliceViewModel& v) { DeleteTissue(v.doc(), ui_, w); });
    AddViewAction(slices, "Save &VOI as anatomy", [this](SliceViewModel&) { SaveVoiAsAnatomy(); });
}

void CMainFrame::Classify(SliceViewModel& view) {
    AppSettings& settings = app_.settings();
    ClassifyDialogModel model(view, settings.drawing(), ui_, settings.ReadClassifyOptions(),
                              settings.classifySlow() != 0);
    RunClassifyDialog(this, model, [&] {
        return ApplyClassification(
            view.doc(), ui_, view.voi(), model.Values(), model.Options(),
            settings.classifySlow() != 0,
            [this](WorkerTask& task) { return CWorkerThreadDialog(task, this).Run(); },
            [&settings](const ClassificationRegistryValues& v) { settings.WriteClassification(v); });
    });
}

void CMainFrame::SaveSelectedGray() {
    if (!session_.project()) return;
    SaveSelectedGrayCommand(*session_.project(), ui_, app_.settings().locations(),
                            [this](WorkerTask& task) { return CWorkerThreadDialog(task, this).Run(); });
}

void CMainFrame::SaveVoiAsAnatomy() {
    CommandContext c = Context();
    const CSulcanView* view = ActiveView();
    SaveVoiAsAnatomyCommand(c, view ? view->model().voi() : c.doc.GetVoi());
}

void CMainFrame::SaveSliceAsTiff() {
    CSulcanView* view = ActiveView();
    if (!view) return;
    CSulcanDoc* doc = session_.project();
    SaveSliceAsTiffCommand([view] { return view->model().Capture(); }, ui_,
                           app_.settings().locations(), doc ? &doc->settings() : nullptr);
}

void CMainFrame::GreyscaleCommand(SliceViewModel& view) {
    SliceDrawing& drawing = app_.settings().drawing();
    GreyscaleDialogModel model(drawing);
    CGreyscaleDialog dialog(this, model, drawing.palette(), [&view, &drawing] {
        const auto& p = view.point();
        return BuildGreyPreview(SliceSourceOf(view.doc()), view.orientation(), view.slice(),
                                PicturePointOf(view.orientation(), p[0], p[1], p[2]),
                                CGreyscaleDialog::kPreviewSide, drawing.tables());
    });
    if (dialog.exec() == QDialog::Accepted) {
        app_.settings().WriteGrey(model.Accept());
        view.Refresh(2);
        view.doc().UpdateAllViews(kChangeGreySettings);
    } else {
        model.Cancel();
        view.doc().UpdateAllViews(kChangeRepaint);
    }
}

void CMainFrame::ZoomCommand(SliceViewModel& view) {
    ZoomDialogModel model(view.zoom());
    CZoomDialog dialog(this, model);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::array<int, 3> zoom = model.zoom();
    view.SetZoom(zoom[0], zoom[1], zoom[2]);
    app_.settings().SetZoom(zoom[0], zoom[1], zoom[2]);
    app_.settings().WriteZoom();
}

void CMainFrame::ToggleAnimation() {
    animating_ = !animating_;
    for (CChildFrame* f : ChildFrames()) f->view()->model().SetAnimating(animating_);
    UpdateViewChecks();
}

// ---------------------------------------------------------------- project windows

std::vector<CChildFrame*> CMainFrame::ChildFrames() const {
    std::vector<CChildFrame*> frames;
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder))
        if (auto* f = dynamic_cast<CChildFrame*>(w)) frames.push_back(f);
    return frames;
}

bool CMainFrame::CreateProjectWindow(CSulcanDoc& doc) {
    doc.SetHost(this);
    return true;
}

void CMainFrame::DestroyProjectWindow() {
    closingProject_ = true;
    for (CChildFrame* f : ChildFrames()) delete f;
    closingProject_ = false;
    BuildMenus();
}

void CMainFrame::ShowProject(CSulcanDoc& doc, int views) {
    for (int v = 0; v < views; ++v) {
        SliceViewRecord record;
        const bool saved = doc.settings().TakeFirstViewRecord(record);
        const CSulcanView* active = ActiveView();
        AddViewPair(doc, saved ? &record : nullptr, active ? &active->model() : nullptr);
    }
    BuildMenus();
}

void CMainFrame::AddViewPair(CSulcanDoc& doc, const SliceViewRecord* record,
                             const SliceViewModel* active) {
    AppSettings& settings = app_.settings();
    auto* frame = new CChildFrame(doc, ui_, settings.drawing(), settings, record, active);
    mdi_->addSubWindow(frame);
    auto* tool = new CToolFrame(*frame);
    mdi_->addSubWindow(tool);
    // Closing the last view closes the project, with its questions.
    frame->installEventFilter(this);
    connect(frame, &QObject::destroyed, this, [this] {
        if (closingProject_) return;
        CaptionFrames();
        BuildMenus();
    });
    CSulcanView* view = frame->view();
    view->onStateChanged = [this, panel = QPointer<CToolPanel>(tool->panel()), view] {
        if (panel) panel->Refresh(view->model().PanelState());
        UpdateViewChecks();
    };
    CaptionFrames();
    frame->show();
    PlaceViewPair(*frame, *tool, record);
    view->model().RestoreScroll();
    if (animating_) view->model().SetAnimating(true);
    doc.RefreshStatus();
}

void CMainFrame::PlaceViewPair(CChildFrame& frame, CToolFrame& tool,
                               const SliceViewRecord* record) {
    const Rect client = RectOf(mdi_->viewport()->rect());
    tool.adjustSize();
    const QSize full = frame.view()->FullFrameSize();
    frame.setMaximumSize(full);
    const int32_t* frameWords = record ? &record->words[SliceViewRecord::kFramePlacement] : nullptr;
    const int32_t* toolWords = record ? &record->words[SliceViewRecord::kToolPlacement] : nullptr;
    const std::optional<Rect> savedFrame = frameWords ? PlacementRect(frameWords) : std::nullopt;
    const std::optional<Rect> savedTool = toolWords ? PlacementRect(toolWords) : std::nullopt;
    if (savedFrame && savedTool) {
        frame.setGeometry(QRectOf(KeepReachable(*savedFrame, client)));
        tool.setGeometry(QRectOf(KeepReachable(*savedTool, client)));
    } else {
        const ViewPairPlacement p = PlaceNewViewPair(client, SizeOf(tool.size()), SizeOf(full));
        frame.setGeometry(QRectOf(p.frame));
        tool.setGeometry(QRectOf(p.tool));
    }
    tool.show();
    if (frameWords && PlacementMinimised(frameWords)) frame.showMinimized();
    if (toolWords && PlacementMinimised(toolWords)) tool.showMinimized();
}

void CMainFrame::CaptionFrames() {
    const std::vector<CChildFrame*> frames = ChildFrames();
    CSulcanDoc* doc = session_.project();
    if (!doc) return;
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i]->setWindowTitle(
            Q(ViewFrameCaption(doc->settings().projectName(), int(i) + 1, int(frames.size()))));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && !closingProject_ && ChildFrames().size() == 1 &&
        dynamic_cast<CChildFrame*>(watched)) {
        event->ignore();
        session_.CloseProject(false);  // closes the frame when the user agrees
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

ProjectWindows CMainFrame::CollectWindows() {
    ProjectWindows w;
    const std::vector<CChildFrame*> frames = ChildFrames();
    for (size_t i = 0; i < frames.size(); ++i) {
        w.views.push_back(frames[i]->Record());
        if (frames[i]->view() == ActiveView()) w.activeView = int(i);
    }
    return w;
}

void CMainFrame::ClearStatusPanes() {
    cursorPane_->clear();
    voiPane_->clear();
}

void CMainFrame::ShowCursorStatus(const std::string& text) {
    cursorPane_->setText(Q(text));
}
void CMainFrame::ShowVoiStatus(const std::string& text) {
    voiPane_->setText(Q(text));
}

void CMainFrame::NotifyAllViews(int code) {
    if (session_.project()) session_.project()->UpdateAllViews(code);
}

void CMainFrame::SyncViews() {
    NotifyAllViews(kChangeVolumesReplaced);
}

void CMainFrame::AboutDialog() {
    ShowAboutDialog(this);
}

void CMainFrame::ProjectFilesDialog() {
    ShowProjectFilesDialog(this, session_.ProjectFiles());
}

}  // namespace sulcan
