#include <gtest/gtest.h>

#include <filesystem>

#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "project/OverlaySheetModel.h"
#include "project/overlay_file.h"
#include "tests/support/temp_dir.h"

namespace sulcan {
namespace {

using testing::ScriptedUi;
using testing::TempDir;
using Lines = std::vector<std::string>;

class OverlaySheetTest : public ::testing::Test {
  protected:
    OverlaySheetTest() : locations(profile) {
        settings.SetProjectPath(dir / "p.qxp");
        std::filesystem::create_directory(dir / "sub");
        for (const char* name : {"a.txt", "b.txt", "sub/new.txt"})
            testing::WriteWholeFile(dir / name, "1\n1 1 1\n1 1 1 1\n");
    }
    void AddEntry(OverlayList list, const std::string& name, bool enabled = true) {
        settings.AddListEntry(list, name.empty() ? name : dir / name);
        settings.SetListEnabled(list, settings.ListCount(list) - 1, enabled ? 1 : 0);
    }

    TempDir dir;
    ProjectSettings settings;
    MemoryProfile profile;
    FileLocations locations;
    ScriptedUi ui;
};

TEST_F(OverlaySheetTest, PagesShowEachEntryWithItsStatusAndDropEmptyNames) {
    AddEntry(OverlayList::Roi, "a.txt");
    AddEntry(OverlayList::Roi, "");
    AddEntry(OverlayList::Roi, "b.txt", false);
    AddEntry(OverlayList::Roi, "missing.txt");
    AddEntry(OverlayList::Cut, "", false);
    OverlaySheetModel sheet(settings, locations, ui);

    EXPECT_STREQ(sheet.title(), "Overlay file lists");
    const char* titles[] = {"ROIs", "Functionals", "Cuts"};
    const OverlayList lists[] = {OverlayList::Roi, OverlayList::Functional, OverlayList::Cut};
    for (int p = 0; p < OverlaySheetModel::kPageCount; ++p) {
        EXPECT_STREQ(sheet.page(p).title(), titles[p]);
        EXPECT_EQ(sheet.page(p).list(), lists[p]);
    }
    EXPECT_EQ(sheet.page(0).lines(), (Lines{"Yes\ta.txt", "No\tb.txt", "Not found\tmissing.txt"}));
    EXPECT_EQ(settings.ListCount(OverlayList::Roi), 3);
    EXPECT_TRUE(sheet.page(0).buttonsEnabled());
    for (int p : {1, 2}) {
        EXPECT_EQ(sheet.page(p).lines(), (Lines{"\t(No files selected)"}));
        EXPECT_FALSE(sheet.page(p).buttonsEnabled());
    }
    EXPECT_EQ(settings.ListCount(OverlayList::Cut), 0);
    EXPECT_FALSE(sheet.changed());
}

TEST_F(OverlaySheetTest, AddFileStartsInTheTypesLocationAndRecordsTheFolder) {
    locations.SetLocation(dir / "start", kLocationFunctional, true);
    locations.SetAutoUpdate(kLocationFunctional, 1);
    OverlaySheetModel sheet(settings, locations, ui);
    FileListPageModel& page = sheet.page(1);

    ui.ChooseFileAs(dir / "sub/new.txt");
    page.AddFile();
    const FileRequest& request = ui.prompts().back().file;
    EXPECT_EQ(request.mode, FileRequest::Mode::Open);
    EXPECT_EQ(request.filter, "Overlay Files (*.*)|*.*|All Files (*.*)|*.*||");
    EXPECT_EQ(request.initialPath, dir / "start/");
    EXPECT_FALSE(request.fileMustExist);
    EXPECT_EQ(locations.GetLocation(kLocationFunctional, true), dir / "sub");
    EXPECT_EQ(page.lines(), (Lines{"Yes\tsub/new.txt"}));
    EXPECT_TRUE(page.buttonsEnabled());
    EXPECT_TRUE(sheet.changed());

    ui.ChooseFileAs("/nowhere/gone.txt").CancelFile();
    page.AddFile();
    page.AddFile();
    EXPECT_EQ(page.lines(), (Lines{"Yes\tsub/new.txt", "Not found\t/nowhere/gone.txt"}));
    EXPECT_EQ(settings.ListEnabled(OverlayList::Functional, 1), 1);
}

TEST_F(OverlaySheetTest, AddingAMissingFileOrBeyondTheLimitChangesNothingToLoad) {
    for (int i = 0; i < kMaxListEntries - 1; ++i) AddEntry(OverlayList::Cut, "a.txt");
    OverlaySheetModel sheet(settings, locations, ui);
    FileListPageModel& page = sheet.page(2);
    ui.ChooseFileAs(dir / "missing.txt").ChooseFileAs(dir / "b.txt");
    page.AddFile();
    page.AddFile();  // the 1000th: refused without a word
    EXPECT_EQ(settings.ListCount(OverlayList::Cut), kMaxListEntries);
    EXPECT_EQ(page.lines().size(), size_t(kMaxListEntries));
    EXPECT_EQ(page.lines().back(), "Not found\tmissing.txt");
    EXPECT_FALSE(sheet.changed());
}

struct EntryCase {
    const char* name;
    bool enabled;
    bool changes;  // removing it or toggling it changes what is loaded
};

TEST_F(OverlaySheetTest, RemoveAndToggleCountAsChangesOnlyForOpenableFiles) {
    const EntryCase cases[] = {
        {"a.txt", true, true}, {"a.txt", false, false}, {"missing.txt", true, false}};
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.enabled ? " enabled" : " disabled"));
        settings.RemoveListEntry(OverlayList::Roi, 0);
        AddEntry(OverlayList::Roi, c.name, c.enabled);
        {
            OverlaySheetModel sheet(settings, locations, ui);
            sheet.page(0).Select(0);
            sheet.page(0).RemoveSelected();
            EXPECT_EQ(sheet.page(0).lines(), (Lines{"\t(No files selected)"}));
            EXPECT_FALSE(sheet.page(0).buttonsEnabled());
            EXPECT_EQ(sheet.changed(), c.changes);
        }
        AddEntry(OverlayList::Roi, c.name, c.enabled);
        OverlaySheetModel sheet(settings, locations, ui);
        sheet.page(0).DoubleClick(0);
        EXPECT_EQ(settings.ListEnabled(OverlayList::Roi, 0), c.enabled ? 0 : 1);
        EXPECT_EQ(sheet.changed(), std::string(c.name) == "a.txt");
    }
}

TEST_F(OverlaySheetTest, ToggleRewritesTheLineInPlaceAndNeedsASelection) {
    AddEntry(OverlayList::Roi, "a.txt");
    AddEntry(OverlayList::Roi, "b.txt");
    OverlaySheetModel sheet(settings, locations, ui);
    FileListPageModel& page = sheet.page(0);
    page.ToggleSelected();
    page.RemoveSelected();
    EXPECT_FALSE(sheet.changed());

    page.Select(1);
    page.ToggleSelected();
    EXPECT_EQ(page.lines(), (Lines{"Yes\ta.txt", "No\tb.txt"}));
    page.ToggleSelected();
    EXPECT_EQ(page.lines(), (Lines{"Yes\ta.txt", "Yes\tb.txt"}));
    page.Select(0);
    page.RemoveSelected();
    EXPECT_EQ(page.lines(), (Lines{"Yes\tb.txt"}));
    EXPECT_EQ(page.selection(), -1);
    EXPECT_EQ(settings.ListEntry(OverlayList::Roi, 0, false), "b.txt");
}

}  // namespace
}  // namespace sulcan
