#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "platform/format.h"
#include "platform/testing/ScriptedUi.h"
#include "project/overlay_file.h"
#include "tests/support/temp_dir.h"

namespace sulcan {
namespace {

using testing::ScriptedUi;
using testing::TempDir;
using PV = std::vector<uint32_t>;

constexpr VolumeDims kDims{10, 8, 6};

uint32_t At(uint32_t x, uint32_t y, uint32_t z) {
    return PackedVoxel::Pack(x, y, z);
}

class OverlayFileTest : public ::testing::Test {
  protected:
    OverlayFileTest() { settings.SetProjectPath(dir / "p.qxp"); }

    // Writes the file and appends it (enabled) to the list.
    std::string Add(OverlayList list, const std::string& name, const std::string& content) {
        const std::string path = dir / name;
        testing::WriteWholeFile(path, content);
        settings.AddListEntry(list, path);
        return path;
    }
    std::optional<OverlaySet> Read(OverlayList list = OverlayList::Roi,
                                   const ColourConversion& convert = {}) {
        return ReadOverlayList(settings, list, kDims, ui, convert);
    }
    static std::string ErrorText(const char* kind, const char* part, int line,
                                 const std::string& path) {
        return Format(msg::kOverlayReadErrorFormat, kind, part, line, path.c_str()) +
               msg::kOverlayReadErrorChoice;
    }

