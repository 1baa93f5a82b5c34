#include <gtest/gtest.h>

#include "platform/byte_io.h"
#include "tests/support/temp_dir.h"
#include "volume/anatomy_file.h"
#include "volume/class_file.h"

namespace sulcan {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteWholeFile;

class AnatomyFileTest : public ::testing::Test {
protected:
    AnatomyReadStatus Read(const std::string& bytes) {
        WriteWholeFile(dir / "a.dat", bytes);
        return ReadAnatomyFile(dir / "a.dat", volume);
    }
    TempDir dir;
    AnatomyVolume volume;
};

TEST_F(AnatomyFileTest, HeaderVariants) {
    struct Case {
        const char* header;
        size_t dataBytes;
        AnatomyReadStatus status;
        VolumeDims dims;
    };
    const Case cases[] = {
        {"rows 2\ncols 3\nplanes 1\n*\n", 6, AnatomyReadStatus::Ok, {3, 2, 1}},
        {"rows 1.4\ncols 1\nplanes 1\n*\n", 1, AnatomyReadStatus::Ok, {1, 1, 1}},
        {"rows 1.6\ncols 1\nplanes 1\n*\n", 2, AnatomyReadStatus::Ok, {1, 2, 1}},
        {"rows 0.4\ncols 1\nplanes 1\n*\n", 1, AnatomyReadStatus::DimensionsOutOfRange, {}},
        {"rows 1\ncols 1\nplanes 1024\n*\n", 1024, AnatomyReadStatus::DimensionsOutOfRange, {}},
        {"rows 1\ncols 1\nplanes 1023\n*\n", 1023, AnatomyReadStatus::Ok, {1, 1, 1023}},
        {"rows -5\ncols 1\nplanes 1\n*\n", 1, AnatomyReadStatus::DimensionsOutOfRange, {}},
        {"rows 1e30\ncols 1\nplanes 1\n*\n", 1, AnatomyReadStatus::DimensionsOutOfRange, {}},
        {"rows 1\r\ncols 2\r\nplanes 1\r\nfree text\r\n\r\n* data\r\n", 2,
         AnatomyReadStatus::Ok, {2, 1, 1}},
        {" rows 1\ncols 1\nplanes 1\n*\n", 1, AnatomyReadStatus::BadHeader, {}},
        {"cols 1\nrows 1\nplanes 1\n*\n", 1, AnatomyReadStatus::BadHeader, {}},
        {"rows 1\ncols 1\n", 0, AnatomyReadStatus::BadHeader, {}},
        {"rows 1\ncols 1\nplanes 1\nno marker\n", 1, AnatomyReadStatus::NoDataMarker, {}},
        {"", 0, AnatomyReadStatus::BadHeader, {}},
    };
    for (const Case& c : cases) {
        volume = {};
        std::string bytes = std::string(c.header) + std::string(c.dataBytes, '\x07');
        EXPECT_EQ(Read(bytes), c.status) << c.header;
        if (c.status == AnatomyReadStatus::Ok) {
            EXPECT_EQ(volume.dims, c.dims) << c.header;
            EXPECT_EQ(volume.data, std::vector<uint8_t>(c.dataBytes, 7));
        } else {
            EXPECT_TRUE(volume.data.empty());
        }
    }
}

TEST_F(AnatomyFileTest, DataMustBeCompleteButMayHaveTrailingBytes) {
    const std::string header = "rows 2\ncols 2\nplanes 2\n*\n";
    EXPECT_EQ(Read(header + std::string(7, 'x')), AnatomyReadStatus::ShortData);
    EXPECT_EQ(Read(header + std::string(8, 'x') + "tail"), AnatomyReadStatus::Ok);
    EXPECT_EQ(volume.data.size(), 8u);
    EXPECT_EQ(ReadAnatomyFile(dir / "missing.dat", volume), AnatomyReadStatus::OpenFailed);
}

TEST_F(AnatomyFileTest, WriterProducesTheExactHeaderAndTheVoiBytes) {
    VolumeDims dims{4, 3, 2};
    std::vector<uint8_t> data(dims.voxels());
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i);
    VoiBox box{1, 1, 0, 2, 2, 1};
    ASSERT_EQ(WriteAnatomyFile(dir / "voi.dat", data.data(), dims, box).status,
              AnatomyWriteStatus::Ok);
    const std::string expected = std::string("rows 2.000000\ncols 2.000000\nplanes 2.000000\n*\n") +
                                 std::string{5, 6, 9, 10, 17, 18, 21, 22};
    EXPECT_EQ(ReadWholeFile(dir / "voi.dat"), expected);
}

TEST_F(AnatomyFileTest, OneVoxelRoundTripAndOverwrite) {
    std::vector<uint8_t> one{42};
    VoiBox box{0, 0, 0, 0, 0, 0};
    ASSERT_EQ(WriteAnatomyFile(dir / "one.dat", one.data(), {1, 1, 1}, box).status,
              AnatomyWriteStatus::Ok);
    EXPECT_EQ(ReadWholeFile(dir / "one.dat"),
              std::string("rows 1.000000\ncols 1.000000\nplanes 1.000000\n*\n*"));
    ASSERT_EQ(ReadAnatomyFile(dir / "one.dat", volume), AnatomyReadStatus::Ok);
    EXPECT_EQ(volume.dims, (VolumeDims{1, 1, 1}));
    EXPECT_EQ(volume.data, one);
    one[0] = 43;
    ASSERT_EQ(WriteAnatomyFile(dir / "one.dat", one.data(), {1, 1, 1}, box).status,
              AnatomyWriteStatus::Ok);
    EXPECT_EQ(ReadWholeFile(dir / "one.dat").back(), '+');
    auto missing = WriteAnatomyFile(dir / "no/such/one.dat", one.data(), {1, 1, 1}, box);
    EXPECT_EQ(missing.status, AnatomyWriteStatus::CreateFailed);
    EXPECT_EQ(missing.error, ENOENT);
}

TEST(ClassFileWriter, WritesTheHeaderLinesAndOnlyWhiteAndCsf) {
    TempDir dir;
    ClassFileHeader h;
    h.dims = {3, 2, 1};
    h.voi = {0, 1, 0, 2, 1, 0};
    h.confidence = 0.7f;
    const std::vector<uint8_t> labels{SelectedWhite, SelectedGray, Gray, GrayCandidate, Csf, White};
    File f(dir / "c.class", "wb");
    ASSERT_EQ(WriteClassVolume(f.get(), h, labels.data()).status, ClassWriteStatus::Ok);
    f.Close();
    const std::string expected =
        "version=2\nminor=1\nvoi_xmin=0\nvoi_xmax=2\nvoi_ymin=1\nvoi_ymax=1\nvoi_zmin=0\n"
        "voi_zmax=0\nxsize=3\nysize=2\nzsize=1\ncsf_mean=35\ngray_mean=50\nwhite_mean=60\n"
        "stdev=4\nconfidence=0.7\nsmoothness=4\n" +
        std::string{0x10, 0, 0, 0, 0x30, 0x10};
    EXPECT_EQ(ReadWholeFile(dir / "c.class"), expected);
}

}  // namespace
}  // namespace sulcan
