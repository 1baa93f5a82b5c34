#include "segment/gray_graph.h"

#include <algorithm>
#include <new>

namespace sulcan {

// ---- NeighbourPool

int32_t* NeighbourPool::At(uint32_t offset) const {
    return chunks_[offset >> kChunkBits].get() + (offset & (kChunkEntries - 1));
}

uint32_t NeighbourPool::Take(int roomClass) {
    if (free_[roomClass] != kNone) {
        const uint32_t offset = free_[roomClass];
        free_[roomClass] = uint32_t(*At(offset));
        return offset;
    }
    const uint32_t room = 4u * uint32_t(roomClass + 1);
    if (used_ + room > kChunkEntries) {
        if (chunks_.size() >= (size_t(1) << (32 - kChunkBits))) throw std::bad_alloc();
        chunks_.push_back(std::make_unique<int32_t[]>(kChunkEntries));
        used_ = 0;
    }
    const uint32_t offset = uint32_t(chunks_.size() - 1) << kChunkBits | used_;
    used_ += room;
    return offset;
}

void NeighbourPool::Give(uint32_t offset, int roomClass) {
    *At(offset) = int32_t(free_[roomClass]);
    free_[roomClass] = offset;
}

void NeighbourPool::Append(GrayNode& node, int32_t value) {
    const int count = node.neighbourCount;
    if (count % 4 == 0) {
        const int roomClass = count / 4;
        if (roomClass >= kClasses) throw std::bad_alloc();  // beyond the 26-neighbourhood
        const uint32_t moved = Take(roomClass);
        if (count > 0) {
            std::copy_n(At(node.firstEntry), count, At(moved));
            Give(node.firstEntry, roomClass - 1);
        }
        node.firstEntry = moved;
    }
    At(node.firstEntry)[count] = value;
    node.neighbourCount = uint8_t(count + 1);
}

std::span<const int32_t> NeighbourPool::List(const GrayNode& node) const {
    if (node.neighbourCount == 0) return {};
    return {At(node.firstEntry), node.neighbourCount};
}

void NeighbourPool::Clear() {
    chunks_.clear();
    used_ = kChunkEntries;
    std::fill(std::begin(free_), std::end(free_), kNone);
}

size_t NeighbourPool::bytes() const {
    return chunks_.size() * kChunkEntries * sizeof(int32_t) +
           chunks_.capacity() * sizeof(chunks_[0]);
}

// ---- NodeIndex

void NodeIndex::Reset(const VoiBox& box) {
    Clear();
    nx_ = size_t(box.xmax - box.xmin + 1);
    ny_ = size_t(box.ymax - box.ymin + 1);
    const size_t voxels = nx_ * ny_ * size_t(box.zmax - box.zmin + 1);
    bits_.assign((voxels + 63) / 64, 0);
    rankBefore_.assign(bits_.size(), 0);
    box_ = box;
}

void NodeIndex::Clear() {
    box_ = {0, 0, 0, -1, -1, -1};
    nx_ = ny_ = 0;
    std::vector<uint64_t>().swap(bits_);
    std::vector<uint32_t>().swap(rankBefore_);
    std::vector<int32_t>().swap(nodeOfRank_);
}

void NodeIndex::Add(const std::vector<GrayNode>& nodes, size_t first) {
    for (size_t n = first; n < nodes.size(); ++n) {
        const size_t i = Linear(nodes[n].x, nodes[n].y, nodes[n].z);
        bits_[i >> 6] |= uint64_t(1) << (i & 63);
    }
    uint32_t total = 0;
    for (size_t w = 0; w < bits_.size(); ++w) {
        rankBefore_[w] = total;
        total += uint32_t(__builtin_popcountll(bits_[w]));
    }
    nodeOfRank_.resize(nodes.size());
    for (size_t n = 0; n < nodes.size(); ++n)
        nodeOfRank_[Rank(Linear(nodes[n].x, nodes[n].y, nodes[n].z))] = int32_t(n);
}

size_t NodeIndex::bytes() const {
    return bits_.capacity() * sizeof(uint64_t) + rankBefore_.capacity() * sizeof(uint32_t) +
           nodeOfRank_.capacity() * sizeof(int32_t);
}

// ---- GrayGraph

bool GrayGraph::Linked(int32_t i, int32_t j) const {
    const auto list = Neighbours(i);
    return std::find(list.begin(), list.end(), j) != list.end();
}

void GrayGraph::Link(int32_t i, int32_t j) {
    if (Linked(i, j)) return;
    pool.Append(nodes[size_t(i)], j);
    pool.Append(nodes[size_t(j)], i);
}

size_t GrayGraph::MemoryBytes() const {
    return nodes.capacity() * sizeof(GrayNode) + pool.bytes() + index.bytes();
}

}  // namespace sulcan