    TempDir dir;
    ProjectSettings settings;
    ScriptedUi ui;
};

TEST_F(OverlayFileTest, ReadsPaletteAndPointsInsideTheVolume) {
    Add(OverlayList::Roi, "r.txt",
        "% made by hand\r\n"
        "2.7\r\n"  // palette of 2
        "255 0 0\n"
        "% second colour\n"
        "1 2.9 300\n"  // truncated, and a component above 255 is shifted as is
        "1 2 3 1\n"
        "9 7 5 2\n"   // the far corner
        "10 0 0 1\n"  // x = xsize: skipped silently
        "0 8 0 1\n"   // y = ysize
        "-1 0 0 1\n"
        "-0.5 0.5 5.9 2\n"  // truncates into the volume
        "1e30 nan inf 1\n"  // far outside: skipped, no conversion of these to int
        "   \n"
        "+4 -0 0 1 trailing text\n"
        "% a last comment\n"
        "\n");
    auto set = Read();
    ASSERT_TRUE(set);
    EXPECT_EQ(set->positions, (PV{At(1, 2, 3), At(9, 7, 5), At(0, 0, 5), At(4, 0, 0)}));
    const uint32_t second = (1u << 16) | (2u << 8) | 300u;
    EXPECT_EQ(set->colours, (PV{0xFF0000, second, second, 0xFF0000}));
}

TEST_F(OverlayFileTest, LastLineWithoutNewlineAndOverlongLinesAreRead) {
    const std::string longComment = "%" + std::string(150, 'x') + "\n";
    Add(OverlayList::Roi, "r.txt",
        longComment + "1\n" + longComment + "0 0 255\n" + "1 1 1 1" + std::string(120, ' ') +
            "9\n" + "2 2 2 1");
    auto set = Read();
    ASSERT_TRUE(set);
    EXPECT_EQ(set->positions, (PV{At(1, 1, 1), At(2, 2, 2)}));
}

struct BadFile {
    const char* content;
    const char* part;
    int line;
};

TEST_F(OverlayFileTest, ErrorsNameThePartAndTheLine) {
    const BadFile cases[] = {
        {"%1\n%2\n%3\n%4\n%5\n0\n", msg::kOverlayPartFiles, 6},
        {"%only comments\n", msg::kOverlayPartFiles, 1},
        {"", msg::kOverlayPartFiles, 0},
        {"1048577\n", msg::kOverlayPartFiles, 1},
        {"nan\n", msg::kOverlayPartFiles, 1},
        {"colours\n", msg::kOverlayPartFiles, 1},
        {"2\n1 2 3\n% c\n4 5\n", msg::kOverlayPartPalette, 4},
        {"2\n1 2 3\n", msg::kOverlayPartPalette, 2},
        {"1\n1e30 0 0\n", msg::kOverlayPartPalette, 2},
        {"1\n1 2 3\n1 1 1 0\n", msg::kOverlayPartData, 3},
        {"1\n1 2 3\n1 1 1 2\n", msg::kOverlayPartData, 3},
        {"1\n1 2 3\n1 1 1 0.5\n", msg::kOverlayPartData, 3},
        {"1\n1 2 3\n1 1 1 nan\n", msg::kOverlayPartData, 3},
        {"1\n1 2 3\n1 1 1 -1e30\n", msg::kOverlayPartData, 3},
        {"1\n1 2 3\n% c\n1 1 1 1\n1 1 1\n", msg::kOverlayPartData, 5},
        {"1\n1 2 3\n1 1 1 1\n1,1,1,1\n", msg::kOverlayPartData, 4},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.content);
        settings = ProjectSettings();
        const std::string path = Add(OverlayList::Cut, "bad.txt", c.content);
        ui.Expect(ErrorText("Cut", c.part, c.line, path), Answer::Ok);
        ASSERT_TRUE(Read(OverlayList::Cut));
        EXPECT_EQ(ui.prompts().back().buttons, Buttons::OkCancel);
    }
}

TEST_F(OverlayFileTest, OkGoesOnWithTheNextFileAndKeepsWhatWasRead) {
    Add(OverlayList::Functional, "second.txt", "1\n0 255 0\n2 2 2 1\n");
    const std::string bad =
        Add(OverlayList::Functional, "bad.txt", "1\n0 0 1\n3 3 3 1\n1 1 1 7\n4 4 4 1\n");
    Add(OverlayList::Functional, "broken.txt", "2\n1 1 1\n2 2\n5 5 5 1\n");
    const std::string first = Add(OverlayList::Functional, "first.txt", "1\n9 9 9\n1 1 1 1\n");
    ui.Expect(ErrorText("Functional", "palette", 3, dir / "broken.txt"), Answer::Ok)
        .Expect(ErrorText("Functional", "data", 4, bad), Answer::Ok);
    auto set = Read(OverlayList::Functional);
    ASSERT_TRUE(set);
    // Last entry first; the bad file's point before its error stays.
    EXPECT_EQ(set->positions, (PV{At(1, 1, 1), At(3, 3, 3), At(2, 2, 2)}));
    EXPECT_EQ(set->colours, (PV{0x090909, 0x000001, 0x00FF00}));
}

TEST_F(OverlayFileTest, CancelDropsEverything) {
    Add(OverlayList::Roi, "bad.txt", "0\n");
    Add(OverlayList::Roi, "good.txt", "1\n1 1 1\n1 1 1 1\n");
    ui.Reply(Answer::Cancel);
    EXPECT_FALSE(Read());
}

TEST_F(OverlayFileTest, OnlyEnabledNamedOpenableEntriesAreRead) {
    Add(OverlayList::Roi, "off.txt", "1\n1 1 1\n1 1 1 1\n");
    settings.SetListEnabled(OverlayList::Roi, 0, 0);
    settings.AddListEntry(OverlayList::Roi, "");
    settings.AddListEntry(OverlayList::Roi, dir / "missing.txt");
    std::filesystem::create_directory(dir / "folder");
    settings.AddListEntry(OverlayList::Roi, dir / "folder");
    settings.AddListEntry(OverlayList::Roi, "/dev/zero");  // would never end
    Add(OverlayList::Roi, "on.txt", "1\n1 1 1\n2 2 2 1\n");
    EXPECT_TRUE(HasReadableOverlayFile(settings, OverlayList::Roi));
    EXPECT_FALSE(HasReadableOverlayFile(settings, OverlayList::Cut));
    auto set = Read();
    ASSERT_TRUE(set);
    EXPECT_EQ(set->positions, (PV{At(2, 2, 2)}));
    settings.SetListEnabled(OverlayList::Roi, 5, 0);
    EXPECT_FALSE(HasReadableOverlayFile(settings, OverlayList::Roi));
}

TEST_F(OverlayFileTest, ConvertsThePaletteWhenAsked) {
    Add(OverlayList::Roi, "r.txt", "2\n1 2 3\n4 5 6\n1 1 1 2\n1 1 1 1\n2 2 2 1\n");
    int calls = 0;
    auto set = Read(OverlayList::Roi, [&calls](uint32_t c) {
        ++calls;
        return c | 0xFF000000u;
    });
    ASSERT_TRUE(set);
    EXPECT_EQ(set->colours, (PV{0xFF040506, 0xFF010203, 0xFF010203}));
    EXPECT_EQ(calls, 2);  // once per palette entry, not per point
}

TEST_F(OverlayFileTest, LackOfMemoryDropsEverything) {
    Add(OverlayList::Roi, "r.txt", "1\n1 2 3\n1 1 1 1\n");
    ui.Expect(msg::kOverlayOutOfMemory);
    EXPECT_FALSE(Read(OverlayList::Roi, [](uint32_t) -> uint32_t { throw std::bad_alloc(); }));
}

// Answers every error with OK and counts the messages.
class OkUi : public ScriptedUi {
  public:
    int messages = 0;
    Answer Message(const std::string&, const std::string&, Buttons, Icon) override {
        ++messages;
        return Answer::Ok;
    }
};

TEST_F(OverlayFileTest, HostileFilesFailWithTheMessageOrLoadAWellFormedSet) {
    const std::string good =
        "% hostile\n3\n255 0 0\n0 255 0\n0 0 255\n1 2 3 1\n9.5 7 5 3\n4 4 4 2\n0 0 0 1\n";
    uint64_t state = 7;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33);
    };
    std::vector<std::string> variants;
    for (size_t n = 0; n < good.size(); ++n) variants.push_back(good.substr(0, n));
    const char nasty[] = {'\0', '\r', '\n', '%', '-', '.', 'e', '9', ' ', char(0xFF)};
    for (int v = 0; v < 1000; ++v) {
        std::string b = good;
        for (int k = 1 + int(next() % 3); k > 0; --k)
            b[next() % b.size()] = next() % 2 ? nasty[next() % sizeof(nasty)] : char(next());
        variants.push_back(b);
    }
    variants.push_back("1\n1 1 1\n" + std::string(5000, '9') + " 1 1 1\n");
    variants.push_back("1\n3e38 -3e38 1e39\n1 1 1 1\n");
    variants.push_back("1048576\n");
    int errors = 0;
    for (const std::string& bytes : variants) {
        testing::WriteWholeFile(dir / "v.txt", bytes);
        ProjectSettings s;
        s.AddListEntry(OverlayList::Roi, dir / "v.txt");
        OkUi okUi;
        auto set = ReadOverlayList(s, OverlayList::Roi, kDims, okUi);
        ASSERT_TRUE(set);
        ASSERT_EQ(set->positions.size(), set->colours.size());
        for (uint32_t p : set->positions)
            ASSERT_TRUE(kDims.contains(PackedVoxel::X(p), PackedVoxel::Y(p), PackedVoxel::Z(p)));
        EXPECT_LE(okUi.messages, 1);
        errors += okUi.messages;
    }
    EXPECT_GT(errors, 0);
}

TEST_F(OverlayFileTest, SummaryGivesPaletteLinesBoundsAndTheFirstError) {
    const std::string path = dir / "s.txt";
    testing::WriteWholeFile(path, "2\n1 1 1\n2 2 2\n5 -3 7.9 1\n1e30 0 0 1\n-2 9 1 2\n1 1 1 3\n");
    OverlayFileSummary s = SummariseOverlayFile(path);
    EXPECT_TRUE(s.opened);
    EXPECT_EQ(s.paletteSize, 2);
    EXPECT_EQ(s.pointLines, 3);
    ASSERT_TRUE(s.hasBounds);
    EXPECT_EQ(s.min[0], -2);
    EXPECT_EQ(s.max[0], 1e30f);
    EXPECT_EQ(s.min[1], -3);
    EXPECT_EQ(s.max[1], 9);
    EXPECT_EQ(s.min[2], 0);
    EXPECT_EQ(s.max[2], 7);
    ASSERT_TRUE(s.error);
    EXPECT_STREQ(s.error->part, msg::kOverlayPartData);
    EXPECT_EQ(s.error->line, 7);

    EXPECT_FALSE(SummariseOverlayFile(dir / "missing.txt").opened);
}

}  // namespace
}  // namespace sulcan
