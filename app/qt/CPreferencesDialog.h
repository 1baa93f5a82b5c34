#pragma once
// The "Preferences" dialog over a PreferencesModel: colour swatches with "Edit", the three
// choices, the help address, "OK" and "Load defaults". Esc and the close box load the
// defaults like that button and leave the dialog open; only OK closes it.
#include <QDialog>
#include <array>

#include "app/PreferencesModel.h"

class QFrame;
class QLineEdit;
class QRadioButton;

namespace sulcan {

class CPreferencesDialog : public QDialog {
public:
    CPreferencesDialog(PreferencesModel& model, QWidget* parent = nullptr);

    // Shows the dialog modally; it always ends with OK.
    static void Run(PreferencesModel& model, QWidget* parent);

    QFrame* swatch(int row) const { return swatches_[row]; }
    QLineEdit* helpEdit() const { return helpEdit_; }

    void accept() override;
    void reject() override;

private:
    QWidget* MakeColourGroup();
    QWidget* MakeChoiceGroup(const char* title, const char* first, const char* second,
                             bool firstChecked, QRadioButton** firstButton);
    void EditColour(int row);
    void PaintSwatches();

    PreferencesModel& model_;
    std::array<QFrame*, kPreferenceColourCount> swatches_{};
    QRadioButton* singly_ = nullptr;
    QRadioButton* shared_ = nullptr;
    QRadioButton* slow_ = nullptr;
    QLineEdit* helpEdit_ = nullptr;
};

}  // namespace sulcan
