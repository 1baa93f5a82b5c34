#include <gtest/gtest.h>

#include <filesystem>

#include "app/ProjectSession.h"
#include "app/project_messages.h"
#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/support/temp_dir.h"
#include "volume/anatomy_file.h"
#include "volume/class_commands.h"
#include "volume/messages.h"

namespace sulcan {
namespace {

using testing::TempDir;

struct FakeHost : ProjectHost {
    bool canCreate = true, viewerOpen = false;
    int windows = 0, shownViews = 0, closedViewers = 0;
    std::string openedMesh;
    ProjectWindows saved;
    bool CreateProjectWindow(CSulcanDoc&) override { return canCreate && ++windows; }
    void DestroyProjectWindow() override { --windows; }
    void ShowProject(CSulcanDoc&, int views) override { shownViews = views; }
    ProjectWindows CollectWindows() override { return saved; }
    bool ViewerOpen() const override { return viewerOpen; }
    void CloseViewer() override { ++closedViewers; }
    void OpenViewer(const std::string& mesh) override { openedMesh = mesh; }
    void ClearStatusPanes() override {}
};

class ProjectSessionTest : public ::testing::Test {
protected:
    ProjectSessionTest()
        : locations(profile), recent(profile), session(ui, profile, locations, recent, host) {}

    // A project on disk: an anatomy of 6x5x4 and, optionally, a classification file.
    std::string MakeProjectOnDisk(bool withClassification, int views = 0) {
        std::vector<uint8_t> anatomy(6 * 5 * 4, 9);
        WriteAnatomyFile(dir / "anat.dat", anatomy.data(), {6, 5, 4}, {0, 0, 0, 5, 4, 3});
        ProjectSettings s;
        s.SetProjectPath(dir / "p.qxp");
        s.SetVolumeSize(6, 5, 4);
        s.SetFileName(ProjectFile::Anatomy, dir / "anat.dat");
        if (withClassification) {
            CSulcanDoc d;
            d.StartNewProject(anatomy, {6, 5, 4});
            d.classificationData()[7] = White;
            testing::ScriptedUi quiet;
            EXPECT_EQ(WriteClassFile(d, quiet, d.GetVoi(), dir / "p.class"), 1);
            s.SetFileName(ProjectFile::Classification, dir / "p.class");
        }
        ProjectWindows w;
        for (int v = 0; v < views; ++v) {
            SliceViewRecord r;
            r.words[SliceViewRecord::kPositionX] = 100 * (v + 1);  // clamped into the volume
            r.words[0] = v;
            w.views.push_back(r);
        }
        w.activeView = views > 1 ? 1 : 0;
        EXPECT_EQ(SaveProjectFile(s, "", w), 1);
        return dir / "p.qxp";
    }

