#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/FileLocationsModel.h"
#include "app/GrayLayersModel.h"
#include "app/PreferencesModel.h"
#include "platform/MemoryProfile.h"
#include "platform/paths.h"
#include "platform/testing/ScriptedUi.h"

namespace sulcan {
namespace {

using namespace setting;
using testing::Prompt;
using testing::ScriptedUi;

class PreferencesTest : public ::testing::Test {
protected:
    int Int(const char* name) { return profile.GetInt(kSettingsSection, name, -999); }

    MemoryProfile profile;
    ScriptedUi ui;
    AppSettings settings{profile};
    int viewsTold = 0, redraws = 0;
    PreferencesHooks hooks{[this] { ++viewsTold; }, [this] { ++redraws; }};
};

TEST_F(PreferencesTest, EditStartsOnTheRowsColourAndWritesTheChoiceAtOnce) {
    ui.ChooseColourAs({1, 2, 3}).CancelColour();
    PreferencesModel model(settings, ui, hooks);
    EXPECT_TRUE(model.EditColour(kColourWhite));
    ASSERT_EQ(ui.prompts().size(), 1u);
    EXPECT_EQ(ui.prompts()[0].kind, Prompt::Kind::Colour);
    EXPECT_EQ(ui.prompts()[0].text, "210,180,240");
    EXPECT_EQ(model.colour(kColourWhite), (Rgb{1, 2, 3}));
    EXPECT_EQ(Int(kWhiteOvR), 1);
    EXPECT_EQ(Int(kWhiteOvG), 2);
    EXPECT_EQ(Int(kWhiteOvB), 3);
    // The slice views' table waits for OK.
    EXPECT_EQ(settings.colourTable()[2], 0xD2B4F0u);

    const int writes = profile.writes();
    EXPECT_FALSE(model.EditColour(kColourCsf));  // cancelled
    EXPECT_EQ(profile.writes(), writes);
    EXPECT_EQ(model.colour(kColourCsf), DefaultColour(kColourCsf));
    EXPECT_EQ(viewsTold, 0);
}

TEST_F(PreferencesTest, EachRowEditsItsOwnColour) {
    const char* redValues[] = {kGrayOvR, kGraySelOvR, kWhiteOvR, kWhiteSelOvR, kCSFOvR, kB3dR};
    for (int row = 0; row < kPreferenceColourCount; ++row) {
        ui.ChooseColourAs({uint8_t(100 + row), 0, 0});
        PreferencesModel model(settings, ui, hooks);
        model.EditColour(row);
        EXPECT_EQ(Int(redValues[row]), 100 + row) << msg::prefs::kColourLabels[row];
    }
}

TEST_F(PreferencesTest, LoadDefaultsRestoresAllSixColoursAndWritesThem) {
    for (int c = 0; c < kPreferenceColourCount; ++c) settings.SetColour(c, {9, 9, 9});
    PreferencesModel model(settings, ui, hooks);
    model.LoadDefaults();
    AppSettings reread(profile);
    for (int c = 0; c < kPreferenceColourCount; ++c) {
        EXPECT_EQ(model.colour(c), DefaultColour(c)) << c;
        EXPECT_EQ(reread.colour(c), DefaultColour(c)) << c;
    }
    EXPECT_EQ(viewsTold + redraws, 0);
}

TEST_F(PreferencesTest, OkStoresTheSwitchesRebuildsTheTableAndTellsTheViews) {
    settings.SetColour(kColourGray, {0x11, 0x22, 0x33});
    PreferencesModel model(settings, ui, hooks);
    EXPECT_TRUE(model.singly());
    EXPECT_TRUE(model.positionShared());
    EXPECT_FALSE(model.slowClassification());
    model.SetSingly(false);
    model.SetPositionShared(false);
    model.SetSlowClassification(true);
    model.Ok();
    EXPECT_EQ(Int(kGrabSingly), 0);
    EXPECT_EQ(Int(kXYZLock), 0);
    EXPECT_EQ(Int(kClassifySlow), 1);
    EXPECT_EQ(settings.grabSingly(), 0);
    EXPECT_EQ(settings.xyzLock(), 0);
    EXPECT_EQ(settings.classifySlow(), 1);
    EXPECT_EQ(settings.colourTable()[4], 0x112233u);
    EXPECT_EQ(viewsTold, 1);
    EXPECT_EQ(redraws, 1);
}

TEST_F(PreferencesTest, SwitchesOpenFromTheirStoredValues) {
    // GrabSingly: 1 is singly, anything else paired.
    settings.SetGrabSingly(2);
    settings.SetXyzLock(0);
    settings.SetClassifySlow(1);
    PreferencesModel model(settings, ui);
    EXPECT_FALSE(model.singly());
    EXPECT_FALSE(model.positionShared());
    EXPECT_TRUE(model.slowClassification());
    model.Ok();  // no hooks given: nothing to tell
    EXPECT_EQ(Int(kGrabSingly), 0);
}

TEST_F(PreferencesTest, HelpAddressIsWrittenOnOpeningAndOnOkOnly) {
    PreferencesModel model(settings, ui, hooks);
    EXPECT_EQ(profile.GetString(kSettingsSection, kHelpURL, ""), settings.helpUrl());
    model.SetHelpUrl("http://a.example/" + std::string(300, 'x'));
    EXPECT_EQ(model.helpUrl().size(), 255u);  // as the edit refuses more
    EXPECT_NE(profile.GetString(kSettingsSection, kHelpURL, ""), model.helpUrl());
    model.Ok();
    EXPECT_EQ(profile.GetString(kSettingsSection, kHelpURL, ""), model.helpUrl());
    EXPECT_EQ(settings.helpUrl(), model.helpUrl());
}

class FileLocationsDialogTest : public ::testing::Test {
protected:
    std::string Stored(int type) {
        return profile.GetString(kSettingsSection, LocationInfoOf(type).pathValue, "<none>");
    }

