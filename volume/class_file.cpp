#include "volume/class_file.h"

#include <new>
#include <vector>

#include "platform/byte_io.h"

namespace sulcan {

std::string ClassFileHeaderText(const ClassFileHeader& h) {
    char text[1024];
    std::snprintf(text, sizeof text,
                  "version=%d\nminor=%d\n"
                  "voi_xmin=%d\nvoi_xmax=%d\nvoi_ymin=%d\nvoi_ymax=%d\nvoi_zmin=%d\nvoi_zmax=%d\n"
                  "xsize=%d\nysize=%d\nzsize=%d\n"
                  "csf_mean=%g\ngray_mean=%g\nwhite_mean=%g\nstdev=%g\nconfidence=%g\n"
                  "smoothness=%d\n",
                  h.version, h.minor, h.voi.xmin, h.voi.xmax, h.voi.ymin, h.voi.ymax, h.voi.zmin,
                  h.voi.zmax, h.dims.x, h.dims.y, h.dims.z, double(h.csfMean),
                  double(h.grayMean), double(h.whiteMean), double(h.stdev),
                  double(h.confidence), h.smoothness);
    return text;
}

ClassWriteResult WriteClassVolume(std::FILE* file, const ClassFileHeader& header,
                                  const uint8_t* labels) {
    ByteWriter w(file);
    if (!w.Text(ClassFileHeaderText(header))) return {ClassWriteStatus::HeaderFailed, w.error()};
    const size_t plane = header.dims.planeStride();
    std::vector<uint8_t> buffer;
    try {
        buffer.resize(plane);
    } catch (const std::bad_alloc&) {
        return {ClassWriteStatus::OutOfMemory, ENOMEM};
    }
    for (int32_t z = 0; z < header.dims.z; ++z) {
        const uint8_t* src = labels + size_t(z) * plane;
        for (size_t i = 0; i < plane; ++i) buffer[i] = StoredClassLabel(src[i]);
        if (!w.Bytes(buffer.data(), plane)) return {ClassWriteStatus::DataFailed, w.error()};
    }
    return {};
}

}  // namespace sulcan
