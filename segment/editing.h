#pragma once
// Manual corrections of the classification: the square brush of the slice views and the
// whole-volume relabelling commands.
#include <cstdint>
#include <vector>

namespace sulcan {

class CSulcanDoc;
class Ui;

// Edit modes of a slice view (the document's PaintVoxel knows white, CSF and gray).
inline constexpr int kEditModeNone = 3;

// Paints an n-voxel square centred on image (column, row) into one slice of the orientation
// (for even n it reaches one voxel further towards lower columns and rows), cut at the image
// edges. Each voxel goes through PaintVoxel with the edit mode; only the white and CSF modes
// paint, and only Unknown, White or Csf. Returns the number of voxels changed and, with
// `changed`, appends their packed positions.
int PaintSquare(CSulcanDoc& doc, int orientation, int32_t slice, int32_t column, int32_t row,
                int size, uint8_t label, int editMode, std::vector<uint32_t>* changed = nullptr);

// "Deselect" white (0x10) or gray (0x20). Returns 0 for another tissue.
int DeselectTissue(CSulcanDoc& doc, Ui& ui, uint8_t tissue);

// Which classes DeleteTissue removes.
inline constexpr uint8_t kWhichUnselectedWhite = 0x10;
inline constexpr uint8_t kWhichAllGray = 0x20;
inline constexpr uint8_t kWhichAllCsf = 0x30;
inline constexpr uint8_t kWhichEverything = 0xFF;

// "Delete" unselected white, all gray, all CSF, or "Clear" everything. Returns 0 for another
// value of `which`.
int DeleteTissue(CSulcanDoc& doc, Ui& ui, uint8_t which);

}  // namespace sulcan