    MemoryProfile profile;
    ScriptedUi ui;
    FileLocations locations{profile};
};

TEST_F(FileLocationsDialogTest, RowsStartFromTheStoredLocations) {
    locations.SetLocation("/data/anat", kLocationAnatomy, true);
    FileLocationsModel model(locations, ui);
    EXPECT_STREQ(model.label(kLocationProject), "Project files");
    EXPECT_STREQ(model.label(kLocationMovie), "Movie files");
    EXPECT_EQ(model.path(kLocationAnatomy), "/data/anat");
    EXPECT_EQ(model.path(kLocation2D), "TIFFs");
    EXPECT_TRUE(model.autoUpdate(kLocationProject));
    EXPECT_FALSE(model.autoUpdate(kLocationAnatomy));
}

TEST_F(FileLocationsDialogTest, OkWritesTheFlagsAndForcesEveryLocation) {
    FileLocationsModel model(locations, ui);
    model.SetPath(kLocationAnatomy, "/data/anat/");  // its flag is off: forced all the same
    model.SetPath(kLocationCut, "cuts");
    model.SetAutoUpdate(kLocationProject, false);
    model.SetAutoUpdate(kLocationGray, true);
    model.Ok();
    EXPECT_EQ(Stored(kLocationAnatomy), "/data/anat");
    EXPECT_EQ(Stored(kLocationCut), "cuts");
    EXPECT_EQ(Stored(kLocation3D), "3DMeshes");
    for (int t = 0; t < kLocationCount; ++t) {
        const int expected = t == kLocationGray ? 1 : 0;
        EXPECT_EQ(profile.GetInt(kSettingsSection, LocationInfoOf(t).autoValue, -1), expected) << t;
        EXPECT_EQ(locations.autoUpdate(t), expected) << t;
    }
}

TEST_F(FileLocationsDialogTest, CancelChangesNothing) {
    const int writes = profile.writes();
    {
        FileLocationsModel model(locations, ui);
        model.SetPath(kLocationAnatomy, "/x");
        model.SetAutoUpdate(kLocationAnatomy, true);
    }
    EXPECT_EQ(profile.writes(), writes);
    EXPECT_EQ(locations.GetLocation(kLocationAnatomy, false), "");
    EXPECT_EQ(locations.autoUpdate(kLocationAnatomy), 0);
}

TEST_F(FileLocationsDialogTest, BrowseStartsAtTheRowsTextMadeAbsolute) {
    locations.SetLocation("/srv/projects", kLocationProject, true);
    locations.SetProjectFolder("/p/x");
    ui.ChooseFolderAs("/chosen/roi").CancelFolder().ChooseFolderAs("/chosen/project");
    FileLocationsModel model(locations, ui);
    model.SetPath(kLocationRoi, "roi/");  // typed, not stored yet
    EXPECT_TRUE(model.Browse(kLocationRoi));
    EXPECT_EQ(model.path(kLocationRoi), "/chosen/roi");
    EXPECT_FALSE(model.Browse(kLocation3D));
    EXPECT_EQ(model.path(kLocation3D), "3DMeshes");
    model.SetPath(kLocationProject, "mine");
    EXPECT_TRUE(model.Browse(kLocationProject));

    ASSERT_EQ(ui.prompts().size(), 3u);
    EXPECT_EQ(ui.prompts()[0].caption, "Select default location for ROI files");
    EXPECT_EQ(ui.prompts()[0].text, "/p/x/roi");
    EXPECT_EQ(ui.prompts()[1].caption, "Select default location for 3D mesh files");
    EXPECT_EQ(ui.prompts()[1].text, "/p/x/3DMeshes");
    EXPECT_EQ(ui.prompts()[2].caption, "Select default location for project files");
    EXPECT_EQ(ui.prompts()[2].text, WithTrailingSlash(NormalisePath(CurrentDirectory())) + "mine");
    EXPECT_EQ(locations.GetLocation(kLocationRoi, false), "");  // only OK stores
}

TEST_F(FileLocationsDialogTest, EditsHoldAtMost254Characters) {
    FileLocationsModel model(locations, ui);
    model.SetPath(kLocationGray, "/" + std::string(300, 'g'));
    EXPECT_EQ(model.path(kLocationGray).size(), 254u);
    // A chosen folder is never cut short into another folder's name.
    ui.ChooseFolderAs("/" + std::string(260, 'f'));
    EXPECT_FALSE(model.Browse(kLocationGray));
    EXPECT_EQ(model.path(kLocationGray).size(), 254u);
}

TEST(GrayLayersDialog, LayersStayWithinTheirRangeAndOkStoresLayersAndSwitches) {
    MemoryProfile profile;
    AppSettings settings{profile};
    CSulcanDoc doc;
    GrayLayersModel model(settings, doc);
    EXPECT_EQ(model.layers(), 3);
    EXPECT_TRUE(model.whiteContention() && model.grayContention());
    model.SetLayers(0);
    EXPECT_EQ(model.layers(), 1);
    model.Step(-1);  // the spin stops at the limit
    EXPECT_EQ(model.layers(), 1);
    model.SetLayers(250);
    EXPECT_EQ(model.layers(), 100);
    model.SetLayers(7);
    model.SetGrayContention(false);
    model.Accept(settings, doc);
    EXPECT_EQ(profile.GetInt(kSettingsSection, kNGrayLayers, -1), 7);
    EXPECT_TRUE(doc.whiteContention);
    EXPECT_FALSE(doc.grayContention);
}

}  // namespace
}  // namespace sulcan
