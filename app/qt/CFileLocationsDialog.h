#pragma once
// The "File Locations" dialog over a FileLocationsModel: for each location type its label,
// folder edit, "Browse" button and auto-update check box, the explanations, OK and Cancel.
#include <QDialog>
#include <array>

#include "app/FileLocationsModel.h"

class QCheckBox;
class QLineEdit;

namespace sulcan {

class CFileLocationsDialog : public QDialog {
public:
    CFileLocationsDialog(FileLocationsModel& model, QWidget* parent = nullptr);

    // Shows the dialog modally; true for OK.
    static bool Run(FileLocationsModel& model, QWidget* parent);

    QLineEdit* edit(int type) const { return edits_[type]; }
    QCheckBox* autoUpdateBox(int type) const { return autoBoxes_[type]; }

    void accept() override;

protected:
    // Enter in an edit commits that edit instead of pressing OK.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* MakeRows();
    void Commit(int type);
    void Browse(int type);

    FileLocationsModel& model_;
    std::array<QLineEdit*, kLocationCount> edits_{};
    std::array<QCheckBox*, kLocationCount> autoBoxes_{};
};

}  // namespace sulcan
