#include <gtest/gtest.h>

#include <functional>

#include "project/ProjectSettings.h"

namespace sulcan {
namespace {

TEST(ProjectSettings, DefaultsAreThoseOfANewProject) {
    ProjectSettings s;
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.SetOutputFormat(-1), 0);
    EXPECT_EQ(s.SetSpareCount(-1), 3);
    EXPECT_EQ(s.movieFrameWidth(), 160);
    EXPECT_EQ(s.movieFrameHeight(), 120);
    EXPECT_EQ(s.xsize(), 1);
    EXPECT_EQ(s.classification().csfMean, 35);
    EXPECT_EQ(s.classification().confidence, 0.7f);
    EXPECT_EQ(s.SetMigrationMode(-1), 3);
    EXPECT_EQ(s.SetGrayLayers(-1), 1);
    EXPECT_EQ(s.SetIsosurfacer(-1), 1);
    EXPECT_EQ(s.voxelSize()[2], 1.2f);
    EXPECT_EQ(s.SetModulationDepth(-1), 0.5f);
    EXPECT_EQ(s.flag(ProjectSettings::Flag::CurvatureBrightness), 1);
    EXPECT_EQ(s.flag(ProjectSettings::Flag::SaveOutput), 1);
    EXPECT_EQ(s.flag(ProjectSettings::Flag::StartViewer), 1);
    EXPECT_EQ(s.smoothing1().maxIterations, 50);
    EXPECT_EQ(s.decimation().targetTriangles, 15000);
    EXPECT_EQ(s.viewerState().zoom, 1);
}

// Each row: a setter taking a value and returning the stored one, a value in range, the
// range's ends and a value just outside each end.
struct RangeCase {
    const char* name;
    std::function<double(ProjectSettings&, double)> set;
    double lo, hi, below, above;
};

TEST(ProjectSettings, SettersIgnoreOutOfRangeValuesAndReturnTheStoredOne) {
    const RangeCase cases[] = {
        {"outputFormat", [](auto& s, double v) { return s.SetOutputFormat(int(v)); }, 0, 2, -1, 3},
        {"spareFlag", [](auto& s, double v) { return s.SetSpareFlag(int(v)); }, 0, 1, -1, 2},
        {"spareCount", [](auto& s, double v) { return s.SetSpareCount(int(v)); }, 0, 999, -1, 1000},
        {"migrationMode", [](auto& s, double v) { return s.SetMigrationMode(int(v)); }, 0, 3, -1, 4},
        {"growVoxels", [](auto& s, double v) { return s.SetGrowVoxels(int(v)); }, 0, 50, -1, 51},
        {"grayLayers", [](auto& s, double v) { return s.SetGrayLayers(int(v)); }, 0, 50, -1, 51},
        {"isosurfacer", [](auto& s, double v) { return s.SetIsosurfacer(int(v)); }, 0, 1, -1, 2},
        {"smoothness", [](auto& s, double v) { return s.SetSmoothness(int(v)); }, 0, 10, -1, 11},
        {"modulationDepth", [](auto& s, double v) { return s.SetModulationDepth(float(v)); }, 0, 1, -0.01, 1.01},
        {"csfMean", [](auto& s, double v) { return s.SetCsfMean(float(v)); }, 0, 255.999, -1, 256},
        {"noiseStdev", [](auto& s, double v) { return s.SetNoiseStdev(float(v)); }, 1, 25, 0.99, 25.01},
        {"confidence", [](auto& s, double v) { return s.SetConfidence(float(v)); }, 0, 1, -0.1, 1.1},
    };
    for (const RangeCase& c : cases) {
        for (double end : {c.lo, c.hi}) {
            ProjectSettings s;
            s.SetModified(false);
            double stored = c.set(s, end);
            EXPECT_NEAR(stored, end, 1e-3) << c.name;
            EXPECT_NEAR(c.set(s, c.below), stored, 1e-6) << c.name << " below";
            EXPECT_NEAR(c.set(s, c.above), stored, 1e-6) << c.name << " above";
        }
    }
}

TEST(ProjectSettings, ModifiedIsSetOnlyByARealChange) {
    ProjectSettings s;
    s.SetModified(false);
    s.SetOutputFormat(0);  // the value it already has
    s.SetGrayLayers(99);   // refused
    s.SetVoxelSize(0.9375f, 0.9375f, 1.2f);
    s.SetSmoothing1(SmoothingParameters{});
    EXPECT_FALSE(s.modified());
    s.SetGrayLayers(2);
    EXPECT_TRUE(s.modified());
}

TEST(ProjectSettings, GroupedValuesAreSetTogetherOrNotAtAll) {
    ProjectSettings s;
    EXPECT_FALSE(s.SetVoxelSize(0.05f, 1, 1));
    EXPECT_FALSE(s.SetVoxelSize(1, 11, 1));
    EXPECT_TRUE(s.SetVoxelSize(0.1f, 10, 1));
    EXPECT_EQ(s.voxelSize()[0], 0.1f);
    EXPECT_FALSE(s.SetMovieFrameSize(150, 200));
    EXPECT_FALSE(s.SetMovieFrameSize(200, 1201));
    EXPECT_TRUE(s.SetMovieFrameSize(1600, 1200));
    EXPECT_FALSE(s.SetVolumeSize(10, 0, 10));
    EXPECT_FALSE(s.SetVolumeSize(1024, 10, 10));
    EXPECT_TRUE(s.SetVolumeSize(1023, 1, 7));
    EXPECT_EQ(s.xsize(), 1023);
    EXPECT_EQ(s.zsize(), 7);
}

TEST(ProjectSettings, ABlockWithOneWordOutOfRangeIsRefusedWhole) {
    ProjectSettings s;
    SmoothingParameters bad;
    bad.maxIterations = 10;
    bad.edgeAngle = 181;
    EXPECT_FALSE(s.SetSmoothing2(bad));
    EXPECT_EQ(s.smoothing2().maxIterations, 50);
    DecimationParameters d;
    d.degree = 24;
    EXPECT_FALSE(s.SetDecimation(d));
    d.degree = 512;
    d.aspectRatio = 0.5f;
    EXPECT_FALSE(s.SetDecimation(d));
    d.aspectRatio = 1000;
    EXPECT_TRUE(s.SetDecimation(d));
    EXPECT_EQ(s.decimation().degree, 512);
}

TEST(ProjectSettings, ResetGroupsRestoreOnlyTheirDefaults) {
    ProjectSettings s;
    SmoothingParameters p;
    p.maxIterations = 5;
    s.SetSmoothing1(p);
    s.SetSmoothing2(p);
    s.SetCsfMean(10);
    s.SetGrayLayers(5);
    s.ResetSmoothing1();
    s.ResetClassification();
    EXPECT_EQ(s.smoothing1().maxIterations, 50);
    EXPECT_EQ(s.smoothing2().maxIterations, 5);
    EXPECT_EQ(s.classification().csfMean, 35);
    EXPECT_EQ(s.SetGrayLayers(-1), 5);
    s.ResetAll();
    EXPECT_EQ(s.SetGrayLayers(-1), 1);
    EXPECT_EQ(s.smoothing2().maxIterations, 50);
}

TEST(ProjectSettings, FileNamesInsideTheProjectFolderAreStoredRelative) {
    ProjectSettings s;
    s.SetProjectPath("/data/study/p.qxp");
    struct Case {
        const char* given;
        const char* stored;
    };
    const Case cases[] = {
        {"/data/study/anat/vAnatomy.dat", "anat/vAnatomy.dat"},
        {"/data/study/../study/x.dat", "x.dat"},
        {"/data/other/x.dat", "/data/other/x.dat"},
        {"/data/Study/x.dat", "/data/Study/x.dat"},  // a case difference is another folder
        {"/data/studyB/x.dat", "/data/studyB/x.dat"},
        {"rel/x.dat", "rel/x.dat"},
        {"", ""},
    };
    for (const Case& c : cases) {
        s.SetFileName(ProjectFile::Anatomy, c.given);
        EXPECT_EQ(s.FileName(ProjectFile::Anatomy, false), c.stored) << c.given;
    }
    s.SetFileName(ProjectFile::Anatomy, "/data/study/anat/v.dat");
    EXPECT_EQ(s.FileName(ProjectFile::Anatomy, true), "/data/study/anat/v.dat");
}

TEST(ProjectSettings, FileNameSetterComparesWithStoredAndAbsoluteForms) {
    ProjectSettings s;
    s.SetProjectPath("/p/x.qxp");
    s.SetFileName(ProjectFile::Output, "/p/mesh.QxM");
    s.SetModified(false);
    s.SetFileName(ProjectFile::Output, "/p/mesh.QxM");  // the absolute form
    s.SetFileName(ProjectFile::Output, "mesh.QxM");     // the stored form
    EXPECT_FALSE(s.modified());
    s.SetFileName(ProjectFile::Output, "/p/other.QxM");
    EXPECT_TRUE(s.modified());
}

TEST(ProjectSettings, RelativeNamesFollowANewProjectFolder) {
    ProjectSettings s;
    s.SetProjectPath("/old/p.qxp");
    s.SetFileName(ProjectFile::Anatomy, "/old/anat/v.dat");
    s.SetFileName(ProjectFile::GrayGraph, "/data/g.gray");
    s.SetProjectPath("/new/q.qxp");
    EXPECT_EQ(s.projectName(), "q");
    EXPECT_EQ(s.FileName(ProjectFile::Anatomy, true), "/new/anat/v.dat");
    EXPECT_EQ(s.FileName(ProjectFile::GrayGraph, true), "/data/g.gray");
}

TEST(ProjectSettings, ListsAcceptUpTo999EntriesAndIgnoreBadIndices) {
    ProjectSettings s;
    s.SetProjectPath("/p/x.qxp");
    for (int i = 0; i < 999; ++i) ASSERT_TRUE(s.AddListEntry(OverlayList::Cut, "/p/c.txt"));
    EXPECT_FALSE(s.AddListEntry(OverlayList::Cut, "/p/c.txt"));
    EXPECT_EQ(s.ListCount(OverlayList::Cut), 999);
    EXPECT_EQ(s.ListEntry(OverlayList::Cut, 0, false), "c.txt");
    EXPECT_EQ(s.ListEnabled(OverlayList::Cut, 998), 1);
    EXPECT_EQ(s.ListEnabled(OverlayList::Cut, 999), 0);
    EXPECT_EQ(s.ListEntry(OverlayList::Cut, -1, true), "");
    s.SetListEnabled(OverlayList::Cut, 5000, 0);
    s.RemoveListEntry(OverlayList::Cut, 5000);
    s.RemoveListEntry(OverlayList::Cut, 0);
    EXPECT_EQ(s.ListCount(OverlayList::Cut), 998);
    EXPECT_EQ(s.ListCount(OverlayList::Roi), 0);
}

TEST(ProjectSettings, HandlesWrapAroundAndTopologyChangesClearLocated) {
    ProjectSettings s;
    s.SetHandles({1, 2, 3});
    EXPECT_EQ(s.PreviousHandle(), 2);
    EXPECT_EQ(s.NextHandle(), 0);
    EXPECT_EQ(s.NextHandle(), 1);
    EXPECT_EQ(s.SetCurrentHandle(3), 1);
    s.SetTopology({1, 0, 1, 8, 0, 0});
    s.SetTopology({1, 0, 1, 8, 0, 1});
    EXPECT_EQ(s.topology().handlesLocated, 1);
    s.ClearTopologyResult();
    EXPECT_EQ(s.topology().valid, 0);
    EXPECT_EQ(s.topology().handlesLocated, 0);
    s.SetTopology({1, -1, 1, 8, 0, 0});  // negative counts are refused
    EXPECT_EQ(s.topology().valid, 0);
}

}  // namespace
}  // namespace sulcan
