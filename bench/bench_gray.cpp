// Growing three gray matter layers from the white matter of the 256^3 phantom (whole volume
// as VOI), the memory of the resulting graph and its index against the classification's size,
// and writing and reading the gray file of the whole graph next to plain fwrite/fread of as
// many bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bench_common.h"
#include "platform/byte_io.h"
#include "platform/console/ConsoleUi.h"
#include "segment/gray_file.h"
#include "segment/gray_grower.h"
#include "volume/CSulcanDoc.h"

namespace sulcan::bench {
namespace {

constexpr int kLayers = 3;
constexpr double kMiB = 1024.0 * 1024.0;

std::string BenchFile(const char* name) {
    return std::string("/tmp/sulcan-bench-") + name;
}

ConsoleUi& SilentUi() {
    static std::ostream nowhere(nullptr);
    static ConsoleUi ui({}, nowhere);
    return ui;
}

void LoadPhantom(CSulcanDoc& doc) {
    const Phantom& p = BenchPhantom();
    doc.StartNewProject(p.anatomy, p.dims);
    doc.InstallClassification(p.labels);
}

// Resident size and its peak in bytes (VmRSS, VmHWM); the peak is reset first when `reset`.
size_t Resident(const char* key, bool reset = false) {
    if (reset) std::ofstream("/proc/self/clear_refs") << "5";
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(key) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0) return std::stoull(line.substr(prefix.size())) * 1024;
    return 0;
}

void BM_GrowGray(benchmark::State& state) {
    CSulcanDoc doc;
    LoadPhantom(doc);
    const VoiBox voi = VoiBox::Whole(doc.dims());
    const size_t before = Resident("VmRSS", true);
    GrowResult result = GrowResult::Grown;
    for (auto _ : state) {
        // each pass first removes the gray matter of the pass before
        result = GrowGrayMatter(doc, SilentUi(), voi, kLayers, nullptr);
        benchmark::ClobberMemory();
    }
    if (result != GrowResult::Grown || !doc.grayGraph()) {
        state.SkipWithError("growth failed");
        return;
    }
    const GrayGraph& g = *doc.grayGraph();
    const double volume = double(doc.classification().size());
    const double nodes = double(g.nodeCount());
    state.counters["nodes"] = nodes;
    state.counters["nodesPerSecond"] =
        benchmark::Counter(nodes, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["graphMiB"] = double(g.MemoryBytes()) / kMiB;
    state.counters["graphPerVolume"] = double(g.MemoryBytes()) / volume;
    state.counters["budgetMiB"] = (3.0 * volume + 64.0 * nodes) / kMiB;
    state.counters["peakGrowthMiB"] = double(Resident("VmHWM") - before) / kMiB;
    state.counters["classificationMiB"] = volume / kMiB;
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(volume));
}
BENCHMARK(BM_GrowGray)->Unit(benchmark::kMillisecond)->Iterations(3);

// The phantom grown once, every node selected.
CSulcanDoc& GrownDoc() {
    static CSulcanDoc doc;
    static bool ready = false;
    if (!ready) {
        LoadPhantom(doc);
        GrowGrayMatter(doc, SilentUi(), VoiBox::Whole(doc.dims()), kLayers, nullptr);
        doc.ReplaceLabels(0xFF, Gray, SelectedGray);
        doc.HasSelectedGray();
        ready = true;
    }
    return doc;
}

size_t GrayFileBytes() {
    static const size_t bytes = [] {
        SaveSelectedGray(GrownDoc(), SilentUi(), BenchFile("g.gray"), nullptr);
        File f(BenchFile("g.gray"), "rb");
        return size_t(BytesLeftInFile(f.get()));
    }();
    return bytes;
}

void Items(benchmark::State& state) {
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(BenchPhantom().dims.voxels()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(GrayFileBytes()));
}

void BM_WriteGray(benchmark::State& state) {
    CSulcanDoc& doc = GrownDoc();
    for (auto _ : state) SaveSelectedGray(doc, SilentUi(), BenchFile("g.gray"), nullptr);
    state.counters["nodes"] = double(doc.grayGraph()->nodeCount());
    Items(state);
}
BENCHMARK(BM_WriteGray)->Unit(benchmark::kMillisecond);

void BM_ReadGray(benchmark::State& state) {
    GrayFileBytes();
    for (auto _ : state) {
        auto contents = ReadGrayFile(BenchFile("g.gray"));
        benchmark::DoNotOptimize(contents->edges.data());
    }
    Items(state);
}
BENCHMARK(BM_ReadGray)->Unit(benchmark::kMillisecond);

// The floor: one fwrite / fread of as many bytes as the gray file holds.
void BM_RawWriteGrayBytes(benchmark::State& state) {
    const std::vector<uint8_t> data(GrayFileBytes(), 0x5A);
    for (auto _ : state) {
        File f(BenchFile("raw-gray"), "wb");
        std::fwrite(data.data(), 1, data.size(), f.get());
    }
    Items(state);
}
BENCHMARK(BM_RawWriteGrayBytes)->Unit(benchmark::kMillisecond);

void BM_RawReadGrayBytes(benchmark::State& state) {
    {
        const std::vector<uint8_t> data(GrayFileBytes(), 0x5A);
        File f(BenchFile("raw-gray"), "wb");
        std::fwrite(data.data(), 1, data.size(), f.get());
    }
    for (auto _ : state) {
        std::vector<uint8_t> data(GrayFileBytes());
        File f(BenchFile("raw-gray"), "rb");
        benchmark::DoNotOptimize(std::fread(data.data(), 1, data.size(), f.get()));
    }
    Items(state);
}
BENCHMARK(BM_RawReadGrayBytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulcan::bench
