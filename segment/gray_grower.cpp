#include "segment/gray_grower.h"

#include <algorithm>
#include <new>

#include "platform/Ui.h"
#include "platform/format.h"
#include "segment/messages.h"
#include "volume/CSulcanDoc.h"
#include "worker/WorkerTask.h"

namespace sulcan {

// ---- tables

namespace {

// True when some face bit l of a has (b & sheet[l]) != 0.
bool SheetsMeet(uint8_t a, uint8_t b, const uint8_t (&sheet)[6]) {
    for (int l = 0; l < 6; ++l)
        if ((a >> l & 1) && (b & sheet[l])) return true;
    return false;
}

bool Has(uint8_t mask, uint8_t bit) {
    return (mask & bit) != 0;
}

}  // namespace

std::unique_ptr<GrayTables> BuildGrayTables() {
    std::unique_ptr<GrayTables> t(new (std::nothrow) GrayTables);
    if (!t) return nullptr;
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            const uint8_t ma = uint8_t(a), mb = uint8_t(b);
            t->face[a][b] = SheetsMeet(ma, mb, kSheetA);
            t->edge[a][b] =
                !(Has(ma, kFacePlusZ) && Has(mb, kFacePlusX)) && SheetsMeet(ma, mb, kSheetB);
            const bool opposite = (Has(ma, kFacePlusY) && Has(mb, kFaceMinusY)) ||
                                  (Has(ma, kFacePlusX) && Has(mb, kFaceMinusX)) ||
                                  (Has(ma, kFacePlusZ) && Has(mb, kFaceMinusZ));
            t->corner[a][b] = !opposite && SheetsMeet(ma, mb, kSheetC);
        }
    for (int n = 0; n < 5; ++n)
        for (int m = 0; m < 64; ++m) {
            uint8_t r = 0;
            for (int k = 0; k < 6; ++k) r |= uint8_t((m >> kRotationSource[n][k] & 1) << k);
            t->rotation[size_t(n)][size_t(m)] = r;
        }
    return t;
}

GrayGrower::GrayGrower() {
    static const std::shared_ptr<const GrayTables> shared(BuildGrayTables().release());
    tables_ = shared;
}

bool LayerOneLinked(const GrayTables& tables, const HalfNeighbour& neighbour, uint8_t pFaces,
                    uint8_t qFaces) {
    uint8_t a = pFaces & 63, b = qFaces & 63;
    if (neighbour.rotation > 0) {
        const auto& r = tables.rotation[size_t(neighbour.rotation - 1)];
        a = r[a], b = r[b];
    }
    if (neighbour.swapped) std::swap(a, b);
    const GrayTables::Table& table = neighbour.table == HalfNeighbour::F   ? tables.face
                                     : neighbour.table == HalfNeighbour::E ? tables.edge
                                                                           : tables.corner;
    return table[a][b];
}

// ---- task link

void TaskLink::Text(std::string text) const {
    if (task) task->PostText(std::move(text));
}
void TaskLink::Progress(int percent) const {
    if (task) task->PostProgressIfChanged(percent);
}
bool TaskLink::Cancelled() const {
    return task && task->CancelRequested();
}

// ---- voxel access over the growth box

namespace {

bool InBox(const VoiBox& b, int32_t x, int32_t y, int32_t z) {
    return x >= b.xmin && x <= b.xmax && y >= b.ymin && y <= b.ymax && z >= b.zmin && z <= b.zmax;
}

// The label at (x, y, z) when inside the growth box.
const uint8_t* BoxLabel(const GrayGraph& g, int32_t x, int32_t y, int32_t z) {
    return InBox(g.box, x, y, z) ? &(*g.classification)[g.dims.index(x, y, z)] : nullptr;
}

bool BoxWhite(const GrayGraph& g, int32_t x, int32_t y, int32_t z) {
    const uint8_t* v = BoxLabel(g, x, y, z);
    return v && TissueOf(*v) == White;
}

bool BoxGray(const GrayGraph& g, int32_t x, int32_t y, int32_t z) {
    const uint8_t* v = BoxLabel(g, x, y, z);
    return v && *v == Gray;
}

bool SameAxis(int faceA, int faceB) {
    return faceA % 3 == faceB % 3;
}

uint8_t WhiteFaces(const GrayGraph& g, int32_t x, int32_t y, int32_t z) {
    uint8_t mask = 0;
    for (const FaceStep& s : kFaceSteps)
        if (BoxWhite(g, x + s.dx, y + s.dy, z + s.dz)) mask |= s.bit;
    return mask;
}

}  // namespace

