#include "tests/support/file_size_limit.h"
#include "tests/volume/command_fixture.h"
#include "volume/class_commands.h"
#include "volume/messages.h"

namespace sulcan {
namespace {

using testing::ReadWholeFile;
using testing::WriteWholeFile;

// The header lines of a file of the given size, from "xsize=" on, with the given CSF mean.
std::string SizeAndParameters(VolumeDims d, const char* csf = "35") {
    return "xsize=" + std::to_string(d.x) + "\nysize=" + std::to_string(d.y) + "\nzsize=" +
           std::to_string(d.z) + "\ncsf_mean=" + csf +
           "\ngray_mean=50\nwhite_mean=60\nstdev=4\nconfidence=0.7\nsmoothness=4\n";
}
const char* const kVoiLines =
    "voi_xmin=1\nvoi_xmax=2\nvoi_ymin=0\nvoi_ymax=1\nvoi_zmin=0\nvoi_zmax=1\n";
std::string Labels(VolumeDims d, uint8_t value = White) { return std::string(d.voxels(), char(value)); }

class ClassFileTest : public testing::CommandTest {
protected:
    void SetUp() override { StartProject({4, 3, 2}); }
    int Load(const std::string& bytes) {
        WriteWholeFile(dir / "c.class", bytes);
        return LoadClassification(doc, ui, dir / "c.class");
    }
};

TEST_F(ClassFileTest, VersionsAndLayouts) {
    const VolumeDims d{4, 3, 2};
    const std::string failed[] = {msg::kGotHereNotOkay, msg::kFailedReadingClassFile};
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> messages;
        VoiBox voi;
    };
    const Case cases[] = {
        {"minor 1", "version=2\nminor=1\n" + std::string(kVoiLines) + SizeAndParameters(d) + Labels(d),
         {}, {1, 0, 0, 2, 1, 1}},
        {"minor 2", "version=2\nminor=2\n" + std::string(kVoiLines) + SizeAndParameters(d) + Labels(d),
         {}, {1, 0, 0, 2, 1, 1}},
        {"minor 3", "version=2\nminor=3\n" + std::string(kVoiLines) + SizeAndParameters(d) + Labels(d),
         {msg::kVersionRefused, failed[0], failed[1]}, {}},
        {"version 3", "version=3\nminor=1\n" + std::string(kVoiLines) + SizeAndParameters(d) + Labels(d),
         {msg::kVersionRefused, failed[0], failed[1]}, {}},
        {"no minor line", "version=2\nminer=1\n", {msg::kMinorNotRead, failed[0], failed[1]}, {}},
        {"ends after version", "version=2\n", {msg::kBadVersionNumber, failed[0], failed[1]}, {}},
        {"old layout", "old header\n" + SizeAndParameters(d) + Labels(d),
         {msg::kCouldNotReadVersion}, {0, 0, 0, 3, 2, 1}},
        {"starts with xsize", SizeAndParameters(d) + Labels(d),
         {msg::kCouldNotReadVersion, failed[0], failed[1]}, {}},
        {"short data", "version=2\nminor=1\n" + std::string(kVoiLines) + SizeAndParameters(d) +
                           Labels(d).substr(1),
         {failed[0], failed[1]}, {}},
    };
    for (const Case& c : cases) {
        testing::ScriptedUi script;
        doc.InstallClassification(std::vector<uint8_t>(d.voxels(), Csf));
        doc.SetVoi({0, 0, 0, 3, 2, 1});
        WriteWholeFile(dir / "c.class", c.bytes);
        for (size_t k = 0; k < c.messages.size(); ++k) script.Reply(Answer::Ok);
        const int loaded = LoadClassification(doc, script, dir / "c.class");
        EXPECT_EQ(script.texts(), c.messages) << c.name;
        EXPECT_EQ(loaded, c.voi == VoiBox{} ? 0 : 1) << c.name;
        if (loaded) {
            EXPECT_EQ(doc.GetVoi(), c.voi) << c.name;
            EXPECT_EQ(doc.classification()[0], White) << c.name;
            EXPECT_FALSE(doc.ClassificationChanged());
            EXPECT_EQ(doc.settings().FileName(ProjectFile::Classification, true), dir / "c.class");
        } else {
            EXPECT_EQ(doc.classification()[0], Csf) << c.name << ": a failed load changed the labels";
            EXPECT_EQ(doc.GetVoi(), (VoiBox{0, 0, 0, 3, 2, 1})) << c.name;
        }
    }
}

TEST_F(ClassFileTest, SizeQuestionResizesOrAbandons) {
    const VolumeDims other{2, 3, 3};  // narrower and with one more plane
    const std::string file = "version=2\nminor=1\n" +
                             std::string("voi_xmin=0\nvoi_xmax=1\nvoi_ymin=0\nvoi_ymax=2\nvoi_zmin=0\nvoi_zmax=2\n") +
                             SizeAndParameters(other) + Labels(other, Csf);
    doc.settings().SetFileName(ProjectFile::Classification, "/old/name.class");
    ui.Expect(msg::kClassSizeMismatch, Answer::Cancel).Expect(msg::kGotHereNotOkay);
    EXPECT_EQ(Load(file), 0);
    EXPECT_EQ(ui.prompts().size(), 2u);  // no further message after a cancel

    ui.Expect(msg::kClassSizeMismatch, Answer::Ok);
    ASSERT_EQ(Load(file), 1);
    EXPECT_EQ(doc.dims(), (VolumeDims{4, 3, 2}));
    EXPECT_EQ(Label(1, 2, 1), Csf);      // inside both
    EXPECT_EQ(Label(2, 0, 0), Unknown);  // padding
    EXPECT_EQ(doc.GetVoi(), (VoiBox{0, 0, 0, 1, 2, 1}));  // zmax lowered to the last plane
    EXPECT_TRUE(doc.ClassificationChanged());
    EXPECT_EQ(doc.settings().FileName(ProjectFile::Classification, false), "");
}

TEST_F(ClassFileTest, AnEmptyAnatomyTakesTheFileSize) {
    doc.StartNewProject({}, {5, 5, 5});  // all zero
    doc.SetCursor(4, 4, 4, 0, false);
    const VolumeDims d{3, 2, 2};
    ASSERT_EQ(Load("version=2\nminor=1\n" + std::string(kVoiLines) + SizeAndParameters(d) + Labels(d)), 1);
    EXPECT_EQ(doc.dims(), d);
    EXPECT_EQ(doc.anatomy().size(), d.voxels());
    EXPECT_EQ(doc.settings().xsize(), 3);
    EXPECT_EQ(doc.cursor().x, 2);
    EXPECT_EQ(doc.cursor().y, 1);
}

TEST_F(ClassFileTest, OutOfRangeParametersAreIgnoredButTheLabelsLoad) {
    const VolumeDims d{4, 3, 2};
    ASSERT_EQ(Load("version=2\nminor=1\n" + std::string(kVoiLines) + SizeAndParameters(d, "300") +
                   Labels(d)),
              1);
    EXPECT_EQ(doc.settings().classification().csfMean, 35);
    EXPECT_EQ(doc.classification()[5], White);
}

TEST_F(ClassFileTest, WritingKeepsOnlyThePreviousVersionAsBackup) {
    const std::string path = dir / "s.class";
    const size_t first = ReadWholeFile(path).size();  // 0: nothing there yet
    ASSERT_EQ(first, 0u);
    const uint8_t saved[] = {SelectedWhite, Csf, Gray};
    for (uint8_t label : saved) {
        Label(0, 0, 0) = label;
        ASSERT_EQ(WriteClassFile(doc, ui, doc.GetVoi(), path), 1);
    }
    const std::string latest = ReadWholeFile(path), backup = ReadWholeFile(path + ".backup");
    const size_t voxel0 = latest.size() - doc.dims().voxels();
    EXPECT_EQ(latest[voxel0], 0);             // gray is not stored
    EXPECT_EQ(backup[voxel0], char(Csf));     // the second save, not the first
    EXPECT_FALSE(doc.ClassificationChanged());
}

TEST_F(ClassFileTest, AFailedSaveLeavesTheBackupAndNoFile) {
    const std::string path = dir / "s.class";
    ASSERT_EQ(WriteClassFile(doc, ui, doc.GetVoi(), path), 1);
    doc.SetClassificationChanged(true);

    ui.Expect("Problem saving classification volume.\nThe disk is full.", msg::kSaveClassCaption)
        .Expect(msg::kProblemSavingClass, msg::kSaveClassCaption);
    int result;
    {
        testing::FileSizeLimit cap(200);  // the header fits, the labels do not
        result = WriteClassFile(doc, ui, doc.GetVoi(), path);
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(doc.ClassificationChanged());
    EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
    EXPECT_FALSE(ReadWholeFile(path + ".backup").empty());

    const std::string missing = dir / "no/such/folder/s.class";
    ui.Expect(msg::kUnableToOpenOutput, msg::kSaveClassCaption)
        .Expect("Filename: [" + missing + "]\nError: [The file could not be located.]");
    EXPECT_EQ(WriteClassFile(doc, ui, doc.GetVoi(), missing), 0);
}

TEST_F(ClassFileTest, SaveAsProposesTheProjectNameAndRemembersTheChoice) {
    doc.settings().SetProjectPath(dir / "brain.qxp");
    locations.SetProjectFolder(doc.settings().ProjectFolder());  // as the application does
    locations.SetAutoUpdate(kLocationClassification, 1);
    ui.ChooseFileAs(dir / "out.class");
    SaveClassificationAs(context);
    ASSERT_EQ(ui.prompts().size(), 1u);
    EXPECT_EQ(ui.prompts()[0].file.initialPath, dir / "brain.Class");
    EXPECT_TRUE(ui.prompts()[0].file.askBeforeOverwrite);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{msg::kSavingClassification});
    EXPECT_FALSE(flags.cancelled || flags.failed);
    EXPECT_EQ(doc.settings().FileName(ProjectFile::Classification, false), "out.class");
    EXPECT_EQ(profile.GetString("Settings", "ClassificationPath", "?"), dir.path());

    ui.CancelFile();
    EXPECT_EQ(SaveClassification(context, ""), 0);
    EXPECT_TRUE(flags.cancelled && flags.failed);
}

TEST_F(ClassFileTest, LoadCommandAsksInOrderAndStopsWhereTheUserSays) {
    doc.SetClassificationChanged(true);
    doc.settings().SetFileName(ProjectFile::Classification, dir / "missing/c.class");
    ui.Expect(msg::kSaveClassChanges, Answer::Yes)
        .Expect(msg::kUnableToOpenOutput)
        .Reply(Answer::Ok)
        .Expect(msg::kUnableToSaveClassContinue, Answer::No);
    LoadClassificationCommand(context);
    EXPECT_EQ(ui.notices(), std::vector<std::string>{msg::kSavingClassification});

    // Not saving, then a bad file: the reader's messages and the command's.
    WriteWholeFile(dir / "bad.class", "version=9\nminor=1\n");
    ui.Expect(msg::kSaveClassChanges, Answer::No)
        .ChooseFileAs(dir / "bad.class")
        .Expect(msg::kVersionRefused)
        .Expect(msg::kGotHereNotOkay)
        .Expect(msg::kFailedReadingClassFile)
        .Expect(msg::kLoadingClassificationFailed);
    LoadClassificationCommand(context);
    EXPECT_EQ(ui.prompts()[5].caption, msg::kSelectClassificationFile);
    EXPECT_TRUE(ui.prompts()[5].file.fileMustExist);
}

}  // namespace
}  // namespace sulcan
