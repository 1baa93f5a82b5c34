#include "slices/image_export.h"

#include <new>
#include <vector>

namespace sulcan {

namespace {

// The path chosen in a save dialog starting on `initialPath`, with its folder recorded.
std::optional<std::string> AskForTiffPath(const std::string& initialPath, Ui& ui,
                                          FileLocations& locations) {
    const std::optional<FileChoice> choice = ui.ChooseFile(TiffSaveRequest(initialPath));
    if (!choice || choice->path.empty()) return std::nullopt;
    locations.RecordLastLocation(kLocation2D, choice->path);
    return choice->path;
}

int WriteOrReport(const RgbImage& image, const std::string& path, Ui& ui) {
    int written;
    {
        WaitCursor busy(ui);
        written = WriteTiffFile(image, path);
    }
    if (written) return 1;
    ui.Message(msg::tiff::kErrorWriting, "", Buttons::Ok, Icon::Exclamation);
    return 0;
}

std::string ProjectStartPath(const ProjectSettings& project, const FileLocations& locations) {
    const std::string imageFile = project.FileName(ProjectFile::Image, true);
    return imageFile.empty() ? locations.PathIn(kLocation2D, msg::tiff::kUntitled) : imageFile;
}

std::optional<RgbImage> CaptureCopy(const PictureRef& picture, const DrawOverlays& draw) {
    std::vector<uint8_t> copy(picture.pixels, picture.pixels + picture.rowBytes * picture.height);
    if (draw) draw(copy.data());
    std::optional<RgbImage> image = MakeRgbImage(picture.width, picture.height);
    if (!image) return std::nullopt;
    image->pixels = PictureToRgb(copy.data(), picture.width, picture.height, picture.rowBytes,
                                 picture.format, picture.palette);
    if (!image->valid()) return std::nullopt;
    return image;
}

}  // namespace

std::optional<RgbImage> CaptureSlicePicture(const PictureRef& picture, const DrawOverlays& draw) {
    if (!picture.pixels || picture.width < 1 || picture.height < 1) return std::nullopt;
    if (picture.rowBytes < size_t(picture.width) * BytesPerPixel(picture.format))
        return std::nullopt;
    try {
        return CaptureCopy(picture, draw);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

bool SaveSliceAsTiffEnabled(ExportSource active, bool viewerShowsMesh) {
    switch (active) {
        case ExportSource::SliceView:
        case ExportSource::ToolWindow:
            return true;
        case ExportSource::Viewer3D:
            return viewerShowsMesh;
        case ExportSource::None:
            break;
    }
    return false;
}

FileRequest TiffSaveRequest(const std::string& initialPath) {
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = msg::tiff::kSaveTitle;
    request.filter = msg::tiff::kFilter;
    request.initialPath = initialPath;
    request.defaultExtension = msg::tiff::kDefaultExtension;
    request.askBeforeOverwrite = true;
    return request;
}

int SaveTiff(const RgbImage& image, const std::optional<std::string>& path, Ui& ui,
             FileLocations& locations) {
    if (path) return WriteOrReport(image, *path, ui);
    const std::optional<std::string> chosen =
        AskForTiffPath(locations.PathIn(kLocation2D, msg::tiff::kUntitled), ui, locations);
    return chosen ? WriteOrReport(image, *chosen, ui) : 0;
}

int SaveSliceAsTiffCommand(const CaptureImage& capture, Ui& ui, FileLocations& locations,
                           ProjectSettings* project) {
    const std::optional<RgbImage> image = capture ? capture() : std::nullopt;
    if (!image || !image->valid()) {
        ui.Message(msg::tiff::kUnableToCapture, "", Buttons::Ok, Icon::Exclamation);
        return 0;
    }
    if (!project) return SaveTiff(*image, std::nullopt, ui, locations);
    const std::optional<std::string> path =
        AskForTiffPath(ProjectStartPath(*project, locations), ui, locations);
    if (!path) return 0;
    project->SetFileName(ProjectFile::Image, *path);
    return SaveTiff(*image, path, ui, locations);
}

}  // namespace sulcan
