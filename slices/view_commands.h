#pragma once
// Commands of a slice view that run long work on the document: growing gray matter.
#include <string>

#include "volume/volume_types.h"
#include "worker/WorkerDialogModel.h"
#include "worker/WorkerTask.h"

namespace sulcan {

class CSulcanDoc;
class Ui;

namespace msg::view {
inline constexpr const char* kGrowGrayCommand = "&Grow Gray Matter";
inline constexpr const char* kGrowGrayStatus = "Grow Gray matter layers from white matter";
inline constexpr const char* kContentionWarning =
    "Warning: Contention settings are:\n\nWhite contention: %s\nGray contention: %s\n\nOk to "
    "continue?";
}  // namespace msg::view

// "Grow Gray Matter": asks before growing with a contention check off, grows `layers` layers
// inside the VOI in the worker, sets both switches on again after a run that was not
// cancelled, and tells every view that the classification was edited. False when the user
// declined.
bool GrowGrayMatterCommand(CSulcanDoc& doc, Ui& ui, const VoiBox& voi, int layers,
                           const WorkerRunner& run);

}  // namespace sulcan
