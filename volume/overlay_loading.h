#pragma once
// The document's four overlay sets (ROI, functional, cut, functional inside ROI), read from the
// project's overlay lists after a project was opened and after the lists changed.
#include "platform/Ui.h"
#include "project/OverlaySheetModel.h"
#include "project/overlay_file.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {

namespace msg {
inline constexpr const char* kLoadingOverlays = "Loading ROI, Functional and Cut overlays\n";
}  // namespace msg

// Empties the four sets and, when some list names a file that can be opened, reads the ROI,
// functional and cut lists with display colours and tells all views code 7 (also after a
// cancel, which leaves every set empty). Returns 1 when the lists were read, 0 when there was
// nothing to read or the user cancelled.
int LoadOverlays(CSulcanDoc& doc, Ui& ui, const ColourConversion& convert = {});

// The points whose voxel is also a voxel of `region`, in their order with their colours; empty
// when memory runs out.
OverlaySet PointsInsideRegion(const OverlaySet& points, const OverlaySet& region,
                              const VolumeDims& dims);

// Run when the overlay list sheet has closed: reloads the overlays when a page changed.
// Returns LoadOverlays' result, or 0 when nothing changed.
int ReloadOverlaysAfterSheet(CSulcanDoc& doc, Ui& ui, const OverlaySheetModel& sheet,
                             const ColourConversion& convert = {});

}  // namespace sulcan
