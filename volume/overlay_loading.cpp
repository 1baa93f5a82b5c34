#include "volume/overlay_loading.h"

#include <new>
#include <vector>

namespace sulcan {

namespace {

constexpr OverlayList kReadOrder[] = {OverlayList::Roi, OverlayList::Functional, OverlayList::Cut};

OverlayKind KindOf(OverlayList list) {
    switch (list) {
        case OverlayList::Roi:
            return kOverlayRoi;
        case OverlayList::Functional:
            return kOverlayFunctional;
        case OverlayList::Cut:
            return kOverlayCut;
    }
    return kOverlayRoi;
}

bool AnythingToRead(const ProjectSettings& settings) {
    for (OverlayList list : kReadOrder)
        if (HasReadableOverlayFile(settings, list)) return true;
    return false;
}

// All three lists or, after a cancel, nothing.
bool ReadAllLists(CSulcanDoc& doc, Ui& ui, const ColourConversion& convert) {
    for (OverlayList list : kReadOrder) {
        auto set = ReadOverlayList(doc.settings(), list, doc.dims(), ui, convert);
        if (!set) {
            for (OverlayList read : kReadOrder) doc.overlay(KindOf(read)).Clear();
            return false;
        }
        doc.overlay(KindOf(list)) = std::move(*set);
    }
    return true;
}

}  // namespace

OverlaySet PointsInsideRegion(const OverlaySet& points, const OverlaySet& region,
                              const VolumeDims& dims) {
    OverlaySet inside;
    try {
        std::vector<bool> marked(dims.voxels(), false);
        // Positions outside dims (sets read for another volume) match nothing.
        auto indexOf = [&dims, &marked](uint32_t p) {
            const int32_t x = PackedVoxel::X(p), y = PackedVoxel::Y(p), z = PackedVoxel::Z(p);
            return dims.contains(x, y, z) ? dims.index(x, y, z) : marked.size();
        };
        for (uint32_t p : region.positions)
            if (indexOf(p) < marked.size()) marked[indexOf(p)] = true;
        for (size_t i = 0; i < points.count(); ++i) {
            const size_t at = indexOf(points.positions[i]);
            if (at >= marked.size() || !marked[at]) continue;
            inside.positions.push_back(points.positions[i]);
            inside.colours.push_back(points.colours[i]);
        }
    } catch (const std::bad_alloc&) {
        inside.Clear();
    }
    return inside;
}

int LoadOverlays(CSulcanDoc& doc, Ui& ui, const ColourConversion& convert) {
    for (int kind = kOverlayRoi; kind <= kOverlayFunctionalInRoi; ++kind)
        doc.overlay(OverlayKind(kind)).Clear();
    if (!AnythingToRead(doc.settings())) return 0;
    bool read = false;
    {
        ProcessingNotice notice(ui, msg::kLoadingOverlays);
        read = ReadAllLists(doc, ui, convert);
        if (read)
            doc.overlay(kOverlayFunctionalInRoi) = PointsInsideRegion(
                doc.overlay(kOverlayFunctional), doc.overlay(kOverlayRoi), doc.dims());
    }
    doc.UpdateAllViews(kChangeOverlays);
    return read ? 1 : 0;
}

int ReloadOverlaysAfterSheet(CSulcanDoc& doc, Ui& ui, const OverlaySheetModel& sheet,
                             const ColourConversion& convert) {
    return sheet.changed() ? LoadOverlays(doc, ui, convert) : 0;
}

}  // namespace sulcan
