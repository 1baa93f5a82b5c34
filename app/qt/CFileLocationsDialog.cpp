#include "app/qt/CFileLocationsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sulcan {

namespace {
QLabel* WrappedLabel(const char* text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}
}  // namespace

CFileLocationsDialog::CFileLocationsDialog(FileLocationsModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setWindowTitle(msg::locations::kCaption);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(msg::locations::kOk, QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(msg::locations::kCancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(msg::locations::kFirstPlace));
    layout->addLayout(MakeRows());
    layout->addWidget(WrappedLabel(msg::locations::kAutoUpdateNote));
    layout->addWidget(WrappedLabel(msg::locations::kRelativeNote));
    layout->addWidget(buttons);
}

bool CFileLocationsDialog::Run(FileLocationsModel& model, QWidget* parent) {
    CFileLocationsDialog dialog(model, parent);
    return dialog.exec() == QDialog::Accepted;
}

QLayout* CFileLocationsDialog::MakeRows() {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(msg::locations::kAutoUpdateHeader), 0, 3, Qt::AlignHCenter);
    for (int t = 0; t < kLocationCount; ++t) {
        auto* edit = new QLineEdit(QString::fromStdString(model_.path(t)));
        edit->setMaxLength(int(FileLocationsModel::kMaxPathLength));
        edit->setMinimumWidth(320);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::editingFinished, this, [this, t] { Commit(t); });
        auto* browse = new QPushButton(msg::locations::kBrowse);
        browse->setAutoDefault(false);
        connect(browse, &QPushButton::clicked, this, [this, t] { Browse(t); });
        auto* box = new QCheckBox;
        box->setChecked(model_.autoUpdate(t));
        connect(box, &QCheckBox::toggled, this,
                [this, t](bool on) { model_.SetAutoUpdate(t, on); });
        edits_[t] = edit;
        autoBoxes_[t] = box;
        grid->addWidget(new QLabel(model_.label(t)), t + 1, 0);
        grid->addWidget(edit, t + 1, 1);
        grid->addWidget(browse, t + 1, 2);
        grid->addWidget(box, t + 1, 3, Qt::AlignHCenter);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

void CFileLocationsDialog::Commit(int type) {
    model_.SetPath(type, edits_[type]->text().toStdString());
}

void CFileLocationsDialog::Browse(int type) {
    Commit(type);
    if (model_.Browse(type)) edits_[type]->setText(QString::fromStdString(model_.path(type)));
}

bool CFileLocationsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int t = 0; t < kLocationCount; ++t) {
            if (watched == edits_[t] && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                Commit(t);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CFileLocationsDialog::accept() {
    for (int t = 0; t < kLocationCount; ++t) Commit(t);
    model_.Ok();
    QDialog::accept();
}

}  // namespace sulcan
