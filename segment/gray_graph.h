#pragma once
// The grown gray matter: one node per grown voxel with its layer and the edges that join the
// voxels of one sheet, and an index from the voxels of the growth box to their nodes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "volume/volume_types.h"

namespace sulcan {

// Face bits of the white face masks: +y, +x, -y, -x, +z, -z.
inline constexpr uint8_t kFacePlusY = 1, kFacePlusX = 2, kFaceMinusY = 4, kFaceMinusX = 8,
                         kFacePlusZ = 16, kFaceMinusZ = 32;

struct GrayNode {
    int32_t x = 0, y = 0, z = 0;  // classification-volume position
    int32_t layer = 0;            // 1 next to white matter
    uint32_t firstEntry = 0;      // start of its neighbour list in the graph's pool
    uint8_t neighbourCount = 0;   // every neighbour lies in the 26-neighbourhood: at most 26
    uint8_t whiteFaces = 0;       // layer 1: face bits of the white face neighbours
    uint8_t mark = 0;             // scratch flag of the selection traversal
};

// The neighbour lists of all nodes in one pool of int32 entries. A list's room grows in
// blocks of four entries; the room a list leaves behind is reused by the next list that grows
// to that size, so the pool holds little more than the entries themselves.
class NeighbourPool {
  public:
    // Throws std::bad_alloc when memory runs out.
    void Append(GrayNode& node, int32_t value);
    std::span<const int32_t> List(const GrayNode& node) const;
    void Clear();
    size_t bytes() const;

  private:
    static constexpr int kChunkBits = 16;
    static constexpr uint32_t kChunkEntries = 1u << kChunkBits;
    static constexpr int kClasses = 7;  // room of 4, 8, ... 28 entries
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    int32_t* At(uint32_t offset) const;
    uint32_t Take(int roomClass);
    void Give(uint32_t offset, int roomClass);

    std::vector<std::unique_ptr<int32_t[]>> chunks_;
    uint32_t used_ = kChunkEntries;  // entries used in the last chunk
    uint32_t free_[kClasses] = {kNone, kNone, kNone, kNone, kNone, kNone, kNone};
};

// Box voxel -> node index, in about 0.19 bytes per box voxel plus 4 per node: one presence bit
// per voxel, the count of nodes before each 64-voxel word, and the node of every rank (rank =
// position among the node voxels in z, y, x order).
class NodeIndex {
  public:
    // Covers the box (inclusive bounds) with no node; throws std::bad_alloc.
    void Reset(const VoiBox& box);
    void Clear();
    bool Inside(int32_t x, int32_t y, int32_t z) const {
        return x >= box_.xmin && x <= box_.xmax && y >= box_.ymin && y <= box_.ymax &&
               z >= box_.zmin && z <= box_.zmax;
    }
    // -1 outside the box or when no node is there.
    int32_t At(int32_t x, int32_t y, int32_t z) const {
        if (!Inside(x, y, z) || bits_.empty()) return -1;
        const size_t i = Linear(x, y, z);
        const uint64_t word = bits_[i >> 6], bit = uint64_t(1) << (i & 63);
        if (!(word & bit)) return -1;
        return nodeOfRank_[rankBefore_[i >> 6] + uint32_t(__builtin_popcountll(word & (bit - 1)))];
    }
    // Enters nodes[first..] (new positions inside the box) and renews the ranks; throws
    // std::bad_alloc.
    void Add(const std::vector<GrayNode>& nodes, size_t first);
    size_t bytes() const;

  private:
    size_t Linear(int32_t x, int32_t y, int32_t z) const {
        return (size_t(z - box_.zmin) * ny_ + size_t(y - box_.ymin)) * nx_ + size_t(x - box_.xmin);
    }
    uint32_t Rank(size_t i) const {
        const uint64_t below = bits_[i >> 6] & ((uint64_t(1) << (i & 63)) - 1);
        return rankBefore_[i >> 6] + uint32_t(__builtin_popcountll(below));
    }
    VoiBox box_{0, 0, 0, -1, -1, -1};
    size_t nx_ = 0, ny_ = 0;
    std::vector<uint64_t> bits_;
    std::vector<uint32_t> rankBefore_;
    std::vector<int32_t> nodeOfRank_;
};

struct GrayGraph {
    GrayGraph(std::vector<uint8_t>& labels, const VolumeDims& volumeDims)
        : classification(&labels), dims(volumeDims) {}

    std::vector<uint8_t>* classification;  // the document's labels
    VolumeDims dims;
    VoiBox box;                   // the growth box, inclusive
    std::vector<GrayNode> nodes;  // layer by layer, inside a layer in z, y, x order
    NodeIndex index;
    NeighbourPool pool;

    int32_t nodeCount() const { return int32_t(nodes.size()); }
    int32_t NodeAt(int32_t x, int32_t y, int32_t z) const { return index.At(x, y, z); }
    std::span<const int32_t> Neighbours(int32_t i) const { return pool.List(nodes[size_t(i)]); }
    bool Linked(int32_t i, int32_t j) const;
    // Adds the edge to both lists unless it exists; throws std::bad_alloc.
    void Link(int32_t i, int32_t j);
    uint8_t LabelOf(const GrayNode& n) const {
        return (*classification)[dims.index(n.x, n.y, n.z)];
    }
    // Bytes held by the nodes, their lists and the index.
    size_t MemoryBytes() const;
};

}  // namespace sulcan
