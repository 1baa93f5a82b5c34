#pragma once
// The modal sheet "Overlay file lists" over OverlaySheetModel: one tab per list and a "Close"
// button. Every change is made in the project at once; the caller reloads the overlays when
// the model says a page changed (ReloadOverlaysAfterSheet).
#include <QDialog>
#include <QWidget>

#include "project/OverlaySheetModel.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace sulcan {

// One page: its list (status, tab, name) and its three buttons.
class CFileListPage : public QWidget {
  public:
    CFileListPage(FileListPageModel& model, QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* toggleButton() const { return toggle_; }

  private:
    void Refresh();
    void Act(void (FileListPageModel::*action)());

    FileListPageModel& model_;
    QListWidget* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* toggle_;
    bool refreshing_ = false;
};

class COverlaySheet : public QDialog {
  public:
    COverlaySheet(OverlaySheetModel& model, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    CFileListPage* page(int index) const;
    QPushButton* closeButton() const { return close_; }

  private:
    QTabWidget* tabs_;
    QPushButton* close_;
};

}  // namespace sulcan
