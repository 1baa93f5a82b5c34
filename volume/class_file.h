#pragma once
// The classification file: 17 "key=value" header lines, then one label byte per voxel.
// Only white and CSF are stored; every other label is written as 0.
#include <cstdint>
#include <cstdio>
#include <string>

#include "volume/volume_types.h"

namespace sulcan {

struct ClassFileHeader {
    int version = 2;
    int minor = 1;
    VoiBox voi;
    VolumeDims dims;
    float csfMean = 35, grayMean = 50, whiteMean = 60, stdev = 4, confidence = 0.7f;
    int smoothness = 4;
};

// The byte the file stores for a label: White or Csf kept, all else 0.
constexpr uint8_t StoredClassLabel(uint8_t label) {
    const uint8_t tissue = TissueOf(label);
    return tissue == White || tissue == Csf ? tissue : 0;
}

// The 17 header lines exactly as written.
std::string ClassFileHeaderText(const ClassFileHeader& header);

enum class ClassWriteStatus { Ok, HeaderFailed, OutOfMemory, DataFailed };
struct ClassWriteResult {
    ClassWriteStatus status = ClassWriteStatus::Ok;
    int error = 0;  // errno of the failed write
};

// Writes the header and the labels (plane by plane) to an open file.
ClassWriteResult WriteClassVolume(std::FILE* file, const ClassFileHeader& header,
                                  const uint8_t* labels);

}  // namespace sulcan
