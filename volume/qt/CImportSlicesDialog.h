#pragma once
// The "Make anatomy file from I-Files" dialog: the explanation, the folder edit with its
// "Browse" button, and OK / Cancel, over an ImportSlicesDialogModel.
#include <QDialog>

#include "volume/slice_import.h"

class QLineEdit;

namespace sulcan {

class CImportSlicesDialog : public QDialog {
  public:
    CImportSlicesDialog(ImportSlicesDialogModel& model, QWidget* parent = nullptr);

    // Shows the dialog modally on the model; true for OK. Fits MakeAnatomyFromIFiles.
    static bool Run(ImportSlicesDialogModel& model, QWidget* parent);

    QLineEdit* folderEdit() const { return edit_; }

  private:
    void Browse();
    void accept() override;

    ImportSlicesDialogModel& model_;
    QLineEdit* edit_;
};

}  // namespace sulcan
