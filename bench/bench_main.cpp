// Runs the benchmarks, then reports the peak resident memory of the run.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "peak resident memory: %.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
