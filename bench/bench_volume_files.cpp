// Reading and writing a 256^3 anatomy and classification, next to plain fread/fwrite of the
// same number of bytes on the same machine and folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "bench/bench_common.h"
#include "platform/byte_io.h"
#include "platform/console/ConsoleUi.h"
#include "volume/anatomy_file.h"
#include "volume/class_commands.h"

namespace sulcan::bench {
namespace {

std::string BenchFile(const char* name) { return std::string("/tmp/sulcan-bench-") + name; }

CSulcanDoc& BenchDoc() {
    static CSulcanDoc doc;
    static bool ready = false;
    if (!ready) {
        const Phantom& p = BenchPhantom();
        doc.StartNewProject(p.anatomy, p.dims);
        doc.InstallClassification(p.labels);
        ready = true;
    }
    return doc;
}

ConsoleUi& QuietUi() {
    static ConsoleUi ui({}, std::cerr);
    return ui;
}

void Items(benchmark::State& state) {
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(BenchPhantom().dims.voxels()));
}

void BM_WriteAnatomy(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    for (auto _ : state)
        WriteAnatomyFile(BenchFile("a.dat"), p.anatomy.data(), p.dims, VoiBox::Whole(p.dims));
    Items(state);
}
BENCHMARK(BM_WriteAnatomy)->Unit(benchmark::kMillisecond);

void BM_ReadAnatomy(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    WriteAnatomyFile(BenchFile("a.dat"), p.anatomy.data(), p.dims, VoiBox::Whole(p.dims));
    for (auto _ : state) {
        AnatomyVolume v;
        ReadAnatomyFile(BenchFile("a.dat"), v);
        benchmark::DoNotOptimize(v.data.data());
    }
    Items(state);
}
BENCHMARK(BM_ReadAnatomy)->Unit(benchmark::kMillisecond);

void BM_WriteClassification(benchmark::State& state) {
    CSulcanDoc& doc = BenchDoc();
    for (auto _ : state) WriteClassFile(doc, QuietUi(), doc.GetVoi(), BenchFile("c.class"));
    Items(state);
}
BENCHMARK(BM_WriteClassification)->Unit(benchmark::kMillisecond);

void BM_ReadClassification(benchmark::State& state) {
    CSulcanDoc& doc = BenchDoc();
    WriteClassFile(doc, QuietUi(), doc.GetVoi(), BenchFile("c.class"));
    for (auto _ : state) {
        auto contents = ReadClassFile(doc, QuietUi(), BenchFile("c.class"));
        benchmark::DoNotOptimize(contents->labels.data());
    }
    Items(state);
}
BENCHMARK(BM_ReadClassification)->Unit(benchmark::kMillisecond);

// The floor: one fwrite / fread of the voxel bytes, in a fresh file each time.
void BM_RawWrite(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    for (auto _ : state) {
        File f(BenchFile("raw"), "wb");
        std::fwrite(p.anatomy.data(), 1, p.anatomy.size(), f.get());
    }
    Items(state);
}
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);

void BM_RawRead(benchmark::State& state) {
    const Phantom& p = BenchPhantom();
    {
        File f(BenchFile("raw"), "wb");
        std::fwrite(p.anatomy.data(), 1, p.anatomy.size(), f.get());
    }
    for (auto _ : state) {
        std::vector<uint8_t> data(p.anatomy.size());
        File f(BenchFile("raw"), "rb");
        benchmark::DoNotOptimize(std::fread(data.data(), 1, data.size(), f.get()));
    }
    Items(state);
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sulcan::bench
