#include "app/qt/CPreferencesDialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace sulcan {

CPreferencesDialog::CPreferencesDialog(PreferencesModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(msg::prefs::kCaption);
    auto* choices = new QVBoxLayout;
    choices->addWidget(MakeChoiceGroup(msg::prefs::kCrossbarsGroup, msg::prefs::kSingly,
                                       msg::prefs::kPaired, model.singly(), &singly_));
    choices->addWidget(MakeChoiceGroup(msg::prefs::kSharedGroup, msg::prefs::kYes, msg::prefs::kNo,
                                       model.positionShared(), &shared_));
    choices->addWidget(MakeChoiceGroup(msg::prefs::kAlgorithmGroup, msg::prefs::kSlowAlgorithm,
                                       msg::prefs::kFastAlgorithm, model.slowClassification(),
                                       &slow_));
    choices->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(MakeColourGroup());
    top->addLayout(choices);

    auto* help = new QGroupBox(msg::prefs::kHelpGroup);
    helpEdit_ = new QLineEdit(QString::fromStdString(model.helpUrl()));
    helpEdit_->setMaxLength(setting::kHelpURLMaxLength);
    (new QVBoxLayout(help))->addWidget(helpEdit_);

    // "Load defaults" is the cancel command.
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(msg::prefs::kOk, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(msg::prefs::kLoadDefaults, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(help);
    layout->addWidget(buttons);
    PaintSwatches();
}

void CPreferencesDialog::Run(PreferencesModel& model, QWidget* parent) {
    CPreferencesDialog dialog(model, parent);
    dialog.exec();
}

QWidget* CPreferencesDialog::MakeColourGroup() {
    auto* group = new QGroupBox(msg::prefs::kColourGroup);
    auto* grid = new QGridLayout(group);
    for (int row = 0; row < kPreferenceColourCount; ++row) {
        auto* swatch = new QFrame;
        swatch->setFrameShape(QFrame::Box);
        swatch->setFixedSize(48, 20);
        swatch->setAutoFillBackground(true);
        swatches_[row] = swatch;
        auto* edit = new QPushButton(msg::prefs::kEdit);
        edit->setAutoDefault(false);
        connect(edit, &QPushButton::clicked, this, [this, row] { EditColour(row); });
        grid->addWidget(new QLabel(msg::prefs::kColourLabels[row]), row, 0);
        grid->addWidget(swatch, row, 1);
        grid->addWidget(edit, row, 2);
    }
    return group;
}

QWidget* CPreferencesDialog::MakeChoiceGroup(const char* title, const char* first,
                                             const char* second, bool firstChecked,
                                             QRadioButton** firstButton) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    *firstButton = new QRadioButton(first);
    auto* other = new QRadioButton(second);
    (firstChecked ? *firstButton : other)->setChecked(true);
    layout->addWidget(*firstButton);
    layout->addWidget(other);
    return group;
}

void CPreferencesDialog::EditColour(int row) {
    if (model_.EditColour(row)) PaintSwatches();
}

void CPreferencesDialog::PaintSwatches() {
    for (int row = 0; row < kPreferenceColourCount; ++row) {
        const Rgb c = model_.colour(row);
        QPalette palette = swatches_[row]->palette();
        palette.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
        swatches_[row]->setPalette(palette);
    }
}

void CPreferencesDialog::accept() {
    model_.SetSingly(singly_->isChecked());
    model_.SetPositionShared(shared_->isChecked());
    model_.SetSlowClassification(slow_->isChecked());
    model_.SetHelpUrl(helpEdit_->text().toStdString());
    model_.Ok();
    QDialog::accept();
}

// The cancel command loads the defaults; the dialog stays open, so the close box does too.
void CPreferencesDialog::reject() {
    model_.LoadDefaults();
    PaintSwatches();
}

}  // namespace sulcan
