#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/byte_io.h"
#include "project/project_file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/topology_count.h"
#include "slices/tiff_writer.h"
#include "volume/anatomy_file.h"
#include "volume/text_line.h"

namespace sulcan {
namespace {

using testing::TempDir;

struct ToolRun {
    int code;
    std::string out, err;
};

ToolRun Tool(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = tool::RunTool(args, {out, err});
    return {code, out.str(), err.str()};
}

// Labels of a classification file written by the tool: 17 header lines, then the bytes.
std::vector<uint8_t> ReadLabels(const std::string& path, VolumeDims& dims) {
    File f(path, "rb");
    std::vector<std::string> lines;
    for (int i = 0; i < 17; ++i) lines.push_back(ReadTextLine(f.get(), 200).value_or(""));
    std::sscanf(lines[8].c_str(), "xsize=%d", &dims.x);
    std::sscanf(lines[9].c_str(), "ysize=%d", &dims.y);
    std::sscanf(lines[10].c_str(), "zsize=%d", &dims.z);
    std::vector<uint8_t> labels(dims.voxels());
    EXPECT_EQ(std::fread(labels.data(), 1, labels.size(), f.get()), labels.size());
    return labels;
}

TEST(SulcanTool, PhantomWritesTheRequestedTopology) {
    TempDir dir;
    ToolRun r = Tool({"phantom", "--size", "128", "--handles", "2", "--cavity", "--satellite",
                  dir / "x.dat", "--labels", dir / "x.class"});
    ASSERT_EQ(r.code, 0) << r.err;
    AnatomyVolume anatomy;
    ASSERT_EQ(ReadAnatomyFile(dir / "x.dat", anatomy), AnatomyReadStatus::Ok);
    EXPECT_EQ(anatomy.dims, (VolumeDims{128, 128, 128}));
    VolumeDims dims;
    std::vector<uint8_t> labels = ReadLabels(dir / "x.class", dims);
    ASSERT_EQ(dims, anatomy.dims);
    auto t = testing::CountTopology(labels, dims, [](uint8_t v) { return v == White; });
    EXPECT_EQ(t.components, 2);  // body and satellite
    EXPECT_EQ(t.cavities, 1);
    EXPECT_EQ(t.handles(), 2);
}

TEST(SulcanTool, InfoPrintsAnatomyAndProjectSettings) {
    TempDir dir;
    ASSERT_EQ(Tool({"phantom", "--size", "32", dir / "a.dat"}).code, 0);
    ToolRun a = Tool({"info", dir / "a.dat"});
    ASSERT_EQ(a.code, 0) << a.err;
    EXPECT_NE(a.out.find("cols: 32\nrows: 32\nplanes: 32\n"), std::string::npos) << a.out;

    ProjectSettings s;
    s.SetProjectPath(dir / "p.qxp");
    s.SetFileName(ProjectFile::Anatomy, dir / "a.dat");
    s.SetGrayLayers(4);
    ASSERT_EQ(SaveProjectFile(s, dir / "p.qxp"), 1);
    ToolRun p = Tool({"info", "--json", dir / "p.qxp"});
    ASSERT_EQ(p.code, 0) << p.err;
    EXPECT_NE(p.out.find("\"anatomyFile\": \"a.dat\""), std::string::npos) << p.out;
    EXPECT_NE(p.out.find("\"grayLayers\": 4"), std::string::npos);
    EXPECT_EQ(p.out.front(), '{');

    ToolRun c = Tool({"info", dir / "a.class"});
    EXPECT_EQ(c.code, 1);  // not written yet
    ASSERT_EQ(Tool({"phantom", "--size", "32", dir / "b.dat", "--labels", dir / "a.class"}).code, 0);
    c = Tool({"info", dir / "a.class"});
    ASSERT_EQ(c.code, 0) << c.err;
    EXPECT_NE(c.out.find("type: classification\n"), std::string::npos) << c.out;
    EXPECT_NE(c.out.find("confidence: 0.7\n"), std::string::npos) << c.out;

    testing::WriteWholeFile(dir / "roi.txt", "% ROI\n1\n255 0 0\n10 20 30 1\n4 2 7 1\n");
    ToolRun o = Tool({"info", dir / "roi.txt"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_NE(o.out.find("type: overlay\npath: "), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("pointLines: 2\nxRange: 4..10\n"), std::string::npos) << o.out;

    testing::WriteWholeFile(dir / "bad.qxp", std::string("sulcanproject\0garbage", 21));
    ToolRun bad = Tool({"info", dir / "bad.qxp"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("Invalid project file"), std::string::npos);
}

TEST(SulcanTool, ImportSlicesMakesAnAnatomy) {
    TempDir dir;
    // One IMGF slice of 2 x 1 samples: header, then the samples at offset 16.
    std::string slice("IMGF\0\0\0\x10\0\0\0\x02\0\0\0\x01\x01\x23\x00\x45", 20);
    std::filesystem::create_directory(dir / "scans");
    testing::WriteWholeFile(dir / "scans/I.001", slice);
    ToolRun ok = Tool({"import-slices", dir / "scans", dir / "o.dat"});
    ASSERT_EQ(ok.code, 0) << ok.err;
    AnatomyVolume v;
    ASSERT_EQ(ReadAnatomyFile(dir / "o.dat", v), AnatomyReadStatus::Ok);
    EXPECT_EQ(v.data, (std::vector<uint8_t>{0x23, 0x45}));
    std::filesystem::create_directory(dir / "empty");
    ToolRun none = Tool({"import-slices", dir / "empty", dir / "p.dat"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("No files found matching"), std::string::npos) << none.err;
    EXPECT_EQ(Tool({"import-slices", dir / "scans"}).code, 2);
}

TEST(SulcanTool, SelectWhiteAndRelabel) {
    TempDir dir;
    ASSERT_EQ(Tool({"phantom", "--size", "32", "--satellite", dir / "a.dat", "--labels",
                    dir / "a.class"}).code, 0);
    ToolRun sel = Tool({"select-white", dir / "a.dat", dir / "a.class", "16", "16", "16",
                        dir / "s.class"});
    ASSERT_EQ(sel.code, 0) << sel.err;
    EXPECT_NE(sel.out.find("selected"), std::string::npos) << sel.out;
    ToolRun rel = Tool({"relabel", dir / "a.dat", dir / "a.class", "delete-all-csf", dir / "r.class"});
    ASSERT_EQ(rel.code, 0) << rel.err;
    ToolRun info = Tool({"info", dir / "r.class"});
    EXPECT_NE(info.out.find("csfVoxels: 0\n"), std::string::npos) << info.out;
    EXPECT_EQ(Tool({"relabel", dir / "a.dat", dir / "a.class", "paint-it-blue", dir / "x.class"}).code, 2);
}

TEST(SulcanTool, SliceTiffWritesTheSlicePicture) {
    TempDir dir;
    ASSERT_EQ(Tool({"phantom", "--size", "32", dir / "a.dat", "--labels", dir / "a.class"}).code, 0);
    ToolRun r = Tool({"slice-tiff", dir / "a.dat", "--class", dir / "a.class", "--overlays",
                      "white,csf", "--orientation", "2", dir / "s.tif"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string tiff = testing::ReadWholeFile(dir / "s.tif");
    EXPECT_EQ(tiff.size(), TiffFileSize(*MakeRgbImage(32, 32)));
    EXPECT_EQ(Tool({"slice-tiff", dir / "a.dat", "--slice", "40", dir / "t.tif"}).code, 1);
    // A classification of another size asks first; --answer gives the reply.
    ASSERT_EQ(Tool({"phantom", "--size", "40", dir / "b.dat", "--labels", dir / "b.class"}).code, 0);
    ToolRun asked = Tool({"slice-tiff", dir / "a.dat", "--class", dir / "b.class", dir / "u.tif"});
    EXPECT_EQ(asked.code, 2);
    EXPECT_NE(asked.err.find("--answer OK|Cancel"), std::string::npos) << asked.err;
    EXPECT_EQ(Tool({"slice-tiff", dir / "a.dat", "--class", dir / "b.class", "--answer", "ok",
                    dir / "u.tif"}).code, 0);
    EXPECT_EQ(Tool({"slice-tiff", dir / "a.dat", "--overlays", "blue", dir / "t.tif"}).code, 2);
}

TEST(SulcanTool, GrowGrayWritesTheSelectedSheetAndInfoReadsIt) {
    TempDir dir;
    ASSERT_EQ(Tool({"phantom", "--size", "32", dir / "a.dat", "--labels", dir / "a.class"}).code, 0);
    // the first unknown voxel beyond the white matter on the +x ray from the centre
    VolumeDims dims;
    const std::vector<uint8_t> labels = ReadLabels(dir / "a.class", dims);
    int32_t x = 16;
    while (x + 1 < dims.x && !(labels[dims.index(x, 16, 16)] == White &&
                               labels[dims.index(x + 1, 16, 16)] == Unknown))
        ++x;
    ASSERT_LT(x + 1, dims.x);
    const std::string select = std::to_string(x + 1) + ",16,16";
    ToolRun grow = Tool({"grow-gray", dir / "a.dat", dir / "a.class", "--layers", "2", "--select",
                         select, "--json", dir / "s.gray"});
    ASSERT_EQ(grow.code, 0) << grow.err;
    EXPECT_NE(grow.out.find("\"layers\": 2,"), std::string::npos) << grow.out;
    EXPECT_NE(grow.out.find("\"layer[2].nodes\": "), std::string::npos) << grow.out;
    const std::string key = "\"selected[0].nodes\": ";
    const size_t at = grow.out.find(key);
    ASSERT_NE(at, std::string::npos) << grow.out;
    const long long selected = std::stoll(grow.out.substr(at + key.size()));
    EXPECT_GT(selected, 0);

    ToolRun info = Tool({"info", dir / "s.gray"});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_NE(info.out.find("type: gray\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("xsize: 32\nysize: 32\nzsize: 32\nnodes: " + std::to_string(selected) +
                            "\n"),
              std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("layerRange: 1..2\n"), std::string::npos) << info.out;

    // nothing selected: the save says so and leaves no file
    ToolRun none = Tool({"grow-gray", dir / "a.dat", dir / "a.class", dir / "n.gray"});
    EXPECT_EQ(none.code, 1);
    EXPECT_NE(none.err.find("No gray matter nodes selected!"), std::string::npos) << none.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "n.gray"));
    testing::WriteWholeFile(dir / "bad.gray", "short");
    ToolRun bad = Tool({"info", dir / "bad.gray"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("Unable to read gray matter from file"), std::string::npos) << bad.err;
}

TEST(SulcanTool, ClassifyAndThresholdWriteClassifications) {
    TempDir dir;
    ASSERT_EQ(Tool({"phantom", "--size", "32", dir / "a.dat", "--labels", dir / "a.class"}).code,
              0);
    ToolRun c = Tool({"classify", dir / "a.dat", dir / "c.class", "--confidence", "0.5",
                      "--smoothness", "2", "--threads", "2", "--slow"});
    ASSERT_EQ(c.code, 0) << c.err;
    EXPECT_NE(c.out.find("classified 1 block(s) on 1 thread(s)"), std::string::npos) << c.out;
    EXPECT_NE(c.err.find("Applying classification"), std::string::npos) << c.err;
    ToolRun info = Tool({"info", dir / "c.class"});
    EXPECT_NE(info.out.find("confidence: 0.5\nsmoothness: 2\n"), std::string::npos) << info.out;
    EXPECT_EQ(info.out.find("whiteVoxels: 0\n"), std::string::npos) << info.out;

    // a one-voxel VOI of the labelled phantom: everything outside keeps its labels
    ToolRun v = Tool({"classify", dir / "a.dat", dir / "v.class", "--class", dir / "a.class",
                      "--voi", "0,0,0,0,0,0"});
    ASSERT_EQ(v.code, 0) << v.err;
    VolumeDims dims;
    std::vector<uint8_t> before = ReadLabels(dir / "a.class", dims);
    std::vector<uint8_t> after = ReadLabels(dir / "v.class", dims);
    after[0] = before[0];
    EXPECT_EQ(after, before);

    ToolRun t = Tool({"threshold", dir / "a.dat", dir / "c.class", dir / "t.class", "--level",
                      "255", "--blur", "2"});
    ASSERT_EQ(t.code, 0) << t.err;
    EXPECT_NE(Tool({"info", dir / "t.class"}).out.find("whiteVoxels: 0\ncsfVoxels: 0\n"),
              std::string::npos);
}

TEST(SulcanTool, UsageErrorsAndHelp) {
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {{}, 2, "usage: sulcan-tool COMMAND"},
        {{"--help"}, 0, "commands:"},
        {{"phantom", "--help"}, 0, "--handles K"},
        {{"info", "--help"}, 0, "--json"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"phantom"}, 2, "exactly one output file"},
        {{"phantom", "x.dat", "--size", "16"}, 2, "--size must be"},
        {{"phantom", "x.dat", "--handles", "two"}, 2, "--handles must be"},
        {{"phantom", "x.dat", "--bogus"}, 2, "unknown option --bogus"},
        {{"phantom", "x.dat", "--size"}, 2, "needs a value"},
        {{"info", "/no/such/file"}, 1, "cannot be opened"},
        {{"grow-gray", "--help"}, 0, "--no-white-contention"},
        {{"grow-gray", "a.dat", "a.class"}, 2, "give ANAT CLASS OUT.gray"},
        {{"grow-gray", "a.dat", "a.class", "o.gray", "--layers", "0"}, 2, "--layers must be"},
        {{"grow-gray", "a.dat", "a.class", "o.gray", "--select", "1,2"}, 2, "bad --select"},
        {{"grow-gray", "a.dat", "a.class", "o.gray", "--voi", "1,2,3"}, 2, "bad --voi"},
        {{"classify", "--help"}, 0, "--smoothness N"},
        {{"classify", "a.dat"}, 2, "give ANAT OUT.class"},
        {{"classify", "a.dat", "o.class", "--confidence", "70"}, 2, "--confidence must be"},
        {{"classify", "a.dat", "o.class", "--smoothness", "11"}, 2, "--smoothness must be"},
        {{"threshold", "--help"}, 0, "--blur R"},
        {{"threshold", "a.dat", "a.class", "o.class"}, 2, "--level is required"},
        {{"threshold", "a.dat", "a.class", "o.class", "--level", "256"}, 2, "--level must be"},
        {{"threshold", "a.dat", "a.class", "o.class", "--level", "9", "--blur", "21"}, 2,
         "--blur must be"},
    };
    for (const Case& c : cases) {
        ToolRun r = Tool(c.args);
        EXPECT_EQ(r.code, c.code) << (c.args.empty() ? "" : c.args[0]);
        EXPECT_NE((r.out + r.err).find(c.text), std::string::npos) << r.out << r.err;
    }
}

}  // namespace
}  // namespace sulcan
