#pragma once
// The main window: the multiple-document area with the project's slice views, the menus of
// "no project" and "project open", the toolbar and the status bar with the cursor and VOI panes.
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QToolBar>
#include <functional>
#include <vector>

#include "app/CSulcanApp.h"
#include "platform/qt/QtUi.h"

namespace sulcan {

class CChildFrame;
class CSulcanView;
class CToolFrame;
class SliceViewModel;
struct SliceViewRecord;

class CMainFrame : public QMainWindow, public ProjectHost, public DocumentHost {
  public:
    // Talks to the user through `ui` when given (tests script it), else through Qt dialogs.
    explicit CMainFrame(CSulcanApp& app, Ui* ui = nullptr);
    ~CMainFrame() override;

    Ui& ui() { return ui_; }
    CSulcanApp& app() { return app_; }
    ProjectSession& session() { return session_; }
    // The action with this menu text (with "&"), for tests that drive the menus.
    QAction* Action(const QString& text) const;
    // The action with this text in the menu titled `menu`, where texts repeat across menus.
    QAction* Action(const QString& menu, const QString& text) const;
    // The slice view whose frame or tool window is the current MDI child.
    CSulcanView* ActiveView() const;
    // Tells the open project's views a change code.
    void NotifyAllViews(int code);

    // ProjectHost
    bool CreateProjectWindow(CSulcanDoc& doc) override;
    void DestroyProjectWindow() override;
    void ShowProject(CSulcanDoc& doc, int views) override;
    ProjectWindows CollectWindows() override;
    bool ViewerOpen() const override { return false; }
    void CloseViewer() override {}
    void OpenViewer(const std::string&) override {}
    void ClearStatusPanes() override;
    // DocumentHost
    void ShowCursorStatus(const std::string& text) override;
    void ShowVoiStatus(const std::string& text) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildMenus();
    void BuildFileMenu(bool open);
    void BuildToolBar();
    void BuildStatusBar();
    void PlaceWindow();
    void RememberRect();
    QAction* AddAction(QMenu* menu, const QString& text, std::function<void()> run,
                       bool enabled = true);
    std::vector<CChildFrame*> ChildFrames() const;
    using ViewCommand = std::function<void(SliceViewModel&)>;
    using ViewCheck = std::function<bool(const SliceViewModel&)>;
    // A command of the active slice view, disabled without one; `checked` gives its check mark.
    QAction* AddViewAction(QMenu* menu, const QString& text, ViewCommand run,
                           ViewCheck checked = {});
    void BuildEditMenu();
    void BuildSliceMenu();
    void BuildViewStateMenus(QMenu* slices);
    void BuildTissueMenus(QMenu* slices);
    void UpdateViewChecks();
    void AddViewPair(CSulcanDoc& doc, const SliceViewRecord* record, const SliceViewModel* active);
    void PlaceViewPair(CChildFrame& frame, CToolFrame& tool, const SliceViewRecord* record);
    void CaptionFrames();
    void GreyscaleCommand(SliceViewModel& view);
    void ZoomCommand(SliceViewModel& view);
    void ToggleAnimation();
    void SaveSliceAsTiff();
    void SaveVoiAsAnatomy();
    void SaveSelectedGray();
    void Classify(SliceViewModel& view);
    CommandContext Context();
    void AboutDialog();
    void ProjectFilesDialog();
    void SyncViews();

    CSulcanApp& app_;
    QtUi qtUi_;
    Ui& ui_;
    ProjectSession& session_;
    QMdiArea* mdi_;
    QToolBar* toolBar_ = nullptr;
    QLabel* cursorPane_;
    QLabel* voiPane_;
    bool closingProject_ = false;
    bool placed_ = false;
    bool animating_ = false;
    std::vector<std::pair<QAction*, ViewCheck>> viewChecks_;
};

}  // namespace sulcan
