#pragma once
// Commands of a slice view that run long work on the document: growing gray matter.
#include <string>

#include "project/ProjectSettings.h"
#include "segment/classify.h"
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

// "Apply + Exit" of the classification dialog: classifies the VOI into a copy in the worker
// ("Applying classification"); when it was not cancelled the copy replaces the classification,
// the registry values are written, the parameters are stored in the project and every view is
// told. False, with the classification unchanged, when memory ran out ("Out of memory!") or
// the user cancelled.
bool ApplyClassification(CSulcanDoc& doc, Ui& ui, const VoiBox& voi,
                         const ClassificationParameters& parameters,
                         const ClassifyDialogOptions& options, bool classifySlow,
                         const WorkerRunner& run,
                         const std::function<void(const ClassificationRegistryValues&)>& store);

}  // namespace sulcan
