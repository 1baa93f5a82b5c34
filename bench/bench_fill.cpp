// Selecting the white matter of a 256^3 phantom with Ctrl+click: extraction of the VOI, the
// 26-connected fill of one component of several million voxels and the write-back.
#include <benchmark/benchmark.h>

#include <iostream>

#include "bench/bench_common.h"
#include "platform/console/ConsoleUi.h"
#include "segment/select_connected.h"
#include "volume/CSulcanDoc.h"

namespace sulcan::bench {
namespace {

// A white voxel of the largest white body: the one nearest the volume's centre.
bool CentralWhite(const CSulcanDoc& doc, int32_t v[3]) {
    const VolumeDims& d = doc.dims();
    for (int32_t r = 0; r < d.x / 2; ++r)
        for (int32_t dz = -r; dz <= r; ++dz)
            for (int32_t dx = -r; dx <= r; ++dx) {
                v[0] = d.x / 2 + dx, v[1] = d.y / 2, v[2] = d.z / 2 + dz;
                if (TissueOf(doc.classification()[d.index(v[0], v[1], v[2])]) == White) return true;
            }
    return false;
}

void BM_SelectConnectedWhite(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    CSulcanDoc doc;
    doc.InstallAnatomy(p.anatomy, p.dims);
    doc.InstallClassification(p.labels);
    ConsoleUi ui({}, std::cerr);
    int32_t v[3];
    if (!CentralWhite(doc, v)) {
        state.SkipWithError("no white matter");
        return;
    }
    const VoiBox voi = VoiBox::Whole(p.dims);
    bool select = true;
    int64_t count = 0;
    for (auto _ : state) {
        // select and deselect in turn, so every pass rewrites the component
        count = SelectConnectedWhite(doc, ui, v[0], v[1], v[2], voi, select);
        select = !select;
        benchmark::ClobberMemory();
    }
    state.counters["component"] = double(count);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(p.dims.voxels()));
}
BENCHMARK(BM_SelectConnectedWhite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulcan::bench
