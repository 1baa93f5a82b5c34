#include "slices/view_commands.h"

#include "platform/Ui.h"
#include "platform/format.h"
#include "segment/gray_grower.h"
#include "segment/messages.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {

namespace {
const char* OnOff(bool on) { return on ? "ON" : "OFF"; }
}  // namespace

bool GrowGrayMatterCommand(CSulcanDoc& doc, Ui& ui, const VoiBox& voi, int layers,
                           const WorkerRunner& run) {
    if (!doc.whiteContention || !doc.grayContention) {
        const std::string text = Format(msg::view::kContentionWarning, OnOff(doc.whiteContention),
                                        OnOff(doc.grayContention));
        if (ui.Message(text, "", Buttons::OkCancel, Icon::Exclamation) != Answer::Ok) return false;
    }
    WorkerTask task;
    MakeGrowGrayTask(task, doc, ui, voi, layers);
    if (run(task) != WorkerResult::Cancel) doc.whiteContention = doc.grayContention = true;
    doc.UpdateAllViews(kChangeClassEdited);
    return true;
}

bool ApplyClassification(CSulcanDoc& doc, Ui& ui, const VoiBox& voi,
                         const ClassificationParameters& parameters,
                         const ClassifyDialogOptions& options, bool classifySlow,
                         const WorkerRunner& run,
                         const std::function<void(const ClassificationRegistryValues&)>& store) {
    ClassificationApply apply;
    if (!apply.Prepare(doc, voi, parameters, classifySlow)) {
        ui.Message(msg::kClassifyOutOfMemory);
        return false;
    }
    WorkerTask task;
    MakeClassifyTask(task, apply);
    if (run(task) == WorkerResult::Cancel || !apply.Commit(doc)) return false;
    if (store) store(RegistryValuesOf(parameters, options));
    doc.settings().SetClassification(parameters);
    doc.UpdateAllViews(kChangeClassEdited);
    return true;
}

}  // namespace sulcan
