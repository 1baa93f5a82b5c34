#pragma once
// Stack flood fills over a byte volume: white matter is 26-connected, background 6-connected.
#include <cstddef>
#include <cstdint>

namespace sulcan {

// Floods the region of voxels connected to `seed` (PackedVoxel) that hold the seed's byte with
// `fillValue`. `dims` is a PackedVoxel (nx, ny, nz); voxel (i, j, k) is at i + j*nx + k*nx*ny.
// Returns the number of voxels filled, seed included, or -1 when the fill value equals the
// seed's byte, the seed lies outside the volume, or the stack cannot be had.
int64_t Fill26(uint8_t* bytes, uint32_t dims, uint32_t seed, uint8_t fillValue);
int64_t Fill6(uint8_t* bytes, uint32_t dims, uint32_t seed, uint8_t fillValue);

// ---- running out of memory for a fill stack
// The application ends there; the hooks let a host (or a test) take that path itself.
using FillStackAllocator = uint32_t* (*)(size_t entries);  // nullptr when out of memory
using FillStackRelease = void (*)(uint32_t* stack);
using OutOfMemoryHandler = void (*)(const char* message);

// Each setter returns the previous hook; nullptr restores the default.
FillStackAllocator SetFillStackAllocator(FillStackAllocator allocate, FillStackRelease release);
// Default: prints the message to stderr and ends the program with exit code 1. When a handler
// returns, the fill leaves the volume as it was and returns -1.
OutOfMemoryHandler SetOutOfMemoryHandler(OutOfMemoryHandler handler);

}  // namespace sulcan
