#pragma once
// "Save slice as &TIFF": capture the active window's picture as an RgbImage, ask for the file
// and write it. The widgets supply the capture; every rule of the command is here.
#include <functional>
#include <optional>
#include <string>

#include "platform/Ui.h"
#include "project/ProjectSettings.h"
#include "project/file_locations.h"
#include "slices/display_format.h"
#include "slices/tiff_writer.h"

namespace sulcan {

namespace msg::tiff {
inline constexpr const char* kCommand = "Save slice as &TIFF";
inline constexpr const char* kUnableToCapture = "Unable to capture bitmap image! Memory low?";
inline constexpr const char* kErrorWriting = "Error writing Tiff file!";
inline constexpr const char* kSaveTitle = "Save to which TIFF file?";
inline constexpr const char* kFilter =
    "TIFF image files (*.TIFF,*.TIF)|*.tiff;*.tif|All files (*.*)|*.*||";
inline constexpr const char* kDefaultExtension = "TIF";
inline constexpr const char* kUntitled = "untitled.TIF";
}  // namespace msg::tiff

// The kind of the main window's active child, as far as the command cares.
enum class ExportSource { None, SliceView, ToolWindow, Viewer3D };

// Enabled for a slice view or its tool window, and for the 3D viewer while it shows a mesh.
bool SaveSliceAsTiffEnabled(ExportSource active, bool viewerShowsMesh);

// The save dialog of a TIFF file, starting on `initialPath`.
FileRequest TiffSaveRequest(const std::string& initialPath);

// Writes `image` to `path`; with no path first asks for one, starting on "untitled.TIF" in the
// image folder, and records the chosen folder. A failed write shows "Error writing Tiff file!".
// 1 when written, 0 when cancelled or failed.
int SaveTiff(const RgbImage& image, const std::optional<std::string>& path, Ui& ui,
             FileLocations& locations);

// A slice picture in its display format: rows of rowBytes from the top.
struct PictureRef {
    const uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    size_t rowBytes = 0;
    DisplayFormat format = DisplayFormat::Rgb32;
    const Palette* palette = nullptr;  // Palette8 only
};

// Draws the crossbars and VOI lines, as painting does, into pixels laid out like the picture.
using DrawOverlays = std::function<void(uint8_t* pixels)>;

// The picture with its overlays as RGB, one pixel per voxel. The overlays go into a copy, so
// the picture itself never changes. None without a picture, when memory runs out, or when a
// Palette8 index lies beyond the palette.
std::optional<RgbImage> CaptureSlicePicture(const PictureRef& picture, const DrawOverlays& draw);

// Returns the picture of the active window, or none when it cannot be captured.
using CaptureImage = std::function<std::optional<RgbImage>()>;

// The command. `project` is null when no project is open; with one, the dialog starts on its
// imageFile and the chosen path becomes the new imageFile. 1 when a file was written.
int SaveSliceAsTiffCommand(const CaptureImage& capture, Ui& ui, FileLocations& locations,
                           ProjectSettings* project);

}  // namespace sulcan
