#include "segment/select_connected.h"

#include <algorithm>

#include "platform/Ui.h"
#include "segment/flood_fill.h"
#include "segment/gray_grower.h"
#include "segment/messages.h"
#include "segment/region_volume.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {

namespace {

using namespace PackedVoxel;

constexpr uint8_t kFlooded = 255;

bool InsideVoi(const VoiBox& v, int32_t x, int32_t y, int32_t z) {
    return x >= v.xmin && x <= v.xmax && y >= v.ymin && y <= v.ymax && z >= v.zmin && z <= v.zmax;
}

// The VOI's corners as packed positions, inside the volume (a corner beyond it would not pack).
bool VoiCorners(const VoiBox& v, const VolumeDims& d, uint32_t& low, uint32_t& high) {
    VoiBox box = v;
    ClampVoi(box, d.x, d.y, d.z);
    low = Pack(uint32_t(box.xmin), uint32_t(box.ymin), uint32_t(box.zmin));
    high = Pack(uint32_t(box.xmax), uint32_t(box.ymax), uint32_t(box.zmax));
    return d.valid();
}

// Writes one work row back: branch-free so that the pass over the box vectorises.
void MarkRow(const uint8_t* work, uint8_t* labels, int32_t n, bool select) {
    const uint8_t set = select ? SelectedBit : 0, keep = select ? 0xFF : TissueMask;
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t v = labels[i];
        labels[i] = work[i] == kFlooded ? uint8_t((v & keep) | set) : v;
    }
}

// Writes the flooded voxels of the work volume back as selected or plain white.
void MarkFlooded(const RegionVolume& r, std::vector<uint8_t>& labels, const VolumeDims& d,
                 bool select) {
    const int32_t o[3] = {X(r.origin) + r.shift(), Y(r.origin) + r.shift(),
                          Z(r.origin) + r.shift()};
    // a padded frame may lie outside the volume: clip the work box to it
    const int32_t i0 = std::max(0, -o[0]), i1 = std::min(r.nx(), d.x - o[0]);
    if (i1 <= i0) return;
    for (int32_t k = std::max(0, -o[2]); k < std::min(r.nz(), d.z - o[2]); ++k)
        for (int32_t j = std::max(0, -o[1]); j < std::min(r.ny(), d.y - o[1]); ++j) {
            const uint8_t* work = r.bytes.data() + size_t(i0) +
                                  size_t(r.nx()) * (size_t(j) + size_t(r.ny()) * size_t(k));
            MarkRow(work, &labels[d.index(o[0] + i0, o[1] + j, o[2] + k)], i1 - i0, select);
        }
}

}  // namespace

int64_t SelectConnectedWhite(CSulcanDoc& doc, Ui& ui, int32_t x, int32_t y, int32_t z,
                             const VoiBox& voi, bool select) {
    const VolumeDims& d = doc.dims();
    uint32_t low = 0, high = 0;
    if (!VoiCorners(voi, d, low, high) || !InsideVoi(voi, x, y, z) || !d.contains(x, y, z))
        return 0;
    std::vector<uint8_t>& labels = doc.classificationData();
    auto region = ExtractVoi(labels.data(), Pack(uint32_t(d.x), uint32_t(d.y), uint32_t(d.z)), low,
                             high, false, true, TissueMask, White);
    if (!region) {
        ui.Message(msg::kErrorExtractingVoi, "", Buttons::Ok, Icon::Exclamation);
        return -1;
    }
    const int32_t i = x - X(region->origin), j = y - Y(region->origin), k = z - Z(region->origin);
    if (i < 0 || j < 0 || k < 0 || i >= region->nx() || j >= region->ny() || k >= region->nz() ||
        region->bytes[size_t(i) + size_t(j) * size_t(region->nx()) +
                      size_t(k) * size_t(region->nx()) * size_t(region->ny())] != 1)
        return 0;
    const int64_t count = Fill26(region->bytes.data(), region->dims,
                                 Pack(uint32_t(i), uint32_t(j), uint32_t(k)), kFlooded);
    if (count > 0) MarkFlooded(*region, labels, d, select);
    return count;
}

void SelectConnected(CSulcanDoc& doc, Ui& ui, int32_t x, int32_t y, int32_t z, const VoiBox& voi,
                     bool select) {
    if (!InsideVoi(voi, x, y, z)) return;
    const uint8_t tissue = TissueOf(doc.GetVoxel(x, y, z));
    if (tissue == White) {
        ProcessingNotice notice(ui, select ? msg::kSelectingWhite : msg::kDeselectingWhite);
        SelectConnectedWhite(doc, ui, x, y, z, voi, select);
    } else if (tissue == Gray && doc.grayGraph()) {
        // gray sheets are graph components, not voxel neighbourhoods
        ProcessingNotice notice(ui, select ? msg::kSelectingGray : msg::kDeselectingGray);
        SelectGrayComponent(doc, ui, x, y, z, select);
        doc.HasSelectedGray();
    } else {
        return;
    }
    doc.UpdateAllViews(kChangeClassEdited);
}

}  // namespace sulcan
