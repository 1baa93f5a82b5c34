#pragma once
// The anatomy volume file: "rows", "cols" and "planes" header lines, free text up to a line
// starting with "*", then the voxel bytes (x fastest, then y, then z).
#include <cstdint>
#include <string>
#include <vector>

#include "volume/volume_types.h"

namespace sulcan {

struct AnatomyVolume {
    VolumeDims dims;
    std::vector<uint8_t> data;
};

enum class AnatomyReadStatus {
    Ok,
    OpenFailed,
    BadHeader,             // a dimension line is missing or does not parse
    DimensionsOutOfRange,  // the only failure the readers report with a message
    NoDataMarker,          // no "*" line before the end of the file
    ShortData,
    OutOfMemory,
};

// Reads and checks a whole anatomy file. On failure `out` is left as it was.
AnatomyReadStatus ReadAnatomyFile(const std::string& path, AnatomyVolume& out);

// A dimension value as the header gives it, rounded by adding 0.5 and truncating; values that
// cannot be a dimension (negative, huge, not a number) give 0.
int RoundDimension(double value);

enum class AnatomyWriteStatus { Ok, CreateFailed, HeaderFailed, DataFailed };
struct AnatomyWriteResult {
    AnatomyWriteStatus status = AnatomyWriteStatus::Ok;
    int error = 0;                  // errno of the failure
    bool removeFailed = false;      // the partial file could not be deleted
};

// Writes the voxels of `box` (inclusive), replacing an existing file. A failed header or data
// write deletes the partial file.
AnatomyWriteResult WriteAnatomyFile(const std::string& path, const uint8_t* data,
                                    const VolumeDims& dims, const VoiBox& box);

}  // namespace sulcan
