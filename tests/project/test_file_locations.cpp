#include "project/file_locations.h"

#include <gtest/gtest.h>

#include "platform/MemoryProfile.h"
#include "platform/paths.h"

namespace sulcan {
namespace {

std::string Stored(MemoryProfile& profile, int type) {
    return profile.GetString(kSettingsSection, LocationInfoOf(type).pathValue, "<missing>");
}

TEST(FileLocations, DefaultsAreWrittenBackOnStart) {
    MemoryProfile profile;
    FileLocations locations(profile);
    EXPECT_EQ(locations.GetLocation(kLocation3D, false), "3DMeshes");
    EXPECT_EQ(locations.GetLocation(kLocation2D, false), "TIFFs");
    EXPECT_EQ(locations.GetLocation(kLocationMovie, false), "Movies");
    EXPECT_EQ(locations.autoUpdate(kLocationProject), 1);
    for (int t = 1; t < kLocationCount; ++t) EXPECT_EQ(locations.autoUpdate(t), 0) << t;
    // Every location is in the profile from the start, in its normalised form.
    for (int t = 0; t < kLocationCount; ++t)
        EXPECT_EQ(Stored(profile, t), locations.GetLocation(t, false)) << t;
}

TEST(FileLocations, StoredFoldersAreNormalisedOnStart) {
    MemoryProfile profile;
    profile.SetString(kSettingsSection, "AnatomyPath", "/data/anat///");
    profile.SetString(kSettingsSection, "GrayPath", "\\data\\gray\\");
    profile.SetString(kSettingsSection, "CutPath", "/");
    FileLocations locations(profile);
    EXPECT_EQ(Stored(profile, kLocationAnatomy), "/data/anat");
    EXPECT_EQ(Stored(profile, kLocationGray), "/data/gray");
    EXPECT_EQ(Stored(profile, kLocationCut), "/");
}

TEST(FileLocations, LoadingFromAnotherFolderFollowsTheAutoUpdateFlag) {
    for (int flag : {0, 1}) {
        MemoryProfile profile;
        profile.SetString(kSettingsSection, "AnatomyPath", "/data/anat");
        profile.SetInt(kSettingsSection, "AnatomyAuto", flag);
        FileLocations locations(profile);
        locations.RecordLastLocation(kLocationAnatomy, "/elsewhere/sub/vAnatomy.dat");
        const std::string expected = flag ? "/elsewhere/sub" : "/data/anat";
        EXPECT_EQ(locations.GetLocation(kLocationAnatomy, false), expected) << flag;
        EXPECT_EQ(Stored(profile, kLocationAnatomy), expected) << flag;
    }
}

TEST(FileLocations, ForcedSetIgnoresTheFlagAndNonForcedHonoursIt) {
    MemoryProfile profile;
    FileLocations locations(profile);
    EXPECT_EQ(locations.SetLocation("/a", kLocationRoi, false), 0);
    EXPECT_EQ(locations.GetLocation(kLocationRoi, false), "");
    EXPECT_EQ(locations.SetLocation("/a", kLocationRoi, true), 1);
    EXPECT_EQ(Stored(profile, kLocationRoi), "/a");
    locations.SetAutoUpdate(kLocationRoi, 1);
    EXPECT_EQ(profile.GetInt(kSettingsSection, "ROIAuto", -1), 1);
    EXPECT_EQ(locations.SetLocation("/b", kLocationRoi, false), 1);
    EXPECT_EQ(Stored(profile, kLocationRoi), "/b");
}

TEST(FileLocations, TrailingSlashesGoButTheRootStays) {
    const struct {
        const char* given;
        const char* stored;
    } cases[] = {
        {"/data/anat/", "/data/anat"},
        {"/data/anat//", "/data/anat"},
        {"/", "/"},
        {"//", "/"},
        {"rel/", "rel"},
        {"\\data\\x\\", "/data/x"},
    };
    MemoryProfile profile;
    FileLocations locations(profile);
    for (const auto& c : cases) {
        locations.SetLocation(c.given, kLocationGray, true);
        EXPECT_EQ(locations.GetLocation(kLocationGray, false), c.stored) << c.given;
        EXPECT_EQ(Stored(profile, kLocationGray), c.stored) << c.given;
    }
    locations.RecordLastLocation(kLocationProject, "/top.qxp");
    EXPECT_EQ(locations.GetLocation(kLocationProject, false), "/");
}

TEST(FileLocations, RelativeLocationsResolveAgainstTheProjectFolder) {
    MemoryProfile profile;
    FileLocations locations(profile);
    locations.SetLocation("Anatomy", kLocationAnatomy, true);
    locations.SetLocation("/srv/projects", kLocationProject, true);

    locations.SetProjectFolder("/p/x/");
    EXPECT_EQ(locations.GetLocation(kLocationAnatomy, true), "/p/x/Anatomy");
    EXPECT_EQ(locations.PathIn(kLocationAnatomy, "vAnatomy.dat"), "/p/x/Anatomy/vAnatomy.dat");
    EXPECT_EQ(locations.GetLocation(kLocationRoi, true), "/p/x");  // empty: the folder itself

    // Without a project: below the (absolute) project location.
    locations.SetProjectFolder("");
    EXPECT_EQ(locations.GetLocation(kLocationAnatomy, true), "/srv/projects/Anatomy");
    locations.SetLocation("../shared/./meshes/", kLocation3D, true);
    EXPECT_EQ(locations.GetLocation(kLocation3D, true), "/srv/shared/meshes");
}

TEST(FileLocations, AbsoluteLocationsAreOnlyNormalised) {
    MemoryProfile profile;
    FileLocations locations(profile);
    locations.SetProjectFolder("/p/x");
    locations.SetLocation("/a/./b/../c", kLocationCut, true);
    EXPECT_EQ(locations.GetLocation(kLocationCut, true), "/a/c");
    EXPECT_EQ(locations.GetLocation(kLocationCut, false), "/a/./b/../c");
}

TEST(FileLocations, TheProjectLocationResolvesAgainstTheWorkingFolder) {
    MemoryProfile profile;
    FileLocations locations(profile);
    locations.SetProjectFolder("/p/x");  // never used for the project location itself
    const std::string cwd = NormalisePath(CurrentDirectory());
    EXPECT_EQ(locations.GetLocation(kLocationProject, true), cwd);
    locations.SetLocation("projects", kLocationProject, true);
    EXPECT_EQ(locations.GetLocation(kLocationProject, true),
              WithoutTrailingSlashes(WithTrailingSlash(cwd) + "projects"));
    // And it is the base of the others while no project is open.
    locations.SetProjectFolder("");
    EXPECT_EQ(locations.GetLocation(kLocation2D, true),
              WithoutTrailingSlashes(WithTrailingSlash(cwd) + "projects/TIFFs"));
}

TEST(FileLocations, ARelativeFileNameIsRecordedAsAnAbsoluteFolder) {
    MemoryProfile profile;
    FileLocations locations(profile);
    locations.SetAutoUpdate(kLocationFunctional, 1);
    locations.RecordLastLocation(kLocationFunctional, "sub/f.txt");
    EXPECT_EQ(locations.GetLocation(kLocationFunctional, false),
              WithTrailingSlash(NormalisePath(CurrentDirectory())) + "sub");
}

TEST(FileLocations, TypesOutsideTheTableAreRefused) {
    MemoryProfile profile;
    FileLocations locations(profile);
    const int writes = profile.writes();
    for (int type : {-1, kLocationCount}) {
        EXPECT_EQ(locations.SetLocation("/a", type, true), 0);
        EXPECT_EQ(locations.GetLocation(type, true), "");
        EXPECT_EQ(locations.autoUpdate(type), 0);
        locations.SetAutoUpdate(type, 1);
        EXPECT_STREQ(LocationInfoOf(type).pathValue, "");
    }
    EXPECT_EQ(profile.writes(), writes);
}

}  // namespace
}  // namespace sulcan
