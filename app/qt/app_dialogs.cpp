#include "app/qt/app_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/project_messages.h"
#include "app/qt/CMainFrame.h"
#include "platform/format.h"
#include "app/FileLocationsModel.h"
#include "app/GrayLayersModel.h"
#include "app/PreferencesModel.h"
#include "app/qt/CFileLocationsDialog.h"
#include "app/qt/CPreferencesDialog.h"
#include "project/OverlaySheetModel.h"
#include "segment/messages.h"
#include "segment/threshold.h"
#include "project/qt/COverlaySheet.h"
#include "volume/overlay_loading.h"
#include "volume/qt/CImportSlicesDialog.h"
#include "volume/slice_import.h"

namespace sulcan {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
constexpr int kNameFieldWidth = 420;  // pixels of a project file name field
}  // namespace

std::string DisplayCharacteristics(int bitsPerPixel, int planes, const std::string& glVendor,
                                   const std::string& glRenderer, const std::string& glVersion) {
    std::string text = Format("%d bits per pixel, %d color plane%s\n\n", bitsPerPixel, planes,
                              planes == 1 ? "" : "s");
    if (glVendor.empty()) return text + "Open 3D Viewer and then return\nto see Open GL information";
    return text + "Open GL Vendor: " + glVendor + "\nRenderer: " + glRenderer +
           "\nVersion: " + glVersion;
}

void ShowAboutDialog(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle("About Sulcan");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("<b>Sulcan</b>"));
    layout->addWidget(new QLabel("Version 4.3"));
    layout->addWidget(new QLabel("Segmentation, topology analysis and 3D visualisation"));
    auto* group = new QGroupBox("Display characteristics");
    auto* groupLayout = new QVBoxLayout(group);
    const int depth = parent && parent->screen() ? parent->screen()->depth() : 24;
    groupLayout->addWidget(new QLabel(Q(DisplayCharacteristics(depth, 1, "", "", ""))));
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

void ShowProjectFilesDialog(QWidget* parent, const std::vector<ProjectFileLine>& lines) {
    QDialog dialog(parent);
    dialog.setWindowTitle(msg::kProjectFilesCaption);
    auto* form = new QFormLayout(&dialog);
    for (const ProjectFileLine& line : lines) {
        auto* field = new QLineEdit;
        field->setReadOnly(true);
        field->setFixedWidth(kNameFieldWidth);
        const QFontMetrics metrics(field->font());
        const int room = kNameFieldWidth - 12;
        field->setText(Q(ShortenFromLeft(line.value, [&](const std::string& s) {
            return metrics.horizontalAdvance(Q(s)) <= room;
        })));
        field->setCursorPosition(0);
        form->addRow(Q(line.caption), field);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    form->addRow(buttons);
    dialog.exec();
}

void RunImportSlices(CMainFrame& frame) {
    MakeAnatomyFromIFiles(frame.ui(), frame.app().profile(), frame.app().settings().locations(),
                          [&frame](ImportSlicesDialogModel& model) {
                              return CImportSlicesDialog::Run(model, &frame);
                          });
}

}  // namespace sulcan

namespace sulcan {

void RunPreferences(CMainFrame& frame) {
    PreferencesModel model(frame.app().settings(), frame.ui(),
                           {[&frame] { frame.NotifyAllViews(kChangeVolumesReplaced); }, {}});
    CPreferencesDialog::Run(model, &frame);
}

void RunFileLocations(CMainFrame& frame) {
    FileLocationsModel model(frame.app().settings().locations(), frame.ui());
    CFileLocationsDialog::Run(model, &frame);
}

void RunOverlaySheet(CMainFrame& frame) {
    CSulcanDoc* doc = frame.session().project();
    if (!doc) return;
    OverlaySheetModel model(doc->settings(), frame.app().settings().locations(), frame.ui());
    COverlaySheet(model, &frame).exec();
    const DisplayFormat format = frame.app().settings().drawing().format();
    ReloadOverlaysAfterSheet(*doc, frame.ui(), model,
                             [format](uint32_t rgb) { return ToDisplayPixel(rgb, format); });
}

void RunGrayLayersDialog(CMainFrame& frame, CSulcanDoc& doc) {
    namespace m = msg::gray_layers;
    GrayLayersModel model(frame.app().settings(), doc);
    QDialog dialog(&frame);
    dialog.setWindowTitle(m::kTitle);
    auto* layout = new QVBoxLayout(&dialog);
    auto* layersGroup = new QGroupBox(m::kLayersGroup, &dialog);
    auto* layers = new QSpinBox(layersGroup);
    layers->setRange(kMinGrayLayers, kMaxGrayLayers);
    layers->setValue(model.layers());
    (new QVBoxLayout(layersGroup))->addWidget(layers);
    auto* contention = new QGroupBox(m::kContentionGroup, &dialog);
    auto* contentionLayout = new QVBoxLayout(contention);
    contentionLayout->addWidget(new QLabel(m::kCheckFor, contention));
    auto* white = new QCheckBox(m::kWhiteContention, contention);
    auto* gray = new QCheckBox(m::kGrayContention, contention);
    white->setChecked(model.whiteContention());
    gray->setChecked(model.grayContention());
    contentionLayout->addWidget(white);
    contentionLayout->addWidget(gray);
    auto* note = new QLabel(m::kNote, &dialog);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(layersGroup);
    layout->addWidget(contention);
    layout->addWidget(note);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return;
    model.SetLayers(layers->value());
    model.SetWhiteContention(white->isChecked());
    model.SetGrayContention(gray->isChecked());
    model.Accept(frame.app().settings(), doc);
}

void RunThresholdDialog(CMainFrame& frame, CSulcanDoc& doc) {
    AppSettings& settings = frame.app().settings();
    ThresholdModel model(settings.ReadThreshold());
    QDialog dialog(&frame);
    dialog.setWindowTitle(msg::kThresholdDialogTitle);
    auto* form = new QFormLayout(&dialog);
    auto* level = new QSpinBox(&dialog);
    level->setRange(0, 255);  // the edits' range validation
    level->setValue(model.options().level);
    auto* radius = new QSpinBox(&dialog);
    radius->setRange(0, 20);
    radius->setValue(model.options().radius);
    auto* doThreshold = new QCheckBox("Do threshold", &dialog);
    doThreshold->setChecked(model.options().doThreshold);
    auto* doBlur = new QCheckBox("Do blur", &dialog);
    doBlur->setChecked(model.options().doBlur);
    form->addRow("Level", level);
    form->addRow("Blur radius", radius);
    form->addRow(doThreshold);
    form->addRow(doBlur);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* apply = buttons->addButton("Apply", QDialogButtonBox::AcceptRole);
    QPushButton* close = buttons->addButton("Close", QDialogButtonBox::RejectRole);
    apply->setDefault(true);
    form->addRow(buttons);
    const auto takeOver = [&] {
        model.SetLevel(level->value());
        model.SetRadius(radius->value());
        model.SetDoThreshold(doThreshold->isChecked());
        model.SetDoBlur(doBlur->isChecked());
        settings.WriteThreshold(model.TakeOver());
    };
    QObject::connect(apply, &QPushButton::clicked, &dialog, [&] {
        takeOver();
        WaitCursor wait(frame.ui());
        model.Apply(doc);
    });
    QObject::connect(close, &QPushButton::clicked, &dialog, [&] {
        takeOver();
        dialog.accept();
    });
    dialog.exec();
}

}  // namespace sulcan
