#include "slices/tiff_writer.h"

#include <gtest/gtest.h>

#include "tests/support/file_size_limit.h"
#include <sys/resource.h>
#include <tiffio.h>

#include <csignal>
#include <cstdarg>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace sulcan {

namespace {
std::vector<std::string> libtiffErrors;
void RecordError(const char* module, const char* fmt, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, fmt, args);
    libtiffErrors.push_back(std::string(module ? module : "") + ": " + text);
}

}  // namespace

// Reads the file with libtiff; fails the test on anything but an 8-bit RGB one-strip image.
RgbImage ReadTiffWithLibtiff(const std::string& path) {
    libtiffErrors.clear();
    TIFFErrorHandler previous = TIFFSetErrorHandler(RecordError);
    RgbImage out;
    // "c": no strip chopping, so the one strip is seen as written.
    TIFF* tif = TIFFOpen(path.c_str(), "rc");
    EXPECT_NE(tif, nullptr);
    if (tif) {
        uint32_t w = 0, h = 0;
        uint16_t spp = 0, bps = 0, photometric = 0, planar = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
        TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
        TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bps);
        TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
        TIFFGetField(tif, TIFFTAG_PLANARCONFIG, &planar);
        EXPECT_EQ(spp, 3);
        EXPECT_EQ(bps, 8);
        EXPECT_EQ(photometric, PHOTOMETRIC_RGB);
        EXPECT_EQ(planar, PLANARCONFIG_CONTIG);
        EXPECT_EQ(TIFFNumberOfStrips(tif), 1u);
        out.width = int16_t(w);
        out.height = int16_t(h);
        out.pixels.resize(size_t(w) * h * 3);
        for (uint32_t row = 0; row < h; ++row)
            EXPECT_EQ(TIFFReadScanline(tif, &out.pixels[size_t(row) * w * 3], row), 1) << row;
        EXPECT_EQ(TIFFReadDirectory(tif), 0) << "a single directory";
        TIFFClose(tif);
    }
    TIFFSetErrorHandler(previous);
    EXPECT_TRUE(libtiffErrors.empty()) << libtiffErrors.front();
    return out;
}

namespace {

using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteWholeFile;

// A picture whose every byte differs from its neighbours, so a shifted row shows.
RgbImage Gradient(int w, int h) {
    RgbImage image = *MakeRgbImage(w, h);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(i * 7 + i / 3);
    return image;
}

void Le16(std::string& s, unsigned v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void Le32(std::string& s, unsigned long v) {
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}
void Entry(std::string& s, unsigned tag, unsigned type, unsigned count, unsigned long value) {
    Le16(s, tag);
    Le16(s, type);
    Le32(s, count);
    Le32(s, value);  // little-endian: a 16-bit value lands in the first two bytes
}

// The file as the layout table gives it, built independently of the writer.
std::string ExpectedFile(const RgbImage& image) {
    const unsigned w = image.width, h = image.height, n = w * h * 3;
    std::string s = "II";
    Le16(s, 42);
    Le32(s, 14 + n);
    Le16(s, 8), Le16(s, 8), Le16(s, 8);
    s.append(image.pixels.begin(), image.pixels.end());
    Le16(s, 11);
    Entry(s, 254, 3, 1, 0);
    Entry(s, 256, 3, 1, w);
    Entry(s, 257, 3, 1, h);
    Entry(s, 258, 3, 3, 8);
    Entry(s, 259, 3, 1, 1);
    Entry(s, 262, 3, 1, 2);
    Entry(s, 273, 4, 1, 14);
    Entry(s, 277, 3, 1, 3);
    Entry(s, 278, 4, 1, h);
    Entry(s, 279, 4, 1, n);
    Entry(s, 284, 3, 1, 1);
    Le32(s, 0);
    return s;
}

struct SizeCase {
    int w, h;
};
class TiffSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(TiffSizes, WritesTheLayoutByteForByteAndLibtiffReadsItBack) {
    TempDir dir;
    const RgbImage image = Gradient(GetParam().w, GetParam().h);
    const std::string path = dir / "slice.tif";
    ASSERT_EQ(WriteTiffFile(image, path), 1);

    const std::string bytes = ReadWholeFile(path);
    EXPECT_EQ(bytes, ExpectedFile(image));
    EXPECT_EQ(bytes.size(), TiffFileSize(image));

    const RgbImage back = ReadTiffWithLibtiff(path);
    EXPECT_EQ(back.width, image.width);
    EXPECT_EQ(back.height, image.height);
    EXPECT_EQ(back.pixels, image.pixels);
}

// 3 x 1 puts the directory at an odd offset; 1023 is the largest slice side.
INSTANTIATE_TEST_SUITE_P(Tiff, TiffSizes,
                         ::testing::Values(SizeCase{1, 1}, SizeCase{3, 1}, SizeCase{2, 5},
                                           SizeCase{256, 256}, SizeCase{1023, 3}));

TEST(Tiff, A256SquareSliceHasItsDirectoryAt196622AndSize196760) {
    TempDir dir;
    const RgbImage image = Gradient(256, 256);
    ASSERT_EQ(WriteTiffFile(image, dir / "a.tif"), 1);
    const std::string bytes = ReadWholeFile(dir / "a.tif");
    ASSERT_EQ(bytes.size(), 196760u);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    EXPECT_EQ(p[4] | p[5] << 8 | p[6] << 16 | p[7] << 24, 196622);
    EXPECT_EQ(TiffDirectoryOffset(image), 196622u);
}

TEST(Tiff, MakeRgbImageGivesABlackImageOrNoneForImpossibleSizes) {
    const std::optional<RgbImage> image = MakeRgbImage(4, 2);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, std::vector<uint8_t>(24, 0));
    EXPECT_TRUE(image->valid());
    for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-1, 5}, {32768, 1}, {1, 40000}})
        EXPECT_FALSE(MakeRgbImage(w, h)) << w << " x " << h;
}

TEST(Tiff, AnInconsistentImageIsRefusedAndAnExistingFileIsLeftAlone) {
    TempDir dir;
    const std::string path = dir / "keep.tif";
    WriteWholeFile(path, "old contents");
    RgbImage shortPixels = Gradient(4, 4);
    shortPixels.pixels.pop_back();
    RgbImage negative = Gradient(2, 2);
    negative.width = -2;
    for (const RgbImage& bad : {shortPixels, negative, RgbImage{}}) {
        EXPECT_FALSE(bad.valid());
        EXPECT_EQ(WriteTiffFile(bad, path), 0);
        EXPECT_EQ(ReadWholeFile(path), "old contents");
    }
}

TEST(Tiff, AFileThatCannotBeOpenedFails) {
    TempDir dir;
    const std::string path = dir / "no-such-folder/a.tif";
    EXPECT_EQ(WriteTiffFile(Gradient(2, 2), path), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Tiff, AWriteThatFailsPartWayRemovesThePartialFile) {
    TempDir dir;
    const RgbImage image = Gradient(256, 256);
    for (rlim_t limit : {rlim_t(10), rlim_t(5000), rlim_t(TiffFileSize(image) - 1)}) {
        const std::string path = dir / "full.tif";
        WriteWholeFile(path, "previous");
        int result = 1;
        {
            testing::FileSizeLimit cap(limit);
            result = WriteTiffFile(image, path);
        }
        EXPECT_EQ(result, 0) << limit;
        EXPECT_FALSE(std::filesystem::exists(path)) << limit;
    }
}

}  // namespace
}  // namespace sulcan
