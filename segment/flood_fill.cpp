#include "segment/flood_fill.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "segment/messages.h"
#include "volume/volume_types.h"

namespace sulcan {

namespace {

using namespace PackedVoxel;

uint32_t* DefaultAllocate(size_t entries) {
    return new (std::nothrow) uint32_t[entries];
}
void DefaultRelease(uint32_t* stack) {
    delete[] stack;
}
void DefaultOutOfMemory(const char* message) {
    std::fprintf(stderr, "%s\n", message);
    std::exit(1);
}

FillStackAllocator gAllocate = DefaultAllocate;
FillStackRelease gRelease = DefaultRelease;
OutOfMemoryHandler gOutOfMemory = DefaultOutOfMemory;

struct Step {
    int32_t dx, dy, dz;
};

constexpr std::array<Step, 6> kFaces{
    {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}}};

constexpr std::array<Step, 26> AllNeighbours() {
    std::array<Step, 26> steps{};
    size_t n = 0;
    for (int32_t dz = -1; dz <= 1; ++dz)
        for (int32_t dy = -1; dy <= 1; ++dy)
            for (int32_t dx = -1; dx <= 1; ++dx)
                if (dx || dy || dz) steps[n++] = {dx, dy, dz};
    return steps;
}
constexpr std::array<Step, 26> kAll = AllNeighbours();

// The fill over one neighbourhood. Voxels away from the faces of the volume take the
// neighbours by fixed byte offsets without bound checks; only the others check every axis.
template <size_t N>
class Flood {
  public:
    Flood(uint8_t* bytes, uint32_t dims, const std::array<Step, N>& steps)
        : bytes_(bytes), nx_(X(dims)), ny_(Y(dims)), nz_(Z(dims)), steps_(steps) {
        row_ = size_t(nx_);
        plane_ = row_ * size_t(ny_);
        for (size_t s = 0; s < N; ++s)
            offsets_[s] = steps[s].dx + ptrdiff_t(steps[s].dy) * ptrdiff_t(row_) +
                          ptrdiff_t(steps[s].dz) * ptrdiff_t(plane_);
        // x, y and z stay inside 0..n-1 after one step from an inner voxel, so adding the
        // wrapped field differences never carries into the next field
        for (size_t s = 0; s < N; ++s)
            packedSteps_[s] = uint32_t(steps[s].dx) + (uint32_t(steps[s].dy) << 10) +
                              (uint32_t(steps[s].dz) << 20);
    }

    size_t voxels() const { return plane_ * size_t(nz_); }
    bool Contains(int32_t x, int32_t y, int32_t z) const {
        return x >= 0 && x < nx_ && y >= 0 && y < ny_ && z >= 0 && z < nz_;
    }
    size_t Index(int32_t x, int32_t y, int32_t z) const {
        return size_t(x) + size_t(y) * row_ + size_t(z) * plane_;
    }

    int64_t Run(uint32_t* stack, uint32_t seed, uint8_t old, uint8_t fill) {
        size_t top = 0;
        stack[top++] = seed;
        int64_t count = 0;
        while (top > 0) {
            const uint32_t p = stack[--top];
            ++count;
            const int32_t x = X(p), y = Y(p), z = Z(p);
            if (x > 0 && x < nx_ - 1 && y > 0 && y < ny_ - 1 && z > 0 && z < nz_ - 1)
                top = Inner(stack, top, p, Index(x, y, z), old, fill);
            else
                top = Edge(stack, top, x, y, z, old, fill);
        }
        return count;
    }

  private:
    size_t Inner(uint32_t* stack, size_t top, uint32_t p, size_t at, uint8_t old, uint8_t fill) {
        uint8_t* centre = bytes_ + at;
        for (size_t s = 0; s < N; ++s) {
            uint8_t& v = centre[offsets_[s]];
            if (v != old) continue;
            v = fill;
            stack[top++] = p + packedSteps_[s];
        }
        return top;
    }

    size_t Edge(uint32_t* stack, size_t top, int32_t x, int32_t y, int32_t z, uint8_t old,
                uint8_t fill) {
        for (const Step& s : steps_) {
            const int32_t ax = x + s.dx, ay = y + s.dy, az = z + s.dz;
            if (!Contains(ax, ay, az)) continue;
            uint8_t& v = bytes_[Index(ax, ay, az)];
            if (v != old) continue;
            v = fill;
            stack[top++] = Pack(uint32_t(ax), uint32_t(ay), uint32_t(az));
        }
        return top;
    }

    uint8_t* bytes_;
    int32_t nx_, ny_, nz_;
    size_t row_ = 0, plane_ = 0;
    const std::array<Step, N>& steps_;
    std::array<ptrdiff_t, N> offsets_{};
    std::array<uint32_t, N> packedSteps_{};
};

template <size_t N>
int64_t FillWith(uint8_t* bytes, uint32_t dims, uint32_t seed, uint8_t fillValue,
                 const std::array<Step, N>& steps) {
    Flood<N> flood(bytes, dims, steps);
    if (!flood.Contains(X(seed), Y(seed), Z(seed))) return -1;
    uint8_t& first = bytes[flood.Index(X(seed), Y(seed), Z(seed))];
    const uint8_t old = first;
    first = fillValue;
    if (fillValue == old) return -1;
    // Every voxel is marked before it is pushed, so one entry per voxel always suffices.
    uint32_t* stack = gAllocate(flood.voxels());
    if (!stack) {
        gOutOfMemory(msg::kOutOfMemoryTerminate);
        first = old;
        return -1;
    }
    const int64_t count = flood.Run(stack, seed & ~kFlagBits, old, fillValue);
    gRelease(stack);
    return count;
}

}  // namespace

int64_t Fill26(uint8_t* bytes, uint32_t dims, uint32_t seed, uint8_t fillValue) {
    return FillWith(bytes, dims, seed, fillValue, kAll);
}

int64_t Fill6(uint8_t* bytes, uint32_t dims, uint32_t seed, uint8_t fillValue) {
    return FillWith(bytes, dims, seed, fillValue, kFaces);
}

FillStackAllocator SetFillStackAllocator(FillStackAllocator allocate, FillStackRelease release) {
    const FillStackAllocator previous = gAllocate;
    gAllocate = allocate ? allocate : DefaultAllocate;
    gRelease = release ? release : DefaultRelease;
    return previous;
}

OutOfMemoryHandler SetOutOfMemoryHandler(OutOfMemoryHandler handler) {
    const OutOfMemoryHandler previous = gOutOfMemory;
    gOutOfMemory = handler ? handler : DefaultOutOfMemory;
    return previous;
}

}  // namespace sulcan