bool WhiteContentionRejects(const GrayGraph& g, const GrayGrower& grower, int32_t x, int32_t y,
                            int32_t z, int face) {
    if (!grower.whiteContention) return false;
    const FaceStep& d = kFaceSteps[face];
    const int32_t nx = x + d.dx, ny = y + d.dy, nz = z + d.dz;
    if (!BoxWhite(g, nx + d.dx, ny + d.dy, nz + d.dz)) return false;
    for (int f = 0; f < 6; ++f) {
        const FaceStep& s = kFaceSteps[f];
        if (!SameAxis(f, face) && BoxWhite(g, nx + s.dx, ny + s.dy, nz + s.dz)) return false;
    }
    return true;
}

bool GrayContentionRejects(const GrayGraph& g, const GrayGrower& grower, int32_t x, int32_t y,
                           int32_t z, int face) {
    if (!grower.grayContention || !grower.tablesAvailable()) return false;
    const FaceStep& d = kFaceSteps[face];
    const int32_t nx = x + d.dx, ny = y + d.dy, nz = z + d.dz;
    if (BoxGray(g, nx + d.dx, ny + d.dy, nz + d.dz)) return true;
    const int32_t h = g.NodeAt(x, y, z);
    for (int f = 0; f < 6; ++f) {
        const FaceStep& s = kFaceSteps[f];
        const int32_t lx = nx + s.dx, ly = ny + s.dy, lz = nz + s.dz;
        if (SameAxis(f, face) || !BoxGray(g, lx, ly, lz)) continue;
        const int32_t l = g.NodeAt(lx, ly, lz);
        if (h < 0 || l < 0 || !g.Linked(h, l)) return true;
    }
    return false;
}

// ---- edges

