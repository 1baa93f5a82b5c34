#include "volume/anatomy_file.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <new>

#include "platform/byte_io.h"
#include "volume/text_line.h"

namespace sulcan {

int RoundDimension(double value) {
    const double rounded = value + 0.5;
    if (!(rounded >= 0 && rounded < 1e6)) return 0;  // also catches NaN
    return int(rounded);
}

namespace {

bool ReadDimension(std::FILE* f, const char* format, int& out) {
    auto line = ReadTextLine(f, kHeaderLineCapacity);
    float value;
    if (!line || std::sscanf(line->c_str(), format, &value) != 1) return false;
    out = RoundDimension(value);
    return true;
}

// Writes the box row by row, merging rows (and planes) that lie next to each other in memory
// into one write: a whole volume goes out in a single call.
void WriteBoxRuns(ByteWriter& w, const uint8_t* data, const VolumeDims& dims, const VoiBox& box) {
    const size_t cols = size_t(box.xmax - box.xmin + 1);
    const size_t rows = size_t(box.ymax - box.ymin + 1);
    const bool fullRows = cols == size_t(dims.x);
    const bool fullPlanes = fullRows && rows == size_t(dims.y);
    if (fullPlanes) {
        w.Bytes(data + dims.index(0, 0, box.zmin), dims.planeStride() * size_t(box.zmax - box.zmin + 1));
        return;
    }
    for (int32_t z = box.zmin; z <= box.zmax && w.ok(); ++z) {
        if (fullRows) {
            w.Bytes(data + dims.index(0, box.ymin, z), cols * rows);
            continue;
        }
        for (int32_t y = box.ymin; y <= box.ymax && w.ok(); ++y)
            w.Bytes(data + dims.index(box.xmin, y, z), cols);
    }
}

}  // namespace

AnatomyReadStatus ReadAnatomyFile(const std::string& path, AnatomyVolume& out) {
    File file(path, "rb");
    if (!file) return AnatomyReadStatus::OpenFailed;
    std::FILE* f = file.get();
    VolumeDims dims;
    if (!ReadDimension(f, "rows %f", dims.y) || !ReadDimension(f, "cols %f", dims.x) ||
        !ReadDimension(f, "planes %f", dims.z))
        return AnatomyReadStatus::BadHeader;
    if (!dims.valid()) return AnatomyReadStatus::DimensionsOutOfRange;
    for (;;) {
        auto line = ReadTextLine(f, kHeaderLineCapacity);
        if (!line) return AnatomyReadStatus::NoDataMarker;
        if (!line->empty() && (*line)[0] == '*') break;
    }
    const size_t n = dims.voxels();
    const long long left = BytesLeftInFile(f);
    if (left >= 0 && (unsigned long long)left < n) return AnatomyReadStatus::ShortData;
    std::vector<uint8_t> data;
    try {
        data.resize(n);
    } catch (const std::bad_alloc&) {
        return AnatomyReadStatus::OutOfMemory;
    }
    if (std::fread(data.data(), 1, n, f) != n) return AnatomyReadStatus::ShortData;
    out.dims = dims;
    out.data = std::move(data);
    return AnatomyReadStatus::Ok;
}

AnatomyWriteResult WriteAnatomyFile(const std::string& path, const uint8_t* data,
                                    const VolumeDims& dims, const VoiBox& box) {
    AnatomyWriteResult result;
    File file(path, "wb");
    if (!file) {
        result.status = AnatomyWriteStatus::CreateFailed;
        result.error = file.openError();
        return result;
    }
    ByteWriter w(file.get());
    char header[128];
    std::snprintf(header, sizeof header, "rows %d.000000\ncols %d.000000\nplanes %d.000000\n*\n",
                  box.ymax - box.ymin + 1, box.xmax - box.xmin + 1, box.zmax - box.zmin + 1);
    if (!w.Text(header)) {
        result.status = AnatomyWriteStatus::HeaderFailed;
    } else {
        WriteBoxRuns(w, data, dims, box);
        if (!w.ok()) result.status = AnatomyWriteStatus::DataFailed;
    }
    bool closed = file.Close();
    if (result.status == AnatomyWriteStatus::Ok && !closed) {
        result.status = AnatomyWriteStatus::DataFailed;
        result.error = errno ? errno : EIO;
    }
    if (result.status != AnatomyWriteStatus::Ok) {
        if (!result.error) result.error = w.error();
        result.removeFailed = std::remove(path.c_str()) != 0;
    }
    return result;
}

}  // namespace sulcan
