#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "volume/file_error.h"
#include "volume/text_line.h"
#include "volume/volume_resize.h"
#include "volume/volume_types.h"

namespace sulcan {
namespace {

TEST(ClampVoi, LeavesWellFormedBoxesAndRepairsOthers) {
    struct Case {
        VoiBox in, out;
        int result;
    };
    const Case cases[] = {
        {{0, 0, 0, 9, 9, 9}, {0, 0, 0, 9, 9, 9}, 0},
        {{5, 0, 0, 2, 9, 9}, {2, 0, 0, 5, 9, 9}, 1},  // swapped
        {{0, 0, 0, 12, 9, 9}, {0, 0, 0, 9, 9, 9}, 1}, // past the end
        {{-3, 4, 4, 3, 4, 4}, {0, 4, 4, 3, 4, 4}, 1},
        {{20, 0, 0, 30, 0, 0}, {9, 0, 0, 9, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        VoiBox b = c.in;
        EXPECT_EQ(ClampVoi(b, 10, 10, 10), c.result);
        EXPECT_EQ(b, c.out);
    }
}

TEST(SliceGeometry, StridesAndExtentsFollowTheOrientation) {
    VolumeDims d{5, 7, 11};
    auto g0 = SliceGeometryOf(0, d), g1 = SliceGeometryOf(1, d), g2 = SliceGeometryOf(2, d);
    EXPECT_EQ(std::tuple(g0.horizontalStride, g0.verticalStride, g0.sliceStride), std::tuple(1u, 5u, 35u));
    EXPECT_EQ(std::tuple(g0.width, g0.height, g0.depth), std::tuple(5, 7, 11));
    EXPECT_EQ(std::tuple(g1.horizontalStride, g1.verticalStride, g1.sliceStride), std::tuple(35u, 1u, 5u));
    EXPECT_EQ(std::tuple(g1.width, g1.height, g1.depth), std::tuple(11, 5, 7));
    EXPECT_EQ(std::tuple(g2.horizontalStride, g2.verticalStride, g2.sliceStride), std::tuple(35u, 5u, 1u));
    EXPECT_EQ(std::tuple(g2.width, g2.height, g2.depth), std::tuple(11, 7, 5));
}

TEST(PackedVoxel, PacksTenBitsPerAxis) {
    uint32_t p = PackedVoxel::Pack(1023, 5, 1000);
    EXPECT_EQ(p, 1023u | 5u << 10 | 1000u << 20);
    EXPECT_EQ(PackedVoxel::X(p | PackedVoxel::kFlagBits), 1023);
    EXPECT_EQ(PackedVoxel::Y(p), 5);
    EXPECT_EQ(PackedVoxel::Z(p | PackedVoxel::kFlagBits), 1000);
}

TEST(ResizeVolume, CropsAndPadsAnchoredAtTheOrigin) {
    VolumeDims from{3, 2, 2}, to{2, 3, 1};
    std::vector<uint8_t> src(from.voxels());
    for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i + 1);
    auto out = ResizeVolume(src.data(), from, to);
    // plane 0 rows 0,1 keep their first two voxels; row 2 is padding
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 2, 4, 5, 0, 0}));
}

TEST(ReadTextLine, StripsCrLfCutsLongLinesAndDropsAnUnterminatedTail) {
    std::FILE* f = std::tmpfile();
    std::fputs("rows 3\r\nabcdefgh\nlast", f);
    std::rewind(f);
    EXPECT_EQ(ReadTextLine(f, 200), "rows 3");
    EXPECT_EQ(ReadTextLine(f, 4), "abc");  // capacity 4 keeps 3 characters
    EXPECT_EQ(ReadTextLine(f, 200), "defgh");
    EXPECT_EQ(ReadTextLine(f, 200), std::nullopt);  // no newline before the end
    std::fclose(f);
}

TEST(FileErrorText, MapsErrnoOntoTheCauses) {
    struct Case {
        int err;
        const char* text;
    };
    const Case cases[] = {
        {0, "No Error occurred."},
        {ENOENT, "The file could not be located."},
        {ENOTDIR, "All or part of the path is invalid."},
        {ENAMETOOLONG, "All or part of the path is invalid."},
        {EMFILE, "The permitted number of open files was exceeded."},
        {EACCES, "The file could not be accessed."},
        {EROFS, "The file could not be accessed."},
        {EBADF, "There was an attempt to use an invalid file handle."},
        {ESPIPE, "There was an error trying to set the file position."},
        {EIO, "There was a hardware error."},
        {ENOSPC, "The disk is full."},
        {EDQUOT, "The disk is full."},
        {ECHILD, "An unspecified error occurred."},
    };
    for (const Case& c : cases) EXPECT_STREQ(FileErrorTextOfErrno(c.err), c.text) << c.err;
    EXPECT_STREQ(FileErrorText(14), "The end of file was reached.");
    EXPECT_STREQ(FileErrorText(15), "Unknown error.");
    EXPECT_STREQ(FileErrorText(-1), "Unknown error.");
}

}  // namespace
}  // namespace sulcan
