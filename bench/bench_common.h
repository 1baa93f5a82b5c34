#pragma once
// Shared data of the benchmarks: a 256^3 phantom, made once per run.
#include "volume/phantom.h"

namespace sulcan::bench {

inline constexpr int kBenchSize = 256;

inline const Phantom& BenchPhantom() {
    static const Phantom phantom = [] {
        PhantomOptions o;
        o.size = kBenchSize;
        o.handles = 2;
        o.cavity = true;
        o.satellite = true;
        return MakePhantom(o);
    }();
    return phantom;
}

}  // namespace sulcan::bench
