#include "volume/qt/CImportSlicesDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sulcan {

CImportSlicesDialog::CImportSlicesDialog(ImportSlicesDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model), edit_(new QLineEdit(QString::fromStdString(model.folder()))) {
    setWindowTitle(msg::slices::kDialogTitle);
    auto* text = new QLabel(msg::slices::kDialogText);
    text->setWordWrap(true);
    auto* browse = new QPushButton(msg::slices::kBrowse);
    connect(browse, &QPushButton::clicked, this, &CImportSlicesDialog::Browse);
    auto* row = new QHBoxLayout;
    row->addWidget(edit_, 1);
    row->addWidget(browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(row);
    layout->addWidget(buttons);
    edit_->setMinimumWidth(320);
}

bool CImportSlicesDialog::Run(ImportSlicesDialogModel& model, QWidget* parent) {
    CImportSlicesDialog dialog(model, parent);
    return dialog.exec() == QDialog::Accepted;
}

void CImportSlicesDialog::Browse() {
    model_.SetFolder(edit_->text().toStdString());
    if (model_.Browse()) edit_->setText(QString::fromStdString(model_.folder()));
}

void CImportSlicesDialog::accept() {
    model_.SetFolder(edit_->text().toStdString());
    QDialog::accept();
}

}  // namespace sulcan
