// Classifying the whole 256^3 phantom VOI at smoothness 4 with both conductances, on one
// thread and on all cores, next to the memory-traffic floor: one pass that reads and writes
// the six float volumes of a 32^3 block, repeated for as many blocks as the volume has.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_common.h"
#include "segment/classify.h"
#include "volume/CSulcanDoc.h"

namespace sulcan::bench {
namespace {

constexpr double kMiB = 1024.0 * 1024.0;
constexpr size_t kBlockVoxels =
    size_t(kClassifyBlockEdge) * kClassifyBlockEdge * kClassifyBlockEdge;

// Peak resident size in bytes (VmHWM), reset first when `reset`; VmRSS with "VmRSS".
size_t ResidentBytes(const char* key, bool reset = false) {
    if (reset) std::ofstream("/proc/self/clear_refs") << "5";
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(key) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0) return std::stoull(line.substr(prefix.size())) * 1024;
    return 0;
}

void BM_ClassifyApply(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    CSulcanDoc doc;
    doc.StartNewProject(p.anatomy, p.dims);
    const VoiBox voi = VoiBox::Whole(doc.dims());
    const int threads = int(state.range(0));
    const bool slow = state.range(1) != 0;
    ClassificationParameters settings;
    settings.smoothness = 4;
    const size_t before = ResidentBytes("VmRSS", true);
    size_t blocks = 0;
    int used = 0;
    for (auto _ : state) {
        ClassificationApply apply;
        if (!apply.Prepare(doc, voi, settings, slow, threads) || !apply.Run([] { return false; })) {
            state.SkipWithError("apply failed");
            return;
        }
        blocks = apply.blockCount();
        used = apply.threadCount();
        benchmark::DoNotOptimize(apply.result().data());
    }
    const double voxels = double(doc.dims().voxels());
    state.counters["threads"] = used;
    state.counters["blocks"] = double(blocks);
    state.counters["nsPerVoxel"] = benchmark::Counter(
        voxels * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    // the copy of the classification plus six float volumes of at most 47^3 per thread
    state.counters["budgetMiB"] = (voxels + used * 6.0 * 47 * 47 * 47 * 4) / kMiB;
    state.counters["peakApplyMiB"] = double(ResidentBytes("VmHWM") - before) / kMiB;
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(voxels));
}
BENCHMARK(BM_ClassifyApply)
    ->ArgNames({"threads", "slow"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// One read and write of six float volumes per voxel, block after block over the volume.
void BM_ClassifyTrafficFloor(benchmark::State& state) {
    std::vector<std::vector<float>> volumes(6, std::vector<float>(kBlockVoxels, 0.5f));
    const size_t blocks = size_t(kBenchSize) * kBenchSize * kBenchSize / kBlockVoxels;
    for (auto _ : state) {
        for (size_t b = 0; b < blocks; ++b)
            for (std::vector<float>& v : volumes) {
                float* data = v.data();
                for (size_t i = 0; i < kBlockVoxels; ++i) data[i] = data[i] * 0.999f + 0.001f;
            }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(blocks * kBlockVoxels));
}
BENCHMARK(BM_ClassifyTrafficFloor)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulcan::bench
