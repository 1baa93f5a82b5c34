#include "segment/editing.h"

#include <algorithm>

#include "platform/Ui.h"
#include "segment/messages.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {

namespace {

struct Range {
    int32_t first, last;  // inclusive; empty when first > last
};

Range BrushRange(int32_t centre, int size, int32_t extent) {
    const int32_t f = size / 2;
    return {std::max(centre - f, 0), std::min(centre + (size - f - 1), extent - 1)};
}

// Volume position of an image (column, row) of a slice, from the orientation table.
void VoxelOf(int orientation, int32_t slice, int32_t column, int32_t row, int32_t v[3]) {
    switch (orientation) {
        case Sagittal:
            v[0] = column, v[1] = row, v[2] = slice;
            break;
        case Axial:
            v[0] = row, v[1] = slice, v[2] = column;
            break;
        default:
            v[0] = slice, v[1] = row, v[2] = column;
            break;
    }
}

bool Paints(int editMode, uint8_t label) {
    const bool mode = editMode == kEditWhite || editMode == kEditCsf;
    return mode && (label == Unknown || label == White || label == Csf);
}

struct RelabelCommand {
    const char* notice;
    const Relabelling& labels;
};

void RunRelabel(CSulcanDoc& doc, Ui& ui, const RelabelCommand& command) {
    {
        ProcessingNotice notice(ui, command.notice);
        doc.Relabel(command.labels);
    }
    doc.UpdateAllViews(kChangeClassEdited);
}

}  // namespace

int PaintSquare(CSulcanDoc& doc, int orientation, int32_t slice, int32_t column, int32_t row,
                int size, uint8_t label, int editMode, std::vector<uint32_t>* changed) {
    if (!Paints(editMode, label) || size < 1 || orientation < 0 || orientation > 2) return 0;
    const SliceGeometry g = SliceGeometryOf(orientation, doc.dims());
    if (slice < 0 || slice >= g.depth) return 0;
    const Range cols = BrushRange(column, size, g.width), rows = BrushRange(row, size, g.height);
    int count = 0;
    for (int32_t r = rows.first; r <= rows.last; ++r)
        for (int32_t c = cols.first; c <= cols.last; ++c) {
            int32_t v[3];
            VoxelOf(orientation, slice, c, r, v);
            if (!doc.PaintVoxel(v[0], v[1], v[2], label, editMode)) continue;
            ++count;
            if (changed)
                changed->push_back(
                    PackedVoxel::Pack(uint32_t(v[0]), uint32_t(v[1]), uint32_t(v[2])));
        }
    return count;
}

int DeselectTissue(CSulcanDoc& doc, Ui& ui, uint8_t tissue) {
    if (tissue == White) {
        RunRelabel(doc, ui, {msg::kDeselectingMatter, kDeselectWhite});
    } else if (tissue == Gray) {
        RunRelabel(doc, ui, {msg::kDeselectingMatter, kDeselectGray});
        doc.SetAnySelectedGray(false);
    } else {
        return 0;
    }
    return 1;
}

int DeleteTissue(CSulcanDoc& doc, Ui& ui, uint8_t which) {
    switch (which) {
        case kWhichUnselectedWhite:
            RunRelabel(doc, ui, {msg::kDeletingUnselectedWhite, kDeleteUnselectedWhite});
            return 1;
        case kWhichAllGray:
            RunRelabel(doc, ui, {msg::kDeletingAllGray, kDeleteAllGray});
            return 1;
        case kWhichAllCsf:
            RunRelabel(doc, ui, {msg::kDeletingAllCsf, kDeleteAllCsf});
            return 1;
        case kWhichEverything:
            // Nothing changes tissue by the table's rule (0 -> 0), yet everything is gone.
            doc.SetClassificationChanged(true);
            doc.settings().ClearTopologyResult();
            RunRelabel(doc, ui, {msg::kClearingClassification, kClearClassification});
            return 1;
        default:
            return 0;
    }
}

}  // namespace sulcan
