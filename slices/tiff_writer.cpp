#include "slices/tiff_writer.h"

#include <array>
#include <new>

#include "platform/byte_io.h"

namespace sulcan {

namespace {

constexpr uint16_t kShort = 3;
constexpr uint16_t kLong = 4;

struct DirectoryEntry {
    uint16_t tag;
    uint16_t type;
    uint32_t count;
    uint32_t value;
};

std::array<DirectoryEntry, kTiffEntryCount> DirectoryOf(const RgbImage& image) {
    const uint32_t w = uint32_t(image.width), h = uint32_t(image.height);
    return {{
        {254, kShort, 1, 0},                     // new subfile type: full image
        {256, kShort, 1, w},                     // width
        {257, kShort, 1, h},                     // height
        {258, kShort, 3, kTiffBitsOffset},       // bits per sample: the triple after the header
        {259, kShort, 1, 1},                     // no compression
        {262, kShort, 1, 2},                     // RGB
        {273, kLong, 1, kTiffPixelOffset},       // strip offset
        {277, kShort, 1, 3},                     // samples per pixel
        {278, kLong, 1, h},                      // rows per strip: one strip
        {279, kLong, 1, TiffPixelBytes(image)},  // strip byte count
        {284, kShort, 1, 1},                     // interleaved samples
    }};
}

void WriteEntry(ByteWriter& out, const DirectoryEntry& e) {
    out.LE16(e.tag);
    out.LE16(e.type);
    out.LE32(e.count);
    if (e.type == kShort) {
        // A 16-bit value sits in the first two of the entry's four value bytes.
        out.LE16(uint16_t(e.value));
        out.LE16(0);
    } else {
        out.LE32(e.value);
    }
}

bool WriteBody(ByteWriter& out, const RgbImage& image) {
    out.Text("II");
    out.LE16(42);
    out.LE32(0);  // directory offset, filled in once the directory is written
    for (int i = 0; i < 3; ++i) out.LE16(8);
    out.Bytes(image.pixels.data(), image.pixels.size());
    out.LE16(kTiffEntryCount);
    for (const DirectoryEntry& e : DirectoryOf(image)) WriteEntry(out, e);
    return out.LE32(0);  // no further directory
}

}  // namespace

bool RgbImage::valid() const {
    return width > 0 && height > 0 && pixels.size() == size_t(width) * size_t(height) * 3;
}

std::optional<RgbImage> MakeRgbImage(int width, int height) {
    if (width < 1 || width > INT16_MAX || height < 1 || height > INT16_MAX) return std::nullopt;
    try {
        RgbImage image;
        image.width = int16_t(width);
        image.height = int16_t(height);
        image.pixels.assign(size_t(width) * size_t(height) * 3, 0);
        return image;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

uint32_t TiffPixelBytes(const RgbImage& image) {
    return uint32_t(image.width) * uint32_t(image.height) * 3;
}

uint32_t TiffDirectoryOffset(const RgbImage& image) {
    return kTiffPixelOffset + TiffPixelBytes(image);
}

uint32_t TiffFileSize(const RgbImage& image) {
    return TiffDirectoryOffset(image) + 2 + kTiffEntryCount * kTiffEntrySize + 4;
}

bool WriteTiffStream(std::FILE* f, const RgbImage& image) {
    if (!f || !image.valid()) return false;
    ByteWriter out(f);
    if (!WriteBody(out, image)) return false;
    if (std::fseek(f, 4, SEEK_SET) != 0) return false;
    return out.LE32(TiffDirectoryOffset(image)) && std::fflush(f) == 0;
}

int WriteTiffFile(const RgbImage& image, const std::string& path) {
    if (!image.valid()) return 0;
    File file;
    if (!file.Open(path, "wb")) return 0;
    bool ok = WriteTiffStream(file.get(), image);
    // Closing flushes the last buffered bytes, so its result counts too.
    ok = file.Close() && ok;
    if (!ok) std::remove(path.c_str());
    return ok ? 1 : 0;
}

}  // namespace sulcan
