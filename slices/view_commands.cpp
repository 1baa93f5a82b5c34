#include "slices/view_commands.h"

#include "platform/Ui.h"
#include "platform/format.h"
#include "segment/gray_grower.h"
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

}  // namespace sulcan
