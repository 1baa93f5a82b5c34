#include "slices/image_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/MemoryProfile.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/support/temp_dir.h"

namespace sulcan {

// In test_tiff.cpp: the file read back by libtiff, failing the test unless it is valid RGB.
RgbImage ReadTiffWithLibtiff(const std::string& path);

namespace {

using testing::Prompt;
using testing::ReadWholeFile;
using testing::ScriptedUi;
using testing::TempDir;

TEST(ExportEnabling, FollowsTheActiveChild) {
    struct Case {
        ExportSource active;
        bool mesh;
        bool enabled;
    };
    const Case cases[] = {
        {ExportSource::SliceView, false, true}, {ExportSource::ToolWindow, false, true},
        {ExportSource::Viewer3D, true, true},   {ExportSource::Viewer3D, false, false},
        {ExportSource::None, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SaveSliceAsTiffEnabled(c.active, c.mesh), c.enabled) << int(c.active);
}

// 3 x 2 pictures in each display format, rows padded to 4 bytes, with the same six colours.
struct CaptureCase {
    DisplayFormat format;
    size_t rowBytes;
    std::vector<uint8_t> pixels;
};
const std::vector<uint8_t> kSixColours = {
    255, 0, 0, 0,   255, 0,   0,   0, 255,  // red, green, blue
    0,   0, 0, 255, 255, 255, 132, 0, 132,  // black, white, a purple of five-bit steps
};

Palette TestPalette() {
    Palette palette{};
    for (int i = 0; i < 6; ++i)
        palette[i] = {kSixColours[3 * i], kSixColours[3 * i + 1], kSixColours[3 * i + 2]};
    return palette;
}

const CaptureCase kCaptureCases[] = {
    {DisplayFormat::Rgb565,
     8,
     {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0, 0x00, 0x00, 0xFF, 0xFF, 0x10, 0x80, 0, 0}},
    {DisplayFormat::Rgb555,
     8,
     {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0, 0x00, 0x00, 0xFF, 0x7F, 0x10, 0x40, 0, 0}},
    {DisplayFormat::Rgb24, 12, {0, 0, 255, 0,   255, 0,   255, 0, 0,   0, 0, 0,
                                0, 0, 0,   255, 255, 255, 132, 0, 132, 0, 0, 0}},
    {DisplayFormat::Rgb32, 12, {0, 0, 255, 0, 0,   255, 0,   0, 255, 0, 0,   0,
                                0, 0, 0,   0, 255, 255, 255, 0, 132, 0, 132, 0}},
    {DisplayFormat::Palette8, 4, {0, 1, 2, 0, 3, 4, 5, 0}},
};

PictureRef RefOf(const CaptureCase& c, const Palette* palette) {
    return {c.pixels.data(), 3, 2, c.rowBytes, c.format, palette};
}

TEST(SliceCapture, ConvertsEveryDisplayFormatToPackedRgb) {
    const Palette palette = TestPalette();
    for (const CaptureCase& c : kCaptureCases) {
        const std::optional<RgbImage> image = CaptureSlicePicture(RefOf(c, &palette), nullptr);
        ASSERT_TRUE(image) << int(c.format);
        EXPECT_EQ(image->width, 3);
        EXPECT_EQ(image->height, 2);
        EXPECT_EQ(image->pixels, kSixColours) << int(c.format);
    }
}

TEST(SliceCapture, OverlaysShowInTheImageButNeverStayInThePicture) {
    const Palette palette = TestPalette();
    for (const CaptureCase& c : kCaptureCases) {
        const std::vector<uint8_t> before = c.pixels;
        // A "crossbar" pixel at column 2 of row 1, in the colour of the first pixel.
        const size_t bpp = size_t(BytesPerPixel(c.format));
        auto draw = [&](uint8_t* pixels) {
            std::copy_n(pixels, bpp, pixels + c.rowBytes + 2 * bpp);
        };
        const std::optional<RgbImage> image = CaptureSlicePicture(RefOf(c, &palette), draw);
        ASSERT_TRUE(image) << int(c.format);
        EXPECT_EQ(std::vector<uint8_t>(image->Pixel(2, 1), image->Pixel(2, 1) + 3),
                  (std::vector<uint8_t>{255, 0, 0}))
            << int(c.format);
        EXPECT_EQ(c.pixels, before);
    }
}

TEST(SliceCapture, GivesNoImageWithoutAPictureOrWithAnIndexBeyondThePalette) {
    const Palette palette = TestPalette();
    const CaptureCase& rgb = kCaptureCases[3];
    const CaptureCase& indexed = kCaptureCases[4];
    EXPECT_FALSE(CaptureSlicePicture({}, nullptr));
    EXPECT_FALSE(CaptureSlicePicture(RefOf(indexed, nullptr), nullptr));
    PictureRef tooNarrowRows = RefOf(rgb, nullptr);
    tooNarrowRows.rowBytes = 11;
    EXPECT_FALSE(CaptureSlicePicture(tooNarrowRows, nullptr));
    EXPECT_TRUE(CaptureSlicePicture(RefOf(indexed, &palette), nullptr));
}

// A 3 x 2 picture with a colour per pixel.
RgbImage SmallPicture() {
    RgbImage image = *MakeRgbImage(3, 2);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(40 * i + 5);
    return image;
}

CaptureImage Captures(const std::optional<RgbImage>& image) {
    return [image] { return image; };
}

// A profile, file locations with auto-updated image folder, and a project in a temp folder.
class ExportFixture : public ::testing::Test {
  protected:
    ExportFixture() : locations(profile) {
        locations.SetLocation(dir / "images", kLocation2D, true);
        locations.SetAutoUpdate(kLocation2D, 1);
        project.SetProjectPath(dir / "brain.qxp");
        locations.SetProjectFolder(project.ProjectFolder());
    }
    void ExpectTiffDialog(const Prompt& prompt, const std::string& initialPath) {
        EXPECT_EQ(prompt.kind, Prompt::Kind::File);
        EXPECT_EQ(prompt.file.mode, FileRequest::Mode::Save);
        EXPECT_EQ(prompt.file.title, "Save to which TIFF file?");
        EXPECT_EQ(prompt.file.filter,
                  "TIFF image files (*.TIFF,*.TIF)|*.tiff;*.tif|All files (*.*)|*.*||");
        EXPECT_EQ(prompt.file.defaultExtension, "TIF");
        EXPECT_TRUE(prompt.file.askBeforeOverwrite);
        EXPECT_EQ(prompt.file.initialPath, initialPath);
    }
    // The file holds the picture's pixels where the layout puts them.
    void ExpectPictureIn(const std::string& path) {
        const std::string bytes = ReadWholeFile(path);
        const RgbImage picture = SmallPicture();
        ASSERT_EQ(bytes.size(), TiffFileSize(picture));
        EXPECT_EQ(bytes.substr(14, 18), std::string(picture.pixels.begin(), picture.pixels.end()));
        EXPECT_EQ(ReadTiffWithLibtiff(path).pixels, picture.pixels);
    }

    TempDir dir;
    MemoryProfile profile;
    FileLocations locations;
    ProjectSettings project;
    ScriptedUi ui;
};

TEST_F(ExportFixture, AFailedCaptureReportsMemoryLowAndAsksNothingElse) {
    RgbImage broken = SmallPicture();
    broken.pixels.resize(5);
    for (const std::optional<RgbImage>& captured : {std::optional<RgbImage>{}, {broken}}) {
        ui.Expect("Unable to capture bitmap image! Memory low?");
        EXPECT_EQ(SaveSliceAsTiffCommand(Captures(captured), ui, locations, &project), 0);
    }
    EXPECT_EQ(ui.prompts().size(), 2u);
}

TEST_F(ExportFixture, WithAProjectStartsOnItsImageFileAndStoresTheChosenPath) {
    project.SetFileName(ProjectFile::Image, dir / "old.tif");
    const std::string chosen = dir / "shots/slice.TIF";
    std::filesystem::create_directory(dir / "shots");
    ui.ChooseFileAs(chosen);

    EXPECT_EQ(SaveSliceAsTiffCommand(Captures(SmallPicture()), ui, locations, &project), 1);
    ASSERT_EQ(ui.prompts().size(), 1u);
    ExpectTiffDialog(ui.prompts()[0], dir / "old.tif");
    ExpectPictureIn(chosen);
    EXPECT_EQ(project.FileName(ProjectFile::Image, false), "shots/slice.TIF");
    EXPECT_EQ(locations.GetLocation(kLocation2D, true), dir / "shots");
}

TEST_F(ExportFixture, WithAProjectWithoutImageFileStartsOnUntitledInTheImageFolder) {
    ui.CancelFile();
    EXPECT_EQ(SaveSliceAsTiffCommand(Captures(SmallPicture()), ui, locations, &project), 0);
    ExpectTiffDialog(ui.prompts().at(0), dir / "images/untitled.TIF");
}

TEST_F(ExportFixture, CancellingLeavesImageFileAndFolderAndWritesNothing) {
    project.SetFileName(ProjectFile::Image, dir / "old.tif");
    project.SetModified(false);
    ui.CancelFile();
    EXPECT_EQ(SaveSliceAsTiffCommand(Captures(SmallPicture()), ui, locations, &project), 0);
    EXPECT_EQ(project.FileName(ProjectFile::Image, false), "old.tif");
    EXPECT_FALSE(project.modified());
    EXPECT_EQ(locations.GetLocation(kLocation2D, true), dir / "images");
    EXPECT_FALSE(std::filesystem::exists(dir / "old.tif"));
    EXPECT_EQ(ui.prompts().size(), 1u);
}

TEST_F(ExportFixture, WithoutAProjectTheWriterAsksStartingOnUntitledInTheImageFolder) {
    const std::string chosen = dir / "free.tif";
    ui.ChooseFileAs(chosen);
    EXPECT_EQ(SaveSliceAsTiffCommand(Captures(SmallPicture()), ui, locations, nullptr), 1);
    ExpectTiffDialog(ui.prompts().at(0), dir / "images/untitled.TIF");
    ExpectPictureIn(chosen);
    EXPECT_EQ(locations.GetLocation(kLocation2D, true), dir.path());
}

TEST_F(ExportFixture, AFailedWriteIsReportedAndLeavesNoFile) {
    const std::string unwritable = dir / "missing/slice.tif";
    for (ProjectSettings* p : {&project, static_cast<ProjectSettings*>(nullptr)}) {
        ui.ChooseFileAs(unwritable).Expect("Error writing Tiff file!");
        EXPECT_EQ(SaveSliceAsTiffCommand(Captures(SmallPicture()), ui, locations, p), 0);
        EXPECT_FALSE(std::filesystem::exists(unwritable));
    }
    // The path is stored before writing, as chosen.
    EXPECT_EQ(project.FileName(ProjectFile::Image, false), "missing/slice.tif");
}

TEST_F(ExportFixture, SaveTiffWithAPathWritesWithoutAsking) {
    EXPECT_EQ(SaveTiff(SmallPicture(), dir / "given.tif", ui, locations), 1);
    EXPECT_TRUE(ui.prompts().empty());
    ExpectPictureIn(dir / "given.tif");
}

}  // namespace
}  // namespace sulcan
