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

#include "slices/qt/CChildFrame.h"
#include "app/qt/app_dialogs.h"
#include "app/window_placement.h"
#include "volume/anatomy_commands.h"
#include "volume/class_commands.h"

namespace sulcan {

namespace {
constexpr const char* kCursorPaneSample = "XYZ(RGB)=(999,999,999)";
constexpr const char* kVoiPaneSample = "VOI: (999,999,999)-(999,999,999)";
constexpr const char* kToolBarValue = "ToolBarShown";
constexpr const char* kStatusBarValue = "StatusBarShown";
const QRect kInitialRect(100, 80, 1024, 768);

QString Q(const std::string& s) { return QString::fromStdString(s); }
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

CMainFrame::~CMainFrame() { closingProject_ = true; }

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
        AddAction(anatomy, "Save &VOI as anatomy", [this] {
            CommandContext c = Context();
            SaveVoiAsAnatomyCommand(c, c.doc.GetVoi());
        });
    }
    AddAction(anatomy, "&Make Anatomy from I-files", [this] { RunImportSlices(*this); });
    if (open) {
        QMenu* cls = file->addMenu("Classification...");
        AddAction(cls, "Loa&d", [this] {
            CommandContext c = Context();
            LoadClassificationCommand(c);
        });
        AddAction(cls, "Sav&e", [this] {
            CommandContext c = Context();
            SaveClassificationCommand(c);
        }, SaveClassificationEnabled(*session_.project()));
        AddAction(cls, "Save as...", [this] {
            CommandContext c = Context();
            SaveClassificationAsCommand(c);
        });
        connect(cls, &QMenu::aboutToShow, this, [this] {
            if (QAction* save = Action("Sav&e"))
                save->setEnabled(session_.project() && SaveClassificationEnabled(*session_.project()));
        });
    }
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
    menuBar()->clear();
    const bool open = session_.project() != nullptr;
    BuildFileMenu(open);
    if (open) {
        QMenu* edit = menuBar()->addMenu("&Edit");
        for (const char* item : {"Deselect &White", "Deselect &Gray", "Delete unselected W&hite",
                                 "Delete all G&ray", "Delete all &CSF", "Clear classification &volume"})
            AddAction(edit, item, nullptr);  // with the slice views
    }
    QMenu* view = menuBar()->addMenu("&View");
    QAction* tb = AddAction(view, "&Toolbar", [this] { toolBar_->setVisible(!toolBar_->isVisible()); });
    tb->setCheckable(true);
    tb->setChecked(toolBar_->isVisible());
    QAction* sb = AddAction(view, "&Status Bar", [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
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
        AddAction(view, "Sync slice views", [this] { SyncViews(); },
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
    const Rect placed = PlaceMainWindow({stored.left, stored.top, stored.right, stored.bottom},
                                        {desktop.left(), desktop.top(), desktop.right() + 1,
                                         desktop.bottom() + 1});
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
        auto* frame = new CChildFrame(doc, app_.settings().zoom()[0]);
        frame->setParent(mdi_);
        mdi_->addSubWindow(frame);
        SliceViewRecord record;
        if (doc.settings().TakeFirstViewRecord(record)) frame->Restore(record);
        // Closing the last view closes the project, with its questions.
        frame->installEventFilter(this);
        connect(frame, &QObject::destroyed, this, [this] {
            if (!closingProject_) BuildMenus();
        });
        frame->show();
    }
    BuildMenus();
    doc.RefreshStatus();
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
        if (frames[i] == mdi_->activeSubWindow()) w.activeView = int(i);
    }
    return w;
}

void CMainFrame::ClearStatusPanes() {
    cursorPane_->clear();
    voiPane_->clear();
}

void CMainFrame::ShowCursorStatus(const std::string& text) { cursorPane_->setText(Q(text)); }
void CMainFrame::ShowVoiStatus(const std::string& text) { voiPane_->setText(Q(text)); }

void CMainFrame::NotifyAllViews(int code) {
    if (session_.project()) session_.project()->UpdateAllViews(code);
}

void CMainFrame::SyncViews() { NotifyAllViews(kChangeVolumesReplaced); }

void CMainFrame::AboutDialog() { ShowAboutDialog(this); }

void CMainFrame::ProjectFilesDialog() { ShowProjectFilesDialog(this, session_.ProjectFiles()); }

}  // namespace sulcan
