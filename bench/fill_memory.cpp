// Memory of the stack fills on the largest volume a project can hold (1023^3 voxels, one
// connected region): the fill's stack is reserved for one entry per voxel but only the part
// it reaches is ever touched, and nothing else per voxel is allocated. Prints the resident
// stack (pages counted with mincore) and the growth of the process's peak resident size.
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "segment/flood_fill.h"
#include "volume/volume_types.h"

namespace {

size_t gReserved = 0;
size_t gTouched = 0;

uint32_t* MapStack(size_t entries) {
    gReserved = entries * sizeof(uint32_t);
    void* p = mmap(nullptr, gReserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS |
                   MAP_NORESERVE, -1, 0);
    return p == MAP_FAILED ? nullptr : static_cast<uint32_t*>(p);
}

void UnmapStack(uint32_t* stack) {
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident((gReserved + page - 1) / page);
    gTouched = 0;
    if (mincore(stack, gReserved, resident.data()) == 0)
        for (unsigned char r : resident) gTouched += (r & 1) ? page : 0;
    munmap(stack, gReserved);
}

// Peak resident size in bytes (VmHWM), after resetting it when `reset`.
size_t PeakResident(bool reset) {
    if (reset) std::ofstream("/proc/self/clear_refs") << "5";
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    return 0;
}

double MiB(size_t bytes) { return double(bytes) / (1024.0 * 1024.0); }

void Measure(const char* name, decltype(&sulcan::Fill26) fill, std::vector<uint8_t>& volume,
             uint8_t value) {
    using sulcan::PackedVoxel::Pack;
    const uint32_t n = sulcan::kMaxDimension;
    const size_t before = PeakResident(true);
    const auto start = std::chrono::steady_clock::now();
    const int64_t filled = fill(volume.data(), Pack(n, n, n), Pack(n / 2, n / 2, n / 2), value);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const size_t growth = PeakResident(false) - before;
    std::printf("%s: %lld voxels in %.1f s; stack reserved %.0f MiB, touched %.1f MiB "
                "(%.3f bytes/voxel); peak resident grew %.1f MiB\n",
                name, static_cast<long long>(filled), seconds, MiB(gReserved), MiB(gTouched),
                double(gTouched) / double(filled), MiB(growth));
}

}  // namespace

int main() {
    sulcan::SetFillStackAllocator(MapStack, UnmapStack);
    const size_t n = sulcan::kMaxDimension;
    std::vector<uint8_t> volume(n * n * n, 0);  // one region of every voxel
    std::printf("volume %zu^3 = %.0f MiB, resident after allocation %.0f MiB\n", n,
                MiB(volume.size()), MiB(PeakResident(true)));
    Measure("Fill26", sulcan::Fill26, volume, 0x10);
    Measure("Fill6", sulcan::Fill6, volume, 0x00);
    return 0;
}