    TempDir dir;
    testing::ScriptedUi ui;
    MemoryProfile profile;
    FileLocations locations;
    RecentProjects recent;
    FakeHost host;
    ProjectSession session;
};

TEST_F(ProjectSessionTest, NewProjectWithAnEmptyAnatomyAndDefaultNames) {
    ui.ChooseFileAs(dir / "brain.qxp").CancelFile().Expect(msg::kNoAnatomySelected, Answer::Yes);
    session.NewProject();
    ASSERT_NE(session.project(), nullptr);
    EXPECT_EQ(ui.prompts()[0].caption, msg::kSelectNewProjectName);
    EXPECT_EQ(ui.prompts()[0].file.defaultExtension, "qxp");
    EXPECT_EQ(ui.prompts()[1].caption, msg::kSelectNewProjectAnatomy);
    const CSulcanDoc& doc = *session.project();
    EXPECT_EQ(doc.dims(), (VolumeDims{64, 64, 64}));
    EXPECT_TRUE(doc.projectValid());
    const ProjectSettings& s = doc.settings();
    EXPECT_EQ(s.FileName(ProjectFile::GrayGraph, false), "brain.Gray");
    EXPECT_EQ(s.FileName(ProjectFile::Output, false), "3DMeshes/brain.QxM");
    EXPECT_EQ(s.FileName(ProjectFile::Image, false), "TIFFs/brain.TIF");
    EXPECT_EQ(s.FileName(ProjectFile::MovieScript, false), "Movies/brain.script");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Movies"));
    EXPECT_EQ(recent.Entry(0), dir / "brain.qxp");
    EXPECT_EQ(host.shownViews, 1);
}

TEST_F(ProjectSessionTest, CancellingAnyPromptOfNewKeepsTheOpenProject) {
    ui.ChooseFileAs(dir / "first.qxp").CancelFile().Expect(msg::kNoAnatomySelected, Answer::Yes);
    session.NewProject();
    CSulcanDoc* first = session.project();
    first->SetClassificationChanged(true);
    ui.Expect(msg::kOkToCloseOpenProject, Answer::Cancel);
    session.NewProject();
    ui.Expect(msg::kOkToCloseOpenProject, Answer::Ok).Expect(msg::kSaveClassOnClose, Answer::Cancel);
    session.NewProject();
    EXPECT_EQ(session.project(), first);
    // A name dialog cancelled after the old project closed leaves no project.
    first->SetClassificationChanged(false);
    ui.Expect(msg::kOkToCloseOpenProject, Answer::Ok).Expect(msg::kSaveProjectSettings, Answer::No).CancelFile();
    session.NewProject();
    EXPECT_EQ(session.project(), nullptr);
    EXPECT_EQ(host.windows, 0);
}

TEST_F(ProjectSessionTest, ClosingAsksInOrderAndSavesEvenAnUnchangedProject) {
    const std::string path = MakeProjectOnDisk(true);
    session.LoadProject(path);
    ASSERT_NE(session.project(), nullptr);
    std::filesystem::remove(path);
    ui.Expect(msg::kCloseProjectQuestion, Answer::No);
    EXPECT_EQ(session.CloseProject(true), 0);
    EXPECT_EQ(session.CloseProject(false), 1);  // not modified: saved without a question
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(host.windows, 0);
}

TEST_F(ProjectSessionTest, AProjectThatCannotBeSavedStaysOpen) {
    session.LoadProject(MakeProjectOnDisk(true));
    CSulcanDoc* doc = session.project();
    doc->settings().SetProjectPath(dir / "gone/p.qxp");
    ui.Expect(msg::kSaveProjectSettings, Answer::Yes).Expect(msg::kUnableToSaveProject);
    EXPECT_EQ(session.CloseProject(false), 0);
    EXPECT_EQ(session.project(), doc);
    ui.Expect(msg::kUnableToSaveProject);
    session.SaveProject();
    EXPECT_EQ(session.project(), doc);
}

TEST_F(ProjectSessionTest, LoadRestoresTheViewsAndClampsTheCursor) {
    session.LoadProject(MakeProjectOnDisk(true, 3));
    ASSERT_NE(session.project(), nullptr);
    EXPECT_EQ(host.shownViews, 3);
    std::vector<int> order;
    SliceViewRecord r;
    CSulcanDoc& doc = *session.project();
    EXPECT_EQ(doc.cursor().x, 5);  // 100 clamped into 6 columns
    while (doc.settings().TakeFirstViewRecord(r)) order.push_back(r.words[0]);
    EXPECT_EQ(order, (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(doc.classification()[7], White);
    EXPECT_EQ(recent.Entry(0), dir / "p.qxp");
}

TEST_F(ProjectSessionTest, AMissingAnatomyOffersAnEmptyVolumeOrAnother) {
    const std::string path = MakeProjectOnDisk(false);
    std::filesystem::rename(dir / "anat.dat", dir / "moved.dat");
    ui.Press(msg::kUseEmptyVolume);
    session.LoadProject(path);
    ASSERT_NE(session.project(), nullptr);
    EXPECT_EQ(ui.prompts()[0].caption, msg::kErrorReadingFileCaption);
    EXPECT_EQ(session.project()->anatomy(), std::vector<uint8_t>(6 * 5 * 4, 0));
    EXPECT_EQ(session.project()->settings().FileName(ProjectFile::Anatomy, false), "");
    ui.Expect(msg::kSaveProjectSettings, Answer::No);  // the anatomy name changed
    ASSERT_EQ(session.CloseProject(false), 1);

    // "Choose another": a bad file first, then the moved one.
    testing::WriteWholeFile(dir / "bad.dat", "not an anatomy");
    ui.Press(msg::kChooseAnother)
        .ChooseFileAs(dir / "bad.dat")
        .Expect(msg::kErrorLoadingAnatomySelectAgain)
        .ChooseFileAs(dir / "moved.dat");
    session.LoadProject(path);
    ASSERT_NE(session.project(), nullptr);
    EXPECT_EQ(session.project()->anatomy()[0], 9);
    EXPECT_EQ(session.project()->settings().FileName(ProjectFile::Anatomy, false), "moved.dat");
}

TEST_F(ProjectSessionTest, ATruncatedAnatomyAndCancelLeaveNoHalfOpenProject) {
    const std::string path = MakeProjectOnDisk(true);
    std::filesystem::resize_file(dir / "anat.dat", 40);
    ui.Press(msg::kCancel).Expect(msg::kErrorLoadingProject);
    session.LoadProject(path);
    EXPECT_EQ(session.project(), nullptr);
    EXPECT_EQ(host.windows, 0);
    EXPECT_EQ(host.shownViews, 0);
}

TEST_F(ProjectSessionTest, ClassificationFailures) {
    const std::string path = MakeProjectOnDisk(true);
    // A classification of another size: Cancel at the size question fails quietly.
    {
        CSulcanDoc other;
        other.StartNewProject(std::vector<uint8_t>(8, 1), {2, 2, 2});
        testing::ScriptedUi quiet;
        WriteClassFile(other, quiet, other.GetVoi(), dir / "p.class");
    }
    ui.Expect(msg::kClassSizeMismatch, Answer::Cancel).Expect(msg::kGotHereNotOkay);
    session.LoadProject(path);
    EXPECT_EQ(session.project(), nullptr);
    // A missing classification: "Use empty volume" gives zero labels.
    std::filesystem::remove(dir / "p.class");
    ui.Press(msg::kUseEmptyVolume);
    session.LoadProject(path);
    ASSERT_NE(session.project(), nullptr);
    EXPECT_NE(ui.prompts().back().text.find("classification file associated"), std::string::npos);
    EXPECT_EQ(session.project()->settings().FileName(ProjectFile::Classification, false), "");
}

TEST_F(ProjectSessionTest, SaveReportsCompletionOrTheGrayNote) {
    session.LoadProject(MakeProjectOnDisk(false));
    ui.Expect(msg::kSaveComplete);
    session.SaveProject();
    session.project()->SetGrayGraph(std::shared_ptr<GrayGraph>(reinterpret_cast<GrayGraph*>(new int), [](GrayGraph* g) { delete reinterpret_cast<int*>(g); }));
    session.project()->SetGrayChanged(true);
    ui.Expect(msg::kGraySavedManually);
    session.SaveProject();
}

TEST_F(ProjectSessionTest, SaveAsKeepsRelativeNamesRelative) {
    session.LoadProject(MakeProjectOnDisk(false));
    TempDir other;
    ui.ChooseFileAs(other / "copy.qxp").Expect(msg::kSaveComplete);
    session.SaveProjectAs();
    EXPECT_EQ(ui.prompts()[0].file.initialPath, dir / "p.qxp");
    ProjectSettings copy;
    ASSERT_EQ(LoadProjectFile(copy, other / "copy.qxp"), 1);
    EXPECT_EQ(copy.FileName(ProjectFile::Anatomy, true), other / "anat.dat");
}

TEST_F(ProjectSessionTest, ExitWritesTheOpenProject) {
    EXPECT_TRUE(session.Exit());
    EXPECT_EQ(profile.GetString("Settings", "OpenProject", ""), "::NONE::");
    session.LoadProject(MakeProjectOnDisk(false));
    EXPECT_TRUE(session.Exit());
    EXPECT_EQ(profile.GetString("Settings", "OpenProject", ""), dir / "p.qxp");
}

TEST(ShortenFromLeft, DropsLeadingCharactersBehindAnEllipsis) {
    auto fits = [](const std::string& s) { return s.size() <= 10; };
    EXPECT_EQ(ShortenFromLeft("/short", fits), "/short");
    EXPECT_EQ(ShortenFromLeft("/a/very/long/name", fits), " ...g/name");
}

}  // namespace
}  // namespace sulcan
