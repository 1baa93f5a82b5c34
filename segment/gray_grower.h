#pragma once
// Growing gray matter outward from the white matter, layer by layer, into a connectivity graph
// whose components are single sheets of cortex; selecting one sheet.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "segment/gray_graph.h"
#include "volume/volume_types.h"

namespace sulcan {

class CSulcanDoc;
class Ui;
struct WorkerTask;

// The lookup tables that decide the edges of layer 1, indexed [a][b] by two white face masks.
struct GrayTables {
    using Table = std::array<std::array<bool, 64>, 64>;
    Table face, edge, corner;                         // F, E, V
    std::array<std::array<uint8_t, 64>, 5> rotation;  // R1..R5 at 0..4
};

// Sheet masks, entry l for face bit l.
inline constexpr uint8_t kSheetA[6] = {49, 0, 52, 0, 21, 37};
inline constexpr uint8_t kSheetB[6] = {41, 39, 44, 8, 29, 32};
inline constexpr uint8_t kSheetC[6] = {41, 38, 4, 8, 28, 32};
// Rotation n: bit k of the result is bit kRotationSource[n - 1][k] of the mask.
inline constexpr int kRotationSource[5][6] = {{5, 1, 4, 3, 0, 2},
                                              {4, 1, 5, 3, 2, 0},
                                              {0, 4, 2, 5, 3, 1},
                                              {1, 2, 3, 0, 4, 5},
                                              {3, 0, 1, 2, 4, 5}};

// Face directions in the order the layer passes visit them: +x, +y, +z, -x, -y, -z.
struct FaceStep {
    int dx, dy, dz;
    uint8_t bit;
};
inline constexpr FaceStep kFaceSteps[6] = {{1, 0, 0, kFacePlusX},   {0, 1, 0, kFacePlusY},
                                           {0, 0, 1, kFacePlusZ},   {-1, 0, 0, kFaceMinusX},
                                           {0, -1, 0, kFaceMinusY}, {0, 0, -1, kFaceMinusZ}};

// One half of the 26-neighbourhood, in the order the edge passes visit it, with the table,
// the rotation (0 none, else n of Rn) and the index order that decide a layer-1 edge.
struct HalfNeighbour {
    enum Table { F, E, V };
    int dx, dy, dz;
    Table table;
    int rotation;
    bool swapped;  // indexed [q][p] instead of [p][q]
};
inline constexpr HalfNeighbour kHalfNeighbourhood[13] = {
    {1, 0, 0, HalfNeighbour::F, 0, false},  {0, 1, 0, HalfNeighbour::F, 5, false},
    {0, 0, 1, HalfNeighbour::F, 3, false},  {1, 0, 1, HalfNeighbour::E, 0, false},
    {-1, 0, 1, HalfNeighbour::E, 3, false}, {0, -1, 1, HalfNeighbour::E, 4, false},
    {0, 1, 1, HalfNeighbour::E, 5, false},  {-1, 1, 0, HalfNeighbour::E, 2, true},
    {1, 1, 0, HalfNeighbour::E, 1, false},  {1, 1, 1, HalfNeighbour::V, 0, false},
    {-1, -1, 1, HalfNeighbour::V, 1, true}, {1, -1, 1, HalfNeighbour::V, 4, false},
    {-1, 1, 1, HalfNeighbour::V, 5, false}};

// Whether layer-1 nodes p and q = p + the neighbour's offset, with white face masks
// `pFaces` and `qFaces`, are linked.
bool LayerOneLinked(const GrayTables& tables, const HalfNeighbour& neighbour, uint8_t pFaces,
                    uint8_t qFaces);

// Builds the tables; nullptr when memory runs out.
std::unique_ptr<GrayTables> BuildGrayTables();

// The contention switches and the tables (shared by all growers of the process, built once).
class GrayGrower {
  public:
    GrayGrower();
    // A grower on given tables; nullptr stands for tables that could not be built.
    explicit GrayGrower(std::shared_ptr<const GrayTables> tables) : tables_(std::move(tables)) {}
    bool whiteContention = true;
    bool grayContention = true;
    bool tablesAvailable() const { return tables_ != nullptr; }
    const GrayTables& tables() const { return *tables_; }

  private:
    std::shared_ptr<const GrayTables> tables_;
};

// A run's link to the task that shows it, or to none (the tool, tests): without a task the
// posts are dropped and no cancel is ever asked for.
struct TaskLink {
    WorkerTask* task = nullptr;
    void Text(std::string text) const;
    void Progress(int percent) const;  // posted only when it changed
    bool Cancelled() const;
};

// ---- the contention checks: P at (x, y, z), direction face f (index into the face order
// +x, +y, +z, -x, -y, -z), N = P + direction, Unknown
bool WhiteContentionRejects(const GrayGraph& graph, const GrayGrower& grower, int32_t x, int32_t y,
                            int32_t z, int face);
bool GrayContentionRejects(const GrayGraph& graph, const GrayGrower& grower, int32_t x, int32_t y,
                           int32_t z, int face);

// ---- the graph's parts
// Edges among the layer-1 nodes [first, end). Returns 0 when memory runs out, else 1.
int ConnectFirstLayer(GrayGraph& graph, const GrayTables& tables, int32_t first, int32_t end);
// Edges of the layer-k nodes [first, end): to layer k - 1, then to each other at graph
// distance two. Returns 0 when memory runs out, else 1.
int ConnectLayer(GrayGraph& graph, int32_t first, int32_t end, int32_t layer);
// The layer loop over the box (per-axis minimum and maximum): 1 success (also when a layer
// finds nothing to grow), 0 out of memory or cancelled.
int GrowGraph(GrayGraph& graph, const GrayGrower& grower, const VoiBox& box, int layers,
              TaskLink task);

enum class GrowResult { Grown, Unavailable, OutOfMemory, Cancelled };

// The whole growth from the document's white matter inside the VOI, with the document's
// contention switches; ends the task (when there is one) with its final message.
GrowResult GrowGrayMatter(CSulcanDoc& doc, Ui& ui, const VoiBox& voi, int layers, WorkerTask* task,
                          const GrayGrower& grower = GrayGrower());
// Fills a task record that runs GrowGrayMatter ("Growing %d gray matter layers").
void MakeGrowGrayTask(WorkerTask& task, CSulcanDoc& doc, Ui& ui, const VoiBox& voi, int layers);

// Marks the nodes reachable from `start` whose mark is `from` with `to`: the number marked,
// start included; 0 when the start's mark is not `from`; -1 for an empty graph, from == to or
// no memory for the stack.
int64_t MarkComponent(GrayGraph& graph, int32_t start, uint8_t from, uint8_t to);
// Selects (or deselects) the graph component of the node at (x, y, z): the number of nodes
// relabelled, 0 without a graph or node there, -1 after a message.
int64_t SelectGrayComponent(CSulcanDoc& doc, Ui& ui, int32_t x, int32_t y, int32_t z, bool select,
                            const GrayGrower& grower = GrayGrower());

}  // namespace sulcan
