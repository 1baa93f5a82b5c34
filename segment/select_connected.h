#pragma once
// Selecting and deselecting a connected white (or gray) matter volume with Ctrl+click.
#include <cstdint>

#include "volume/volume_types.h"

namespace sulcan {

class CSulcanDoc;
class Ui;

// The Ctrl+click of a slice view on (x, y, z) with the view's VOI: selects (or, with `select`
// clear, deselects) the connected volume of the clicked tissue inside the VOI and tells all
// views the classification was edited. A voxel outside the VOI, CSF or unknown does nothing.
void SelectConnected(CSulcanDoc& doc, Ui& ui, int32_t x, int32_t y, int32_t z, const VoiBox& voi,
                     bool select);

// The white part: sets (or clears) the selection bit of the 26-connected white matter of the
// VOI that holds (x, y, z). Returns the number of voxels of that component, 0 when (x, y, z) is
// not white matter inside the VOI, -1 after "Error extracting VOI!". Change flags are left
// alone: the selection is not part of the saved classification.
int64_t SelectConnectedWhite(CSulcanDoc& doc, Ui& ui, int32_t x, int32_t y, int32_t z,
                             const VoiBox& voi, bool select);

}  // namespace sulcan
