// Slice pictures of each orientation from a 256^3 phantom and at the largest picture size
// (1023 x 1023), next to a plain copy of as many bytes as the picture holds.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_common.h"
#include "slices/slice_picture.h"

namespace sulcan::bench {
namespace {

inline constexpr int kLargest = 1023;
inline constexpr int kThin = 8;

struct BenchVolume {
    VolumeDims dims;
    std::vector<uint8_t> anatomy, labels;
};

// 1023 x 1023 in the picture axes of the orientation, a few voxels along its slice axis.
BenchVolume LargestPictureVolume(int orientation) {
    BenchVolume v;
    v.dims = orientation == Sagittal ? VolumeDims{kLargest, kLargest, kThin}
             : orientation == Axial  ? VolumeDims{kLargest, kThin, kLargest}
                                     : VolumeDims{kThin, kLargest, kLargest};
    v.anatomy.resize(v.dims.voxels());
    v.labels.resize(v.dims.voxels());
    const uint8_t tissues[4] = {Unknown, White, Gray, Csf};
    for (size_t i = 0; i < v.anatomy.size(); ++i) {
        const uint32_t h = uint32_t(i) * 2654435761u;
        v.anatomy[i] = uint8_t(h >> 24);
        v.labels[i] = tissues[(h >> 20) & 3];
    }
    return v;
}

const BenchVolume& VolumeFor(int orientation, int size) {
    static const BenchVolume phantom = [] {
        const Phantom& p = BenchPhantom();
        return BenchVolume{p.dims, p.anatomy, p.labels};
    }();
    static const BenchVolume largest[3] = {LargestPictureVolume(0), LargestPictureVolume(1),
                                           LargestPictureVolume(2)};
    return size == kBenchSize ? phantom : largest[orientation];
}

void SetPixelCounters(benchmark::State& state, int64_t pixels) {
    state.SetItemsProcessed(int64_t(state.iterations()) * pixels);
    state.counters["per_pixel"] =
        benchmark::Counter(double(pixels), benchmark::Counter::kIsIterationInvariantRate |
                                               benchmark::Counter::kInvert);
}

void BM_SlicePicture(benchmark::State& state) {
    const int orientation = int(state.range(0));
    const BenchVolume& v = VolumeFor(orientation, int(state.range(1)));
    GreyTable grey;
    grey.Build(GreyParameters{}, DisplayFormat::Rgb32);
    const DisplayColours colours =
        BuildDisplayColours(DefaultDisplayColoursRgb(), DisplayFormat::Rgb32);
    const SliceTables tables{grey, colours, DisplayFormat::Rgb32};
    SliceSource source;
    source.anatomy = v.anatomy.data();
    source.labels = v.labels.data();
    source.dims = v.dims;
    OverlaySwitches on;
    on.white = on.gray = on.csf = true;
    const SliceGeometry g = SliceGeometryOf(orientation, v.dims);
    for (auto _ : state) {
        std::optional<SlicePicture> p =
            BuildSlicePicture(source, orientation, g.depth / 2, on, tables);
        benchmark::DoNotOptimize(p->pixels.data());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, int64_t(g.width) * g.height);
}
BENCHMARK(BM_SlicePicture)
    ->ArgNames({"orientation", "size"})
    ->ArgsProduct({{Sagittal, Axial, Coronal}, {kBenchSize, kLargest}})
    ->Unit(benchmark::kMicrosecond);

// The floor: a fresh picture-sized buffer filled by one contiguous copy.
void BM_SliceCopy(benchmark::State& state) {
    const size_t side = size_t(state.range(0));
    const std::vector<uint8_t> source(side * side * 4, 7);
    for (auto _ : state) {
        std::vector<uint8_t> picture(source.size());
        std::memcpy(picture.data(), source.data(), source.size());
        benchmark::DoNotOptimize(picture.data());
        benchmark::ClobberMemory();
    }
    SetPixelCounters(state, int64_t(side * side));
}
BENCHMARK(BM_SliceCopy)
    ->ArgName("size")
    ->Arg(kBenchSize)
    ->Arg(kLargest)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace sulcan::bench
