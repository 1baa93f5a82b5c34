#include <gtest/gtest.h>

#include <cstring>

#include "platform/byte_io.h"
#include "tests/project/project_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace sulcan {
namespace {

using testing::ReadWholeFile;
using testing::RichSettings;
using testing::RichWindows;
using testing::TempDir;
using testing::WriteWholeFile;

int32_t I32At(const std::string& b, size_t off) {
    return int32_t(GetLE32(reinterpret_cast<const uint8_t*>(b.data()) + off));
}
float F32At(const std::string& b, size_t off) { return BitsFloat(uint32_t(I32At(b, off))); }
int16_t I16At(const std::string& b, size_t off) {
    return int16_t(GetLE16(reinterpret_cast<const uint8_t*>(b.data()) + off));
}
void PutI32(std::string& b, size_t off, int32_t v) {
    PutLE32(reinterpret_cast<uint8_t*>(b.data()) + off, uint32_t(v));
}
void PutF32(std::string& b, size_t off, float v) { PutI32(b, off, int32_t(FloatBits(v))); }

class ProjectFileTest : public ::testing::Test {
protected:
    std::string SaveRich(int views = 3) {
        settings = RichSettings(dir / "proj.qxp");
        EXPECT_EQ(SaveProjectFile(settings, "", RichWindows(views)), 1);
        return ReadWholeFile(dir / "proj.qxp");
    }
    TempDir dir;
    ProjectSettings settings;
};

TEST_F(ProjectFileTest, FixedFieldsLieAtTheirOffsets) {
    const std::string b = SaveRich();
    ASSERT_GT(b.size(), 1666u);
    EXPECT_EQ(std::memcmp(b.data(), "sulcanproject\0", 14), 0);
    EXPECT_EQ(I32At(b, 14), 1);
    EXPECT_EQ(I32At(b, 18), 0);
    EXPECT_EQ(std::string(b.data() + 22), "proj");
    EXPECT_EQ(b.substr(22 + 4, 252), std::string(252, '\0'));
    EXPECT_EQ(I32At(b, 278), 2);  // outputFormat
    EXPECT_EQ(I32At(b, 282), 1);  // spareFlag
    EXPECT_EQ(I16At(b, 286), 320);
    EXPECT_EQ(I16At(b, 288), 240);
    EXPECT_EQ(I32At(b, 290), 256);
    EXPECT_EQ(I32At(b, 294), 200);
    EXPECT_EQ(I32At(b, 298), 124);
    EXPECT_EQ(I32At(b, 302), 7);  // spareCount
    EXPECT_EQ(I32At(b, 306), 1);  // activeView
    EXPECT_EQ(I32At(b, 310), 3);  // viewCount
    EXPECT_EQ(F32At(b, 314), 30.0f);
    EXPECT_EQ(F32At(b, 318), 48.5f);
    EXPECT_EQ(F32At(b, 322), 70.25f);
    EXPECT_EQ(F32At(b, 326), 5.0f);
    EXPECT_EQ(F32At(b, 330), 0.5f);
    EXPECT_EQ(I32At(b, 334), 6);
    EXPECT_EQ(I32At(b, 338), 2);  // functional count
    EXPECT_EQ(I32At(b, 342), 1);  // ROI count
    EXPECT_EQ(I32At(b, 346), 1);  // cut count
    EXPECT_EQ(I32At(b, 350), 1);  // migrationMode
    EXPECT_EQ(I32At(b, 354), 4);  // growVoxels
    EXPECT_EQ(I32At(b, 358), 1);  // topologyValid
    EXPECT_EQ(I32At(b, 362), 2);
    EXPECT_EQ(I32At(b, 366), 3);
    EXPECT_EQ(I32At(b, 370), -16);
    EXPECT_EQ(I32At(b, 374), 7);
    EXPECT_EQ(I32At(b, 382), 3);  // handle list count
    EXPECT_EQ(I32At(b, 386), 2);  // currentHandle
    EXPECT_EQ(F32At(b, 390), 1.0f);
    EXPECT_EQ(F32At(b, 394), 1.5f);
    EXPECT_EQ(F32At(b, 398), 2.0f);
    EXPECT_EQ(I32At(b, 402), 3);  // grayLayers
    EXPECT_EQ(I32At(b, 406), 0);  // isosurfacer
    for (int k = 0; k < 4; ++k) EXPECT_EQ(I32At(b, 410 + 4 * k), 1);
    // smoothing1: convergence, iterations 20, relaxation 0.1, 45, 15, 0, 1, skip 1
    EXPECT_EQ(F32At(b, 426), 0.0f);
    EXPECT_EQ(I32At(b, 430), 20);
    EXPECT_EQ(F32At(b, 434), 0.1f);
    EXPECT_EQ(F32At(b, 438), 45.0f);
    EXPECT_EQ(I32At(b, 454), 1);
    // decimation: 30, 0, 60, ..., degree 40 at word 11, target 9000 at word 13
    EXPECT_EQ(F32At(b, 458), 30.0f);
    EXPECT_EQ(F32At(b, 458 + 4 * 6), 0.005f);
    EXPECT_EQ(I32At(b, 458 + 4 * 11), 40);
    EXPECT_EQ(I32At(b, 458 + 4 * 13), 9000);
    EXPECT_EQ(F32At(b, 518 + 8), 0.3f);  // smoothing2 relaxation
    EXPECT_EQ(I32At(b, 550), 0);          // curvatureBrightness
    EXPECT_EQ(F32At(b, 554), 0.25f);
    EXPECT_EQ(I32At(b, 558), 0);  // saveOutput
    EXPECT_EQ(I32At(b, 562), 1);  // startViewer
    // viewerState: rotation y at block offset 308, zoom 324, light 3 on at 1064 + 12
    EXPECT_EQ(F32At(b, 566 + 308), 45.0f);
    EXPECT_EQ(F32At(b, 566 + 324), 2.0f);
    EXPECT_EQ(F32At(b, 566 + 328 + 8), 1.0f);  // spin axis z default
    EXPECT_EQ(I32At(b, 566 + 1064 + 12), 1);
    EXPECT_EQ(std::string(b.data() + 566 + 44), "/meshes/shown.QxM");
    EXPECT_EQ(I32At(b, 1662), 1);  // viewerOpen
}

TEST_F(ProjectFileTest, VariablePartFollowsInOrder) {
    const std::string b = SaveRich();
    size_t p = 1666;
    auto str = [&] {
        std::string s(b.data() + p);
        p += s.size() + 1;
        return s;
    };
    EXPECT_EQ(str(), dir / "proj.qxp");
    EXPECT_EQ(str(), "data/vAnatomy.dat");
    EXPECT_EQ(str(), "seg.Class");
    EXPECT_EQ(str(), "/elsewhere/left.gray");
    EXPECT_EQ(str(), "mesh/left.QxM");
    EXPECT_EQ(str(), "slice.tif");
    EXPECT_EQ(str(), "movie/frame");
    EXPECT_EQ(str(), "/scripts/spin.script");
    for (int v = 0; v < 3; ++v)
        for (int k = 0; k < 48; ++k, p += 4) ASSERT_EQ(I32At(b, p), 1000 * (v + 1) + k);
    EXPECT_EQ(str(), "f1.txt");
    EXPECT_EQ(str(), "/abs/f2.txt");
    EXPECT_EQ(I32At(b, p), 1);
    EXPECT_EQ(I32At(b, p + 4), 0);
    p += 8;
    EXPECT_EQ(str(), "roi/r1.txt");
    EXPECT_EQ(I32At(b, p), 1);
    p += 4;
    EXPECT_EQ(str(), "c1.txt");
    p += 4;
    EXPECT_EQ(str(), "/meshes/shown.QxM");
    EXPECT_EQ(uint32_t(I32At(b, p)), PackedVoxel::Pack(1, 2, 3));
    EXPECT_EQ(uint32_t(I32At(b, p + 8)), 0x3FFFFFFFu);
    EXPECT_EQ(b.size(), p + 12);
}

TEST_F(ProjectFileTest, RoundTripKeepsEveryMemberButTheTopologyCounts) {
    SaveRich();
    EXPECT_FALSE(settings.modified());
    ProjectSettings loaded;
    ASSERT_EQ(LoadProjectFile(loaded, dir / "proj.qxp"), 1);
    EXPECT_FALSE(loaded.modified());
    EXPECT_EQ(loaded.projectPath(), dir / "proj.qxp");
    EXPECT_EQ(loaded.projectName(), "proj");
    for (int f = 0; f < kProjectFileCount; ++f)
        EXPECT_EQ(loaded.FileName(ProjectFile(f), true), settings.FileName(ProjectFile(f), true))
            << f;
    EXPECT_EQ(loaded.FileName(ProjectFile::ViewerMesh, false), "/meshes/shown.QxM");
    EXPECT_EQ(loaded.SetOutputFormat(-1), 2);
    EXPECT_EQ(loaded.SetSpareFlag(-1), 1);
    EXPECT_EQ(loaded.SetSpareCount(-1), 7);
    EXPECT_EQ(loaded.movieFrameWidth(), 320);
    EXPECT_EQ(loaded.zsize(), 124);
    EXPECT_EQ(loaded.classification().whiteMean, 70.25f);
    EXPECT_EQ(loaded.classification().smoothness, 6);
    for (int l = 0; l < kOverlayListCount; ++l) {
        ASSERT_EQ(loaded.ListCount(OverlayList(l)), settings.ListCount(OverlayList(l)));
        for (int k = 0; k < loaded.ListCount(OverlayList(l)); ++k) {
            EXPECT_EQ(loaded.ListEntry(OverlayList(l), k, true),
                      settings.ListEntry(OverlayList(l), k, true));
            EXPECT_EQ(loaded.ListEnabled(OverlayList(l), k),
                      settings.ListEnabled(OverlayList(l), k));
        }
    }
    EXPECT_EQ(loaded.SetMigrationMode(-1), 1);
    EXPECT_EQ(loaded.SetGrowVoxels(-1), 4);
    EXPECT_EQ(loaded.topology(), TopologySummary{});
    EXPECT_EQ(loaded.handles(), settings.handles());
    EXPECT_EQ(loaded.currentHandle(), 2);
    EXPECT_EQ(loaded.voxelSize()[1], 1.5f);
    EXPECT_EQ(loaded.SetGrayLayers(-1), 3);
    EXPECT_EQ(loaded.SetIsosurfacer(-1), 0);
    using F = ProjectSettings::Flag;
    for (F f : {F::CurvatureBrightness, F::OverlayRois, F::ClipFunctionalToRois,
                F::OverlayFunctional, F::OverlayCuts, F::SaveOutput, F::StartViewer,
                F::ViewerOpen})
        EXPECT_EQ(loaded.flag(f), settings.flag(f)) << int(f);
    EXPECT_EQ(loaded.smoothing1(), settings.smoothing1());
    EXPECT_EQ(loaded.smoothing2(), settings.smoothing2());
    EXPECT_EQ(loaded.decimation(), settings.decimation());
    EXPECT_EQ(loaded.SetModulationDepth(-1), 0.25f);
    EXPECT_EQ(loaded.viewerState(), RichWindows(3).viewerState);
}

TEST_F(ProjectFileTest, TheActiveViewIsRestoredLast) {
    SaveRich(3);  // active view 1
    ProjectSettings loaded;
    ASSERT_EQ(LoadProjectFile(loaded, dir / "proj.qxp"), 1);
    EXPECT_EQ(loaded.activeView(), 2);
    std::vector<int> order;
    SliceViewRecord r;
    while (loaded.TakeFirstViewRecord(r)) order.push_back(r.words[0] / 1000 - 1);
    EXPECT_EQ(order, (std::vector<int>{0, 2, 1}));
}

TEST_F(ProjectFileTest, AMovedProjectFolderStillFindsItsFiles) {
    SaveRich();
    TempDir other;
    std::rename((dir / "proj.qxp").c_str(), (other / "moved.qxp").c_str());
    ProjectSettings loaded;
    ASSERT_EQ(LoadProjectFile(loaded, other / "moved.qxp"), 1);
    EXPECT_EQ(loaded.projectName(), "moved");
    EXPECT_EQ(loaded.FileName(ProjectFile::Anatomy, true), other / "data/vAnatomy.dat");
    EXPECT_EQ(loaded.FileName(ProjectFile::GrayGraph, true), "/elsewhere/left.gray");
}

TEST_F(ProjectFileTest, BackslashesOfRelativeNamesBecomeSlashes) {
    std::string b = SaveRich(0);
    size_t at = b.find("data/vAnatomy.dat");
    b[at + 4] = '\\';
    WriteWholeFile(dir / "win.qxp", b);
    ProjectSettings loaded;
    ASSERT_EQ(LoadProjectFile(loaded, dir / "win.qxp"), 1);
    EXPECT_EQ(loaded.FileName(ProjectFile::Anatomy, false), "data/vAnatomy.dat");
}

TEST_F(ProjectFileTest, SavingWithTheViewerClosed) {
    ProjectSettings s = RichSettings(dir / "p.qxp");
    ASSERT_EQ(SaveProjectFile(s, ""), 1);
    const std::string b = ReadWholeFile(dir / "p.qxp");
    EXPECT_EQ(I32At(b, 1662), 0);
    EXPECT_EQ(I32At(b, 310), 0);
    EXPECT_EQ(b.substr(b.size() - 13, 1), std::string(1, '\0'));  // empty viewerMeshFile
    // open without a mesh file of its own: the output file, absolute
    ProjectWindows w;
    w.viewerOpen = true;
    ASSERT_EQ(SaveProjectFile(s, "", w), 1);
    EXPECT_EQ(s.FileName(ProjectFile::ViewerMesh, true), dir / "mesh/left.QxM");
}

// Each row: an offset, a value that the load must refuse there, and whether it is a float.
struct BadField {
    const char* what;
    size_t offset;
    double value;
    bool real;
};

TEST_F(ProjectFileTest, EveryLoadCheckRefusesTheFile) {
    const std::string good = SaveRich(3);
    const BadField cases[] = {
        {"version", 14, 2, false},
        {"second version", 18, 1, false},
        {"outputFormat", 278, 3, false},
        {"spareFlag", 282, 2, false},
        {"xsize", 290, 0, false},
        {"zsize", 298, 1024, false},
        {"spareCount", 302, 0, false},
        {"activeView", 306, 3, false},
        {"activeView negative", 306, -1, false},
        {"viewCount", 310, 1000, false},
        {"csfMean", 314, 256, true},
        {"whiteMean", 322, -1, true},
        {"noiseStdev", 326, 0.5, true},
        {"confidence", 330, 1.5, true},
        {"smoothness", 334, 11, false},
        {"functional count", 338, 1000, false},
        {"cut count", 346, -1, false},
        {"migrationMode", 350, 4, false},
        {"growVoxels", 354, 1000, false},
        {"cavityCount", 362, -1, false},
        {"volumeCount", 366, -1, false},
        {"handleCount", 374, -1, false},
        {"handle list count", 382, -1, false},
        {"currentHandle", 386, 3, false},
        {"voxelSize", 390, 0, true},
        {"grayLayers", 402, 1000, false},
        {"isosurfacer", 406, 2, false},
        {"smoothing1 convergence", 426, 1.5, true},
        {"decimation degree", 458 + 44, 513, false},
        {"smoothing2 edge angle", 518 + 16, 200, true},
        {"modulationDepth", 554, 1.01, true},
        {"rotation", 566 + 304, 361, true},
        {"pan", 566 + 320, -51, true},
        {"zoom", 566 + 324, 0.001, true},
        {"spin axis", 566 + 332, 100, true},
        {"spin rate", 566 + 340, 241, true},
        {"gloss", 566 + 372, 1.5, true},
        {"global ambient", 566 + 388, -0.1, true},
        {"light specular", 566 + 775 - 3, 2, true},
        {"light 7 cut-off", 566 + 776 + 4 * (4 + 6 * 7), 181, true},
        {"light 0 exponent", 566 + 776 + 4 * 5, 129, true},
    };
    for (const BadField& c : cases) {
        std::string b = good;
        if (c.real)
            PutF32(b, c.offset, float(c.value));
        else
            PutI32(b, c.offset, int32_t(c.value));
        WriteWholeFile(dir / "bad.qxp", b);
        ProjectSettings target = RichSettings("/untouched/x.qxp");
        EXPECT_EQ(LoadProjectFile(target, dir / "bad.qxp"), 0) << c.what;
        EXPECT_EQ(target.projectPath(), "/untouched/x.qxp") << c.what;
    }
    std::string nan = good;
    PutI32(nan, 314, 0x7FC00000);
    WriteWholeFile(dir / "bad.qxp", nan);
    EXPECT_EQ(LoadProjectFile(settings, dir / "bad.qxp"), 0) << "NaN mean";
    std::string magic = good;
    magic[0] = 'S';
    WriteWholeFile(dir / "bad.qxp", magic);
    EXPECT_EQ(LoadProjectFile(settings, dir / "bad.qxp"), 0);
    EXPECT_EQ(LoadProjectFile(settings, ""), 0);
    EXPECT_EQ(LoadProjectFile(settings, dir / "none.qxp"), 0);
}

TEST_F(ProjectFileTest, AFailedSaveLeavesNoPartialFile) {
    ProjectSettings s = RichSettings(dir / "p.qxp");
    EXPECT_EQ(SaveProjectFile(s, dir / "no/such/folder/p.qxp"), 0);
    ProjectSettings unnamed;
    EXPECT_EQ(SaveProjectFile(unnamed, ""), 0);

    ProjectSettings t = RichSettings(dir / "limited.qxp");
    int result;
    {
        testing::FileSizeLimit cap(600);  // the writes past 600 bytes fail
        result = SaveProjectFile(t, "");
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(t.modified());
    EXPECT_EQ(std::fopen((dir / "limited.qxp").c_str(), "rb"), nullptr);
}

}  // namespace
}  // namespace sulcan