int ConnectFirstLayer(GrayGraph& g, const GrayTables& tables, int32_t first, int32_t end) {
    try {
        for (int32_t p = first; p < end; ++p) {
            const GrayNode np = g.nodes[size_t(p)];
            if (np.layer != 1) continue;
            for (const HalfNeighbour& h : kHalfNeighbourhood) {
                const int32_t q = g.NodeAt(np.x + h.dx, np.y + h.dy, np.z + h.dz);
                if (q < 0 || g.nodes[size_t(q)].layer != 1) continue;
                if (LayerOneLinked(tables, h, np.whiteFaces, g.nodes[size_t(q)].whiteFaces))
                    g.Link(p, q);
            }
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

namespace {

// j is a neighbour of i or of one of i's neighbours.
bool WithinTwo(const GrayGraph& g, int32_t i, int32_t j) {
    if (g.Linked(i, j)) return true;
    for (int32_t m : g.Neighbours(i))
        if (g.Linked(m, j)) return true;
    return false;
}

}  // namespace

int ConnectLayer(GrayGraph& g, int32_t first, int32_t end, int32_t layer) {
    try {
        for (int32_t i = first; i < end; ++i) {
            const GrayNode n = g.nodes[size_t(i)];
            for (const FaceStep& s : kFaceSteps) {
                const int32_t j = g.NodeAt(n.x + s.dx, n.y + s.dy, n.z + s.dz);
                if (j >= 0 && g.nodes[size_t(j)].layer == layer - 1) g.Link(i, j);
            }
        }
        for (int32_t i = first; i < end; ++i) {
            const GrayNode n = g.nodes[size_t(i)];
            for (const HalfNeighbour& h : kHalfNeighbourhood) {
                const int32_t j = g.NodeAt(n.x + h.dx, n.y + h.dy, n.z + h.dz);
                if (j >= 0 && g.nodes[size_t(j)].layer == layer && WithinTwo(g, i, j)) g.Link(i, j);
            }
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

// ---- the layer loop

namespace {

// Marks every Unknown face neighbour (inside the box) of white matter (layer 1) or of exact
// Gray (later layers) as GrayCandidate unless contention rejects it; returns how many.
int64_t GrowthPass(GrayGraph& g, const GrayGrower& grower, bool fromWhite) {
    std::vector<uint8_t>& labels = *g.classification;
    const VoiBox& b = g.box;
    int64_t count = 0;
    for (int32_t z = b.zmin; z <= b.zmax; ++z)
        for (int32_t y = b.ymin; y <= b.ymax; ++y)
            for (int32_t x = b.xmin; x <= b.xmax; ++x) {
                const uint8_t v = labels[g.dims.index(x, y, z)];
                if (fromWhite ? TissueOf(v) != White : v != Gray) continue;
                for (int f = 0; f < 6; ++f) {
                    const FaceStep& s = kFaceSteps[f];
                    const int32_t nx = x + s.dx, ny = y + s.dy, nz = z + s.dz;
                    if (!InBox(b, nx, ny, nz)) continue;
                    uint8_t& n = labels[g.dims.index(nx, ny, nz)];
                    if (n != Unknown) continue;
                    if (fromWhite ? WhiteContentionRejects(g, grower, x, y, z, f)
                                  : GrayContentionRejects(g, grower, x, y, z, f))
                        continue;
                    n = GrayCandidate;
                    ++count;
                }
            }
    return count;
}

// Turns the candidates into Gray nodes of the layer, in z, y, x order; throws std::bad_alloc.
void AddNodes(GrayGraph& g, int32_t layer, int64_t count) {
    std::vector<uint8_t>& labels = *g.classification;
    const VoiBox& b = g.box;
    const size_t first = g.nodes.size();
    g.nodes.reserve(first + size_t(count));
    for (int32_t z = b.zmin; z <= b.zmax; ++z)
        for (int32_t y = b.ymin; y <= b.ymax; ++y)
            for (int32_t x = b.xmin; x <= b.xmax; ++x) {
                uint8_t& v = labels[g.dims.index(x, y, z)];
                if (v != GrayCandidate) continue;
                v = Gray;
                GrayNode n;
                n.x = x, n.y = y, n.z = z, n.layer = layer;
                n.whiteFaces = layer == 1 ? WhiteFaces(g, x, y, z) : 0;
                g.nodes.push_back(n);
            }
    g.index.Add(g.nodes, first);
}

bool GrowLayers(GrayGraph& g, const GrayGrower& grower, int layers, TaskLink task) {
    const int n = std::max(layers, 1);
    for (int k = 1; k <= n; ++k) {
        const int64_t count = GrowthPass(g, grower, k == 1);
        if (count == 0) return true;
        const int32_t first = g.nodeCount();
        AddNodes(g, k, count);
        task.Text(Format(msg::kLayerVoxels, int(count), k));
        task.Progress((198 * (k - 1) + 99) / (2 * n));
        if (task.Cancelled()) return false;
        if (k == 1) {
            if (!ConnectFirstLayer(g, grower.tables(), first, g.nodeCount())) return false;
            task.Text(msg::kConnectionsMade);
            task.Progress(198 / (2 * n));
        } else {
            if (!ConnectLayer(g, first, g.nodeCount(), k)) return false;
            task.Progress(198 * k / (2 * n));
            task.Text(msg::kConnectionsMade);
        }
        if (task.Cancelled()) return false;
    }
    return true;
}

}  // namespace

int GrowGraph(GrayGraph& g, const GrayGrower& grower, const VoiBox& box, int layers,
              TaskLink task) {
    if (!g.dims.valid() || g.classification->size() != g.dims.voxels()) return 0;
    g.box = box;
    ClampVoi(g.box, g.dims.x, g.dims.y, g.dims.z);
    try {
        g.index.Reset(g.box);
        if (GrowLayers(g, grower, layers, task)) return 1;
    } catch (const std::bad_alloc&) {
    }
    g.index.Clear();
    return 0;
}

// ---- the growth command

namespace {

std::string ContentionLog(const CSulcanDoc& doc) {
    return std::string(msg::kGrowLogHead) +
           (doc.whiteContention ? msg::kGrowLogWhiteOn : msg::kGrowLogWhiteOff) +
           (doc.grayContention ? msg::kGrowLogGrayOn : msg::kGrowLogGrayOff);
}

void UnlabelGray(CSulcanDoc& doc) {
    doc.ReplaceLabels(TissueMask, Gray, Unknown);
}

GrowResult Grow(CSulcanDoc& doc, Ui& ui, const VoiBox& voi, int layers, TaskLink task,
                const GrayGrower& grower) {
    task.Text(ContentionLog(doc));
    if (!grower.tablesAvailable()) {
        ui.Message(msg::kGrayUnavailable);
        return GrowResult::Unavailable;
    }
    GrayGrower g = grower;
    g.whiteContention = doc.whiteContention;
    g.grayContention = doc.grayContention;
    UnlabelGray(doc);
    doc.ReleaseGrayGraph();
    std::shared_ptr<GrayGraph> graph;
    try {
        graph = std::make_shared<GrayGraph>(doc.classificationData(), doc.dims());
    } catch (const std::bad_alloc&) {
        ui.Message(msg::kGrayOutOfMemory);
        return GrowResult::OutOfMemory;
    }
    doc.SetGrayGraph(graph);
    if (GrowGraph(*graph, g, voi, layers, task) == 1) return GrowResult::Grown;
    doc.ReleaseGrayGraph();
    if (task.Cancelled()) {
        task.Text(msg::kDeletingPartialGray);
        UnlabelGray(doc);
        return GrowResult::Cancelled;
    }
    ui.Message(msg::kGrayOutOfMemory);
    return GrowResult::OutOfMemory;
}

}  // namespace

GrowResult GrowGrayMatter(CSulcanDoc& doc, Ui& ui, const VoiBox& voi, int layers, WorkerTask* task,
                          const GrayGrower& grower) {
    const GrowResult result = Grow(doc, ui, voi, layers, TaskLink{task}, grower);
    doc.SetGrayChanged(true);
    if (task) result == GrowResult::Cancelled ? task->PostCancelled() : task->PostFinished();
    return result;
}

void MakeGrowGrayTask(WorkerTask& task, CSulcanDoc& doc, Ui& ui, const VoiBox& voi, int layers) {
    task.title = Format(msg::kGrowTitle, layers);
    task.showProgress = 1, task.allowCancel = 1, task.showLog = 1, task.autoClose = 0;
    task.entry = [&doc, &ui, voi, layers](WorkerTask& t) {
        return unsigned(GrowGrayMatter(doc, ui, voi, layers, &t) == GrowResult::Grown);
    };
}

// ---- selection

int64_t MarkComponent(GrayGraph& g, int32_t start, uint8_t from, uint8_t to) {
    if (g.nodes.empty() || from == to) return -1;
    if (start < 0 || start >= g.nodeCount() || g.nodes[size_t(start)].mark != from) return 0;
    std::vector<int32_t> stack;
    try {
        stack.resize(g.nodes.size());
    } catch (const std::bad_alloc&) {
        return -1;
    }
    size_t top = 0;
    int64_t count = 1;
    g.nodes[size_t(start)].mark = to;
    stack[top++] = start;
    while (top > 0) {
        const int32_t i = stack[--top];
        for (int32_t j : g.Neighbours(i)) {
            GrayNode& n = g.nodes[size_t(j)];
            if (n.mark != from) continue;
            n.mark = to;
            stack[top++] = j;
            ++count;
        }
    }
    return count;
}

int64_t SelectGrayComponent(CSulcanDoc& doc, Ui& ui, int32_t x, int32_t y, int32_t z, bool select,
                            const GrayGrower& grower) {
    const std::shared_ptr<GrayGraph> graph = doc.grayGraph();
    if (!graph) return 0;
    if (!grower.tablesAvailable()) {
        ui.Message(msg::kGrayUnavailable);
        return -1;
    }
    for (GrayNode& n : graph->nodes) n.mark = 0;
    const int32_t start = graph->NodeAt(x, y, z);
    if (start < 0) return 0;
    const int64_t count = MarkComponent(*graph, start, 0, 1);
    if (count < 0) {
        ui.Message(msg::kSelectOutOfMemory);
        return -1;
    }
    const uint8_t label = select ? SelectedGray : Gray;
    std::vector<uint8_t>& labels = *graph->classification;
    for (const GrayNode& n : graph->nodes)
        if (n.mark == 1) labels[graph->dims.index(n.x, n.y, n.z)] = label;
    return count;
}

}  // namespace sulcan
