#include "tests/support/file_size_limit.h"
#include "tests/volume/command_fixture.h"
#include "volume/anatomy_commands.h"
#include "volume/messages.h"

namespace sulcan {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;

std::string AnatomyBytes(VolumeDims d, char fill = 9) {
    return "rows " + std::to_string(d.y) + "\ncols " + std::to_string(d.x) + "\nplanes " +
           std::to_string(d.z) + "\n*\n" + std::string(d.voxels(), fill);
}

class AnatomyCommandTest : public testing::CommandTest {
protected:
    void SetUp() override {
        StartProject({8, 8, 8});
        for (int z = 0; z < 8; ++z) Label(1, 1, z) = Csf;
        doc.SetVoi({0, 0, 2, 7, 7, 7});
        doc.SetClassificationChanged(false);
    }
    // Runs "L&oad anatomy" on a file with the given content.
    void LoadCommand(const std::string& bytes) {
        WriteWholeFile(dir / "new.dat", bytes);
        ui.ChooseFileAs(dir / "new.dat");
        LoadAnatomyCommand(context);
    }
};

TEST_F(AnatomyCommandTest, LoadAnatomyInstallsOrReportsTheRange) {
    WriteWholeFile(dir / "a.dat", AnatomyBytes({3, 2, 1}));
    ASSERT_EQ(LoadAnatomy(doc, ui, dir / "a.dat"), 1);
    EXPECT_EQ(doc.dims(), (VolumeDims{3, 2, 1}));
    EXPECT_EQ(doc.settings().ysize(), 2);
    WriteWholeFile(dir / "big.dat", "rows 1\ncols 1\nplanes 1024\n*\n");
    ui.Expect(msg::kAnatomyDimensionsOutOfRange);
    EXPECT_EQ(LoadAnatomy(doc, ui, dir / "big.dat"), 0);
    EXPECT_TRUE(doc.suppressMessages());
    EXPECT_EQ(LoadAnatomy(doc, ui, dir / "none.dat"), 0);
    EXPECT_FALSE(doc.suppressMessages());
}

TEST_F(AnatomyCommandTest, SameSizeReplacesOnlyTheAnatomy) {
    LoadCommand(AnatomyBytes({8, 8, 8}, 77));
    EXPECT_EQ(ui.prompts().size(), 1u);
    EXPECT_EQ(ui.prompts()[0].caption, msg::kSelectNewAnatomy);
    EXPECT_EQ(ui.prompts()[0].file.initialPath, locations.PathIn(kLocationAnatomy, "vAnatomy.dat"));
    EXPECT_EQ(doc.anatomy()[100], 77);
    EXPECT_EQ(Label(1, 1, 7), Csf);
    EXPECT_EQ(doc.settings().FileName(ProjectFile::Anatomy, true), dir / "new.dat");
}

TEST_F(AnatomyCommandTest, ResizeClassificationKeepsTheLowPlanesAndClampsTheVoi) {
    doc.SetClassificationChanged(true);
    ui.ChooseFileAs(dir / "new.dat")
        .Press(msg::kResizeClassification)
        .Expect(msg::kSaveClassBeforeAnatomy, Answer::No);
    WriteWholeFile(dir / "new.dat", AnatomyBytes({8, 8, 6}));
    LoadAnatomyCommand(context);
    EXPECT_EQ(ui.prompts()[1].caption, msg::kMismatchCaption);
    EXPECT_EQ(ui.prompts()[1].question.defaultButton, 1);
    EXPECT_EQ(doc.dims(), (VolumeDims{8, 8, 6}));
    ASSERT_EQ(doc.classification().size(), 8u * 8 * 6);
    EXPECT_EQ(Label(1, 1, 5), Csf);
    EXPECT_EQ(doc.GetVoi(), (VoiBox{0, 0, 2, 7, 7, 5}));
    EXPECT_EQ(doc.settings().zsize(), 6);
}

TEST_F(AnatomyCommandTest, EmptyClassificationAndCancel) {
    doc.settings().SetFileName(ProjectFile::Classification, "/p/c.class");
    ui.ChooseFileAs(dir / "new.dat").Press(msg::kEmptyClassification);
    WriteWholeFile(dir / "new.dat", AnatomyBytes({4, 4, 4}));
    LoadAnatomyCommand(context);
    EXPECT_EQ(doc.classification(), std::vector<uint8_t>(64, 0));
    EXPECT_EQ(doc.settings().FileName(ProjectFile::Classification, false), "");

    const std::vector<uint8_t> before = doc.anatomy();
    ui.ChooseFileAs(dir / "other.dat").Press(msg::kCancel);  // no further message
    WriteWholeFile(dir / "other.dat", AnatomyBytes({5, 5, 5}));
    LoadAnatomyCommand(context);
    EXPECT_EQ(doc.anatomy(), before);
    EXPECT_EQ(doc.dims(), (VolumeDims{4, 4, 4}));
}

TEST_F(AnatomyCommandTest, BrokenFilesAndStoppedSavesLeaveEverythingAsItWas) {
    const std::vector<uint8_t> anatomy = doc.anatomy(), labels = doc.classification();
    WriteWholeFile(dir / "broken.dat", "rows 8\ncols 8\nplanes 8\nno star line\n");
    ui.ChooseFileAs(dir / "broken.dat").Expect(msg::kUnableToLoadAnatomy);
    LoadAnatomyCommand(context);
    // A new size, then Cancel at the save question.
    doc.SetClassificationChanged(true);
    ui.ChooseFileAs(dir / "new.dat").Press(msg::kResizeClassification).Expect(msg::kSaveClassBeforeAnatomy, Answer::Cancel);
    WriteWholeFile(dir / "new.dat", AnatomyBytes({2, 2, 2}));
    LoadAnatomyCommand(context);
    EXPECT_EQ(doc.anatomy(), anatomy);
    EXPECT_EQ(doc.classification(), labels);
    EXPECT_EQ(doc.dims(), (VolumeDims{8, 8, 8}));
}

TEST_F(AnatomyCommandTest, SaveVoiWritesTheBoxAndReportsFailures) {
    ui.ChooseFileAs(dir / "voi.dat");
    SaveVoiAsAnatomyCommand(context, {3, 4, 5, 3, 4, 5});
    EXPECT_EQ(ui.notices(), std::vector<std::string>{msg::kSavingVoiAsAnatomy});
    AnatomyVolume v;
    ASSERT_EQ(ReadAnatomyFile(dir / "voi.dat", v), AnatomyReadStatus::Ok);
    EXPECT_EQ(v.dims, (VolumeDims{1, 1, 1}));
    EXPECT_EQ(v.data[0], doc.anatomy()[doc.dims().index(3, 4, 5)]);

    ui.Expect(msg::kUnableToOpenForWriting, msg::kSaveVoiCaption);
    SaveVoiAsAnatomy(doc, ui, doc.GetVoi(), dir / "missing/voi.dat");

    ui.Expect("Problem saving VOI volume.\nThe disk is full.", msg::kSaveVoiCaption);
    {
        testing::FileSizeLimit cap(100);
        SaveVoiAsAnatomy(doc, ui, VoiBox::Whole(doc.dims()), dir / "full.dat");
    }
    EXPECT_EQ(std::fopen((dir / "full.dat").c_str(), "rb"), nullptr);
}

}  // namespace
}  // namespace sulcan
