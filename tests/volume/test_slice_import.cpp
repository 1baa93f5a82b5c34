#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "platform/MemoryProfile.h"
#include "platform/format.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/support/temp_dir.h"
#include "volume/messages.h"
#include "volume/slice_import.h"

namespace sulcan {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;
using testing::WriteWholeFile;

void AppendBE32(std::string& s, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s.push_back(char(v >> shift));
}

// The header of a slice file: mark, data offset, width, height.
std::string SliceHeaderBytes(int32_t width, int32_t height, uint32_t offset) {
    std::string s = "IMGF";
    AppendBE32(s, offset);
    AppendBE32(s, uint32_t(width));
    AppendBE32(s, uint32_t(height));
    return s;
}

// A whole slice file: header, padding up to the offset, then the big-endian samples.
std::string SliceBytes(int32_t width, int32_t height, const std::vector<uint16_t>& samples,
                       uint32_t offset = 20) {
    std::string s = SliceHeaderBytes(width, height, offset);
    s.resize(std::max<size_t>(s.size(), offset), '\0');
    for (uint16_t v : samples) {
        s.push_back(char(v >> 8));
        s.push_back(char(v & 0xFF));
    }
    return s;
}

// A 3 x 2 slice whose samples are 0x0100 * number + 0x20 + i: sample 3 of slice 1 is 0x0123.
std::string NumberedSlice(int number) {
    std::vector<uint16_t> samples;
    for (int i = 0; i < 6; ++i) samples.push_back(uint16_t(0x0100 * number + 0x20 + i));
    return SliceBytes(3, 2, samples);
}

std::string Header(int rows, int cols, int planes) {
    char text[128];
    std::snprintf(text, sizeof text, "rows %d.000000\ncols %d.000000\nplanes %d.000000\n*\n", rows,
                  cols, planes);
    return text;
}

std::string Plane(int number) {
    std::string plane;
    for (int i = 0; i < 6; ++i) plane.push_back(char(number ? 0x20 + i : 0));
    return plane;
}

class SliceImport : public ::testing::Test {
  protected:
    void Put(const std::string& name, const std::string& bytes) {
        WriteWholeFile(dir / name, bytes);
    }
    SliceImportResult Import(const std::string& folderText) {
        return ImportSlices(folderText, [&]() -> std::optional<std::string> { return out; });
    }
    TempDir dir;
    std::string out = dir / "out.dat";
};

TEST(SliceNames, TheExtensionMustPrintBackAsThreeDigits) {
    const struct {
        const char* name;
        std::optional<int> number;
    } cases[] = {{"I.001", 1},
                 {"I.007", 7},
                 {"I.999", 999},
                 {"I.000", 0},
                 {"I.-01", -1},
                 {"I.7", std::nullopt},
                 {"I.0007", std::nullopt},
                 {"I.1000", std::nullopt},
                 {"I.12a", std::nullopt},
                 {"I.", std::nullopt},
                 {"I.+01", std::nullopt},
                 {"I", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(SliceNumberOf(c.name), c.number) << c.name;
}

TEST_F(SliceImport, ListsOnlyNamesMatchingThePattern) {
    for (const char* name : {"I.001", "I.7", "J.001", "i.002", "Image", "xI.003"}) Put(name, "");
    std::vector<std::string> names = ListSliceNames(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"I.001", "I.7"}));
    EXPECT_TRUE(ListSliceNames(dir / "missing").empty());
    EXPECT_EQ(SlicePatternOf(SliceFolderOf(dir.path() + "/")), dir.path() + "/I.*");
}

TEST_F(SliceImport, MissingSlicesLeaveZeroPlanesAndTheSecondByteIsTheVoxel) {
    for (int n : {1, 2, 4}) Put(Format("I.%03d", n), NumberedSlice(n));
    Put("I.000", SliceBytes(9, 9, std::vector<uint16_t>(81, 0xFFFF)));  // no plane: skipped
    Put("I.-01", SliceBytes(9, 9, std::vector<uint16_t>(81, 0xFFFF)));
    const SliceImportResult r = Import(dir.path() + "/");
    ASSERT_EQ(r.status, SliceImportStatus::Ok) << SliceImportMessage(r, "");
    EXPECT_EQ(r.dims, (VolumeDims{3, 2, 4}));
    EXPECT_EQ(ReadWholeFile(out), Header(2, 3, 4) + Plane(1) + Plane(2) + Plane(0) + Plane(4));
    EXPECT_EQ(SliceImportMessage(r, ""), "Anatomy loaded OK and saved to:\n" + out);
}

TEST_F(SliceImport, AnUnacceptedNameEndsThePassInListingOrder) {
    Put("I.001", NumberedSlice(1));
    Put("I.002", SliceBytes(5, 5, std::vector<uint16_t>(25, 7)));  // would not match in size
    Put("I.0001", NumberedSlice(1));
    const std::vector<std::string> names = {"I.001", "I.0001", "I.002"};
    const SliceImportResult scan = ScanSlices(dir.path(), names);
    ASSERT_EQ(scan.status, SliceImportStatus::Ok);
    EXPECT_EQ(scan.dims, (VolumeDims{3, 2, 1}));
    AnatomyVolume anatomy;
    ASSERT_EQ(ReadSlices(dir.path(), names, scan.dims, anatomy).status, SliceImportStatus::Ok);
    EXPECT_EQ(std::string(anatomy.data.begin(), anatomy.data.end()), Plane(1));

    EXPECT_EQ(ScanSlices(dir.path(), {"I.0001", "I.001"}).status, SliceImportStatus::NoFiles);
}

TEST_F(SliceImport, AFileWithoutTheMarkEndsThePassButCountsItsNumber) {
    Put("I.001", NumberedSlice(1));
    Put("I.003", "GIF89a and then some more bytes");
    Put("I.002", NumberedSlice(2));
    const SliceImportResult scan = ScanSlices(dir.path(), {"I.001", "I.003", "I.002"});
    ASSERT_EQ(scan.status, SliceImportStatus::Ok);
    EXPECT_EQ(scan.dims, (VolumeDims{3, 2, 3}));
    AnatomyVolume anatomy;
    ASSERT_EQ(ReadSlices(dir.path(), {"I.001", "I.003", "I.002"}, scan.dims, anatomy).status,
              SliceImportStatus::Ok);
    EXPECT_EQ(std::string(anatomy.data.begin(), anatomy.data.end()),
              Plane(1) + Plane(0) + Plane(0));
}

TEST_F(SliceImport, HostileAndMismatchedFilesStopBeforeTheSaveDialog) {
    const std::vector<uint16_t> six(6, 0x0101);
    const std::string header = SliceBytes(3, 2, {});  // the samples missing
    const struct {
        const char* what;
        std::string second;  // I.002 and I.001; an empty text writes no file
        std::string first;
        SliceImportStatus status;
    } cases[] = {
        {"other size", SliceBytes(2, 3, six), NumberedSlice(1), SliceImportStatus::NotSameSize},
        {"truncated data", header + "\x01\x02\x03", NumberedSlice(1), SliceImportStatus::Damaged},
        {"offset past the end", SliceHeaderBytes(3, 2, 0xFFFFFFF0u) + "\x01\x02", NumberedSlice(1),
         SliceImportStatus::Damaged},
        {"truncated header", std::string("IMGF\0\0\0\x10\0\0", 10), NumberedSlice(1),
         SliceImportStatus::Damaged},
        {"zero width", "", SliceBytes(0, 2, {}), SliceImportStatus::DimensionsNoGood},
        {"negative height", "", SliceBytes(3, -5, {}), SliceImportStatus::DimensionsNoGood},
        {"huge width", "", SliceBytes(0x7FFFFFFF, 2, {}), SliceImportStatus::TooLarge},
        {"1024 rows", "", SliceBytes(1, 1024, {}), SliceImportStatus::TooLarge},
        {"only a file without the mark", "", "JUNK", SliceImportStatus::NoFiles},
        {"nothing", "", "", SliceImportStatus::NoFiles},
    };
    for (const auto& c : cases) {
        TempDir d;
        if (!c.first.empty()) WriteWholeFile(d / "I.001", c.first);
        if (!c.second.empty()) WriteWholeFile(d / "I.002", std::string(c.second));
        bool asked = false;
        const SliceImportResult r = ImportSlices(d.path(), [&]() -> std::optional<std::string> {
            asked = true;
            return d / "out.dat";
        });
        EXPECT_EQ(r.status, c.status) << c.what << ": " << SliceImportMessage(r, "");
        EXPECT_FALSE(asked) << c.what;
    }
}

TEST_F(SliceImport, MessagesNameTheFileOrThePattern) {
    ASSERT_EQ(mkdir((dir / "I.001").c_str(), 0700), 0);  // a folder of that name cannot be read
    const SliceImportResult r = Import(dir.path());
    EXPECT_EQ(SliceImportMessage(r, ""), "Cannot open file '" + dir.path() + "/I.001'");
    EXPECT_EQ(SliceImportMessage({SliceImportStatus::NoFiles, "", {}}, "/d/I.*"),
              "No files found matching '/d/I.*'");
    EXPECT_EQ(SliceImportMessage({SliceImportStatus::TooLarge, "", {1024, 2, 0}}, ""),
              "Slices of 1024 x 2 pixels are too large for an anatomy.\n"
              "Allowable size is 1 x 1 to 1023 x 1023");
}

TEST_F(SliceImport, ASliceDamagedAfterTheScanWritesNothing) {
    Put("I.001", NumberedSlice(1));
    Put("I.002", NumberedSlice(2));
    const SliceImportResult r = ImportSlices(dir.path(), [&]() -> std::optional<std::string> {
        Put("I.002", NumberedSlice(2).substr(0, 24));
        return out;
    });
    EXPECT_EQ(r.status, SliceImportStatus::Damaged);
    EXPECT_EQ(r.path, dir / "I.002");
    EXPECT_FALSE(std::ifstream(out).good());
}

TEST_F(SliceImport, AnOutputThatCannotBeCreatedIsReported) {
    Put("I.001", NumberedSlice(1));
    out = dir / "no/such/folder/out.dat";
    const SliceImportResult r = Import(dir.path());
    EXPECT_EQ(SliceImportMessage(r, ""), "Error opening output file!");
}

// ---- the menu command

class MakeAnatomyCommand : public SliceImport {
  protected:
    MakeAnatomyCommand() : locations(profile) {}
    void Run(bool ok = true) {
        MakeAnatomyFromIFiles(ui, profile, locations, [&](ImportSlicesDialogModel& m) {
            shownFolder = m.folder();
            m.SetFolder(typedFolder);
            return ok;
        });
    }
    testing::ScriptedUi ui;
    MemoryProfile profile;
    FileLocations locations;
    std::string shownFolder, typedFolder;
};

TEST_F(MakeAnatomyCommand, ImportsFromTheTypedFolderAndRemembersIt) {
    Put("I.001", NumberedSlice(1));
    profile.SetString(kSettingsSection, "Filepath", "/earlier");
    locations.SetLocation(dir.path(), kLocationAnatomy, true);
    locations.SetAutoUpdate(kLocationAnatomy, 1);
    const std::string chosen = dir / "sub/v.dat";
    ASSERT_EQ(mkdir((dir / "sub").c_str(), 0700), 0);
    typedFolder = dir.path() + "/";
    ui.ChooseFileAs(chosen).Expect("Anatomy loaded OK and saved to:\n" + chosen, "Success");
    Run();
    EXPECT_EQ(shownFolder, "/earlier");
    EXPECT_EQ(profile.GetString(kSettingsSection, "Filepath", ""), typedFolder);
    const FileRequest& save = ui.prompts()[0].file;
    EXPECT_EQ(save.mode, FileRequest::Mode::Save);
    EXPECT_EQ(save.initialPath, dir / "vAnatomy.dat");
    EXPECT_EQ(save.filter, msg::kAnatomyFilter);
    EXPECT_TRUE(save.askBeforeOverwrite);
    EXPECT_EQ(locations.GetLocation(kLocationAnatomy, true), dir / "sub");
    EXPECT_EQ(ReadWholeFile(chosen), Header(2, 3, 1) + Plane(1));
}

TEST_F(MakeAnatomyCommand, CancellingEitherDialogEndsQuietly) {
    Put("I.001", NumberedSlice(1));
    typedFolder = dir.path();
    const int writes = profile.writes();
    Run(false);
    EXPECT_TRUE(ui.prompts().empty());
    EXPECT_EQ(profile.writes(), writes);

    ui.CancelFile();
    Run();
    EXPECT_EQ(ui.prompts().size(), 1u);
}

TEST_F(MakeAnatomyCommand, FailuresShowTheirTextWithCaptionError) {
    Put("I.001", NumberedSlice(1));
    Put("I.002", SliceBytes(2, 3, std::vector<uint16_t>(6, 1)));
    typedFolder = dir.path();
    ui.Expect("Not all slices same size!", "Error");
    Run();

    typedFolder = dir / "empty/";
    ui.Expect("No files found matching '" + dir.path() + "/empty/I.*'", "Error");
    Run();
}

TEST(ImportSlicesDialogModel, BrowseStartsAtTheEditsFolder) {
    testing::ScriptedUi ui;
    ImportSlicesDialogModel model(ui, "/scans");
    ui.ChooseFolderAs("/scans/today").CancelFolder();
    EXPECT_TRUE(model.Browse());
    EXPECT_EQ(model.folder(), "/scans/today");
    EXPECT_FALSE(model.Browse());
    EXPECT_EQ(model.folder(), "/scans/today");
    ASSERT_EQ(ui.prompts().size(), 2u);
    EXPECT_EQ(ui.prompts()[0].caption, "Where are the I files located?");
    EXPECT_EQ(ui.prompts()[0].text, "/scans");
    EXPECT_EQ(ui.prompts()[1].text, "/scans/today");
}

}  // namespace
}  // namespace sulcan
