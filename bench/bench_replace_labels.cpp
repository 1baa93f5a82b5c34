// ReplaceLabels over a whole 256^3 classification, next to a plain pass over the same bytes
// (the floor any whole-volume relabelling can reach).
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/bench_common.h"
#include "volume/CSulcanDoc.h"

namespace sulcan::bench {
namespace {

void BM_ReplaceLabels(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    CSulcanDoc doc;
    doc.InstallAnatomy(p.anatomy, p.dims);
    doc.InstallClassification(p.labels);
    bool select = true;
    for (auto _ : state) {
        // select and deselect the white matter in turn, so every pass changes voxels
        if (select)
            doc.ReplaceLabels(0xFF, White, SelectedWhite);
        else
            doc.ReplaceLabels(0xFF, SelectedWhite, White);
        select = !select;
        benchmark::DoNotOptimize(doc.classificationData().data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(p.dims.voxels()));
}
BENCHMARK(BM_ReplaceLabels)->Unit(benchmark::kMillisecond);

// std::memchr for a byte that never occurs reads every byte once at full speed.
void BM_PlainPass(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    std::vector<uint8_t> bytes = p.labels;
    for (auto _ : state) {
        const void* found = std::memchr(bytes.data(), 0xEE, bytes.size());
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulcan::bench
