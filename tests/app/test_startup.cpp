#include <gtest/gtest.h>

#include "app/CSulcanApp.h"
#include "app/RecentProjects.h"
#include "app/startup_options.h"
#include "app/window_placement.h"
#include "platform/MemoryProfile.h"

namespace sulcan {
namespace {

TEST(StartupOptions, RangesAndForms) {
    struct Case {
        std::vector<std::string> args;
        std::optional<int> layers, zx, zy, zz;
        bool registration;
    };
    const Case cases[] = {
        {{"-zoom", "5"}, {}, 5, 5, 5, false},
        {{"/zoom", "12"}, {}, {}, {}, {}, false},
        {{"-layers", "0"}, {}, {}, {}, {}, false},
        {{"-layers", "99", "-zoomy", "2"}, 99, {}, 2, {}, false},
        {{"-Zoom", "5"}, {}, {}, {}, {}, false},  // names are case-sensitive
        {{"-zoom", "5", "-zoomz", "7"}, {}, 5, 5, 7, false},
        {{"-zoom"}, {}, {}, {}, {}, false},
        {{"-zoom", "-layers", "4"}, 4, {}, {}, {}, false},
        {{"brain.qxp", "-zoomx", "3x"}, {}, {}, {}, {}, false},
        {{"/REGSERVER"}, {}, {}, {}, {}, true},
        {{"-UnregServer"}, {}, {}, {}, {}, true},
    };
    for (const Case& c : cases) {
        StartupOptions o = ParseStartupOptions(c.args);
        std::string name = c.args[0];
        EXPECT_EQ(o.layers, c.layers) << name;
        EXPECT_EQ(o.zoom[0], c.zx) << name;
        EXPECT_EQ(o.zoom[1], c.zy) << name;
        EXPECT_EQ(o.zoom[2], c.zz) << name;
        EXPECT_EQ(o.serverRegistration, c.registration) << name;
    }
    EXPECT_EQ(ParseStartupOptions({"-mri", "a.dat", "-class", "b.class"}).classification, "b.class");
}

TEST(WindowPlacement, Rules) {
    const Rect desktop{0, 0, 1920, 1080};
    struct Case {
        const char* name;
        Rect stored, placed;
    };
    const Case cases[] = {
        {"whole desktop", desktop, {448, 156, 1472, 924}},
        {"inside", {100, 100, 900, 700}, {100, 100, 900, 700}},
        {"clamped", {-50, -20, 2500, 700}, {0, 0, 1920, 700}},
        {"swapped", {900, 700, 100, 100}, {100, 100, 900, 700}},
        {"narrow", {300, 100, 350, 600}, {300, 100, 500, 600}},
        {"narrow at the right edge", {1900, 100, 1920, 600}, {1720, 100, 1920, 600}},
        {"low", {100, 1000, 900, 1050}, {100, 880, 900, 1080}},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaceMainWindow(c.stored, desktop), c.placed) << c.name;
}

TEST(RecentProjects, NewestFirstThreeAtMostWrittenAtOnce) {
    MemoryProfile profile;
    {
        RecentProjects r(profile);
        for (const char* p : {"/a.qxp", "/b.qxp", "/c.qxp", "/d.qxp", "/b.qxp"}) r.Add(p);
        EXPECT_EQ(r.Entry(0), "/b.qxp");
        EXPECT_EQ(r.Entry(1), "/d.qxp");
        EXPECT_EQ(r.Entry(2), "/c.qxp");
        EXPECT_EQ(r.Entry(3), "");
    }
    EXPECT_EQ(profile.GetString("Recent File List", "File2", ""), "/d.qxp");
    RecentProjects again(profile);
    again.Remove(0);
    EXPECT_EQ(again.Entry(0), "/d.qxp");
    EXPECT_EQ(profile.GetString("Recent File List", "File3", "?"), "");
}

}  // namespace
}  // namespace sulcan

namespace sulcan {
namespace {

TEST(CSulcanApp, CommandLineValuesPersistAndOutOfRangeOnesAreIgnored) {
    MemoryProfile profile;
    profile.SetInt("Settings", "NGrayLayers", 7);
    {
        CSulcanApp app({"-zoom", "5", "-layers", "0"}, profile);
        EXPECT_FALSE(app.endsAtOnce());
    }
    for (const char* z : {"Zoomx", "Zoomy", "Zoomz"}) EXPECT_EQ(profile.GetInt("Settings", z, 0), 5);
    EXPECT_EQ(profile.GetInt("Settings", "NGrayLayers", 0), 7);
    CSulcanApp again({"-zoom", "12", "-zoomy", "2", "-layers", "12"}, profile);
    EXPECT_EQ(again.settings().zoom(), (std::array<int, 3>{5, 2, 5}));
    EXPECT_EQ(profile.GetInt("Settings", "NGrayLayers", 0), 12);
    EXPECT_TRUE(CSulcanApp({"/RegServer"}, profile).endsAtOnce());
}

}  // namespace
}  // namespace sulcan
