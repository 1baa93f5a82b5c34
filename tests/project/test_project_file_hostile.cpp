#include <gtest/gtest.h>

#include <cstdint>

#include "tests/project/project_fixture.h"
#include "tests/support/temp_dir.h"

namespace sulcan {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteWholeFile;

// A loaded object must hold values its own setters would accept.
void ExpectWellFormed(const ProjectSettings& s) {
    ProjectSettings probe;
    EXPECT_TRUE(probe.SetVolumeSize(s.xsize(), s.ysize(), s.zsize()));
    EXPECT_TRUE(probe.SetMovieFrameSize(s.movieFrameWidth(), s.movieFrameHeight()));
    EXPECT_TRUE(s.smoothing1().Valid() && s.smoothing2().Valid() && s.decimation().Valid());
    EXPECT_EQ(s.topology(), TopologySummary{});
    EXPECT_TRUE(s.currentHandle() == 0 || s.currentHandle() < int(s.handles().size()));
    EXPECT_LE(s.viewRecords().size(), 999u);
    for (int l = 0; l < kOverlayListCount; ++l) EXPECT_LE(s.ListCount(OverlayList(l)), 999);
}

class HostileProjectFile : public ::testing::Test {
protected:
    void SetUp() override {
        ProjectSettings s = testing::RichSettings(dir / "good.qxp");
        ASSERT_EQ(SaveProjectFile(s, "", testing::RichWindows(2)), 1);
        good = ReadWholeFile(dir / "good.qxp");
    }
    int Load(const std::string& bytes, ProjectSettings& into) {
        WriteWholeFile(dir / "v.qxp", bytes);
        return LoadProjectFile(into, dir / "v.qxp");
    }
    TempDir dir;
    std::string good;
};

TEST_F(HostileProjectFile, EveryTruncationFailsAndLeavesTheSettings) {
    for (size_t n = 0; n < good.size(); ++n) {
        ProjectSettings s;
        s.SetGrayLayers(9);
        ASSERT_EQ(Load(good.substr(0, n), s), 0) << "cut at " << n;
        ASSERT_EQ(s.SetGrayLayers(-1), 9);
    }
    ProjectSettings s;
    EXPECT_EQ(Load(good, s), 1);
}

TEST_F(HostileProjectFile, RandomByteFlipsLoadCleanlyOrFail) {
    uint64_t state = 12345;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33);
    };
    int loaded = 0;
    for (int variant = 0; variant < 3000; ++variant) {
        std::string b = good;
        int flips = 1 + int(next() % 4);
        for (int k = 0; k < flips; ++k) b[next() % b.size()] ^= char(1 + next() % 255);
        ProjectSettings s;
        if (Load(b, s)) {
            ++loaded;
            ExpectWellFormed(s);
        }
    }
    // Flips in strings and unchecked words still load: the checks are not all-or-nothing.
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 3000);
}

TEST_F(HostileProjectFile, HugeCountsDoNotAllocateBeforeTheDataIsThere) {
    std::string b = good;
    // handle list count at 382 claims two billion entries that the file does not hold
    b[382] = '\xff', b[383] = '\xff', b[384] = '\xff', b[385] = '\x7f';
    ProjectSettings s;
    EXPECT_EQ(Load(b, s), 0);
    // a string with no terminator before the end of the file
    std::string open = good.substr(0, 1666) + std::string(100000, 'a');
    EXPECT_EQ(Load(open, s), 0);
}

}  // namespace
}  // namespace sulcan
