#pragma once
// The RGB image handed from a capture to the writer, and the uncompressed RGB TIFF writer:
// header, bits-per-sample triple, the pixels as they are, then a single eleven-entry directory
// (one strip, interleaved samples), all little-endian.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace sulcan {

struct RgbImage {
    int16_t width = 0;
    int16_t height = 0;
    std::vector<uint8_t> pixels;  // R, G, B per pixel, rows from the top, packed without gaps

    // Both sizes positive and exactly width * height * 3 pixel bytes.
    bool valid() const;
    uint8_t* Pixel(int column, int row) { return &pixels[(size_t(row) * width + column) * 3]; }
    const uint8_t* Pixel(int column, int row) const {
        return &pixels[(size_t(row) * width + column) * 3];
    }
};

// A black image of w x h; none when a size is outside 1..32767 or memory runs out.
std::optional<RgbImage> MakeRgbImage(int width, int height);

inline constexpr uint32_t kTiffBitsOffset = 8;
inline constexpr uint32_t kTiffPixelOffset = 14;
inline constexpr uint16_t kTiffEntryCount = 11;
inline constexpr uint32_t kTiffEntrySize = 12;

uint32_t TiffPixelBytes(const RgbImage& image);
uint32_t TiffDirectoryOffset(const RgbImage& image);
uint32_t TiffFileSize(const RgbImage& image);

// Writes the whole file into a stream opened for writing at offset 0; false on any failed
// write or seek, or for an invalid image.
bool WriteTiffStream(std::FILE* f, const RgbImage& image);
// 1 when the file is complete and closed. 0 otherwise; a file it could not finish is removed,
// and an invalid image is refused before the path is touched.
int WriteTiffFile(const RgbImage& image, const std::string& path);

}  // namespace sulcan
