#pragma once
// The user preferences that outlive a project: every value of the profile section "Settings",
// read at start-up, kept in memory and written back as soon as it changes.
#include <array>
#include <cstdint>
#include <string>

#include "app/window_placement.h"
#include "platform/Profile.h"
#include "platform/Ui.h"
#include "project/file_locations.h"
#include "segment/classify.h"
#include "segment/threshold.h"
#include "slices/SliceViewModel.h"
#include "slices/slice_drawing.h"

namespace sulcan {

// Names of the values in the section "Settings". The twenty file location values are in
// project/file_locations.cpp (LocationInfoOf).
namespace setting {

// Kept by AppSettings.
inline constexpr const char* kWinLeft = "WinLeft";
inline constexpr const char* kWinTop = "WinTop";
inline constexpr const char* kWinRight = "WinRight";
inline constexpr const char* kWinBottom = "WinBottom";
inline constexpr const char* kAutoSync = "AutoSync";
inline constexpr const char* kGrabSingly = "GrabSingly";
inline constexpr const char* kXYZLock = "XYZLock";
inline constexpr const char* kClassifySlow = "ClassifySlow";
inline constexpr const char* kWhiteOvR = "WhiteOvR";
inline constexpr const char* kWhiteOvG = "WhiteOvG";
inline constexpr const char* kWhiteOvB = "WhiteOvB";
inline constexpr const char* kWhiteSelOvR = "WhiteSelOvR";
inline constexpr const char* kWhiteSelOvG = "WhiteSelOvG";
inline constexpr const char* kWhiteSelOvB = "WhiteSelOvB";
inline constexpr const char* kGrayOvR = "GrayOvR";
inline constexpr const char* kGrayOvG = "GrayOvG";
inline constexpr const char* kGrayOvB = "GrayOvB";
inline constexpr const char* kGraySelOvR = "GraySelOvR";
inline constexpr const char* kGraySelOvG = "GraySelOvG";
inline constexpr const char* kGraySelOvB = "GraySelOvB";
inline constexpr const char* kCSFOvR = "CSFOvR";
inline constexpr const char* kCSFOvG = "CSFOvG";
inline constexpr const char* kCSFOvB = "CSFOvB";
inline constexpr const char* kB3dR = "B3dR";
inline constexpr const char* kB3dG = "B3dG";
inline constexpr const char* kB3dB = "B3dB";
inline constexpr const char* kHelpURL = "HelpURL";
inline constexpr const char* kOpenProject = "OpenProject";
inline constexpr const char* kNGrayLayers = "NGrayLayers";
inline constexpr const char* kZoomx = "Zoomx";
inline constexpr const char* kZoomy = "Zoomy";
inline constexpr const char* kZoomz = "Zoomz";

// Classification dialog: written when a classification is applied, only the last three read.
inline constexpr const char* kCSFMean = "CSFMean";
inline constexpr const char* kGrayMean = "GrayMean";
inline constexpr const char* kWhiteMean = "WhiteMean";
inline constexpr const char* kNoiseStdev = "NoiseStdev";
inline constexpr const char* kConfidence = "Confidence";
inline constexpr const char* kSmoothness = "Smoothness";
inline constexpr const char* k3DClassify = "3DClassify";
inline constexpr const char* kOverlayCSF = "OverlayCSF";
inline constexpr const char* kOverlayWhite = "OverlayWhite";

// Threshold tool.
inline constexpr const char* kThreshold = "Threshold";
inline constexpr int kThresholdDefault = 127;  // below 256
inline constexpr const char* kFill = "Fill";
inline constexpr int kFillDefault = 0;  // below 21
inline constexpr const char* kDoFill = "DoFill";
inline constexpr int kDoFillDefault = 0;
inline constexpr const char* kDoThres = "DoThres";
inline constexpr int kDoThresDefault = 1;

// Greyscale mapping: brightness and contrast × 100, gamma × 10.
inline constexpr const char* kBrightness = "Brightness";
inline constexpr const char* kContrast = "Contrast";
inline constexpr const char* kGamma = "Gamma";

inline constexpr const char* kVisSheetPage = "VisSheetPage";
inline constexpr int kVisSheetPageDefault = 0;
inline constexpr const char* k3DLightAutoApply = "3DLightAutoApply";
inline constexpr int k3DLightAutoApplyDefault = 0;

// 3D viewer state; real numbers as integers of value × 10000.
inline constexpr const char* kXRotation = "xRotation";
inline constexpr const char* kYRotation = "yRotation";
inline constexpr const char* kZRotation = "zRotation";
inline constexpr const char* kXPan = "xPan";
inline constexpr const char* kYPan = "yPan";
inline constexpr const char* kZoom = "Zoom";
inline constexpr const char* kSpinRPM = "SpinRPM";
inline constexpr const char* kSpinActive = "SpinActive";
inline constexpr const char* kXSpinAxis = "xSpinAxis";
inline constexpr const char* kYSpinAxis = "ySpinAxis";
inline constexpr const char* kZSpinAxis = "zSpinAxis";
inline constexpr const char* kUseLighting = "UseLighting";
inline constexpr const char* kShowLights = "ShowLights";
inline constexpr const char* kShowCurrentPoint = "ShowCurrentPoint";
inline constexpr const char* kShowCurrentSlice = "ShowCurrentSlice";
inline constexpr const char* kPoints = "Points";
inline constexpr const char* kSmooth = "Smooth";
inline constexpr const char* kGloss = "Gloss";
inline constexpr const char* kCurrent3DFile = "Current3DFile";
// Indexed: "Ambient[0]".."Ambient[3]", "LightOn[0]".."LightOn[7]" (IndexedValueName).
inline constexpr const char* kAmbient = "Ambient";
inline constexpr const char* kLightOn = "LightOn";
// Per light and component, "%s[%d][%d]" (LightValueName).
inline constexpr const char* kLightPosition = "LightPosition";
inline constexpr const char* kLightAmbient = "LightAmbient";
inline constexpr const char* kLightDiffuse = "LightDiffuse";
inline constexpr const char* kLightSpecular = "LightSpecular";
inline constexpr const char* kLightDirection = "LightDirection";
inline constexpr const char* kLightValueFormat = "%s[%d][%d]";

// 3D viewer window placement.
inline constexpr const char* kPlacementLength = "Placement.length";
inline constexpr const char* kPlacementFlags = "Placement.flags";
inline constexpr const char* kPlacementShowCmd = "Placement.showCmd";
inline constexpr const char* kPlacementMinX = "Placement.ptMinPosition.x";
inline constexpr const char* kPlacementMinY = "Placement.ptMinPosition.y";
inline constexpr const char* kPlacementMaxX = "Placement.ptMaxPosition.x";
inline constexpr const char* kPlacementMaxY = "Placement.ptMaxPosition.y";
inline constexpr const char* kPlacementLeft = "Placement.rcNormalPosition.left";
inline constexpr const char* kPlacementTop = "Placement.rcNormalPosition.top";
inline constexpr const char* kPlacementRight = "Placement.rcNormalPosition.right";
inline constexpr const char* kPlacementBottom = "Placement.rcNormalPosition.bottom";

// Last folder of scanner slice files.
inline constexpr const char* kFilepath = "Filepath";
inline constexpr const char* kFilepathDefault = "";

// The recent-project list has a section of its own: "File1".."File3".
inline constexpr const char* kRecentFileSection = "Recent File List";
inline constexpr const char* kRecentFileFormat = "File%d";

// Defaults of the values AppSettings keeps.
// The project's own README, opened with the desktop's viewer.
inline constexpr const char* kHelpURLDefault = SULCAN_HELP_URL;
inline constexpr const char* kNoOpenProject = "::NONE::";
inline constexpr int kHelpURLMaxLength = 255;

}  // namespace setting

// "Ambient" and 2 -> "Ambient[2]".
std::string IndexedValueName(const char* base, int index);
// "LightPosition", 7 and 2 -> "LightPosition[7][2]".
std::string LightValueName(const char* base, int light, int component);
// The first maxChars characters (UTF-8 code points) of text, as an edit of that limit keeps.
std::string LimitedText(const std::string& text, size_t maxChars);

// The six colours of the "Preferences" dialog, in its row order.
enum PreferenceColour {
    kColourGray = 0,
    kColourGraySelected = 1,
    kColourWhite = 2,
    kColourWhiteSelected = 3,
    kColourCsf = 4,
    kColour3DBackground = 5,
};
inline constexpr int kPreferenceColourCount = 6;
Rgb DefaultColour(int which);


// Colour table of the slice views in the display format: black, white, white matter, selected
// white matter, gray matter, selected gray matter, CSF, pure red, green and blue, light gray.
inline constexpr int kOverlayColourCount = kDisplayColourCount;
using OverlayColourTable = decltype(DisplayColours::pixel);

class AppSettings : public SliceViewPreferences {
public:
    // Reads every value (the defaults where one is missing) and builds the drawing tables.
    explicit AppSettings(Profile& profile);

    FileLocations& locations() { return locations_; }

    // The stored main window rectangle, or `initial` for each missing edge.
    Rect ReadRect(const Rect& initial) const;
    void WriteRect(const Rect& rect);

    int autoSync() const { return autoSync_; }
    void SetAutoSync(int value);
    int grabSingly() const { return grabSingly_; }
    void SetGrabSingly(int value);
    int xyzLock() const { return xyzLock_; }
    void SetXyzLock(int value);
    int classifySlow() const { return classifySlow_; }
    void SetClassifySlow(int value);

    Rgb colour(int which) const;
    // Stores the colour and writes its three values; the colour table follows only with
    // RebuildColourTable.
    void SetColour(int which, Rgb colour);
    // All six colours back to their defaults, all eighteen values written.
    void RestoreDefaultColours();

    const std::string& helpUrl() const { return helpUrl_; }
    // Kept to its first 255 characters and written.
    void SetHelpUrl(const std::string& url);

    // The project open at the last exit, or "::NONE::".
    const std::string& openProject() const { return openProject_; }
    // An empty path writes "::NONE::".
    void SetOpenProject(const std::string& path);

    int grayLayers() const { return grayLayers_; }
    void SetGrayLayers(int layers);
    // Zoom factors x, y, z of new slice views: set in memory, written separately.
    const std::array<int, 3>& zoom() const { return zoom_; }
    void SetZoom(int x, int y, int z) { zoom_ = {x, y, z}; }
    void WriteZoom();

    // The slice views' drawing tables: display format, greyscale table, colours, palette.
    SliceDrawing& drawing() { return drawing_; }
    const SliceDrawing& drawing() const { return drawing_; }
    const OverlayColourTable& colourTable() const { return drawing_.colours().pixel; }
    // Builds the drawing colours from the colour preferences.
    void RebuildColourTable();
    // Rebuilds the drawing tables in the new format.
    void SetDisplayFormat(DisplayFormat format);
    // Writes "Brightness", "Contrast" and "Gamma" and rebuilds the greyscale table from them.
    void WriteGrey(const GreyRegistryValues& values);

    // The classification dialog's three options (the other values are written, never read).
    ClassifyDialogOptions ReadClassifyOptions() const;
    // Every value an applied classification leaves in the registry.
    void WriteClassification(const ClassificationRegistryValues& values);
    // The threshold dialog's four values, the defaults where one is missing.
    ThresholdRegistryValues ReadThreshold() const;
    void WriteThreshold(const ThresholdRegistryValues& values);

    // SliceViewPreferences: 1 is singly (shared), any other value paired (not shared), as the
    // "Preferences" dialog reads them.
    bool GrabSingly() const override { return grabSingly_ == 1; }
    bool XyzLock() const override { return xyzLock_ == 1; }
    std::array<int, 3> NewViewZoom() const override { return zoom_; }
    // In memory only, like SetZoom.
    void SetNewViewZoom(const std::array<int, 3>& zoom) override { zoom_ = zoom; }

private:
    int ReadInt(const char* name, int fallback) const;
    void WriteInt(const char* name, int value);
    void Store(int& field, const char* name, int value);
    void ReadColours();
    void ReadGrey();
    void WriteColour(int which);

    Profile& profile_;
    FileLocations locations_;
    int autoSync_ = 1, grabSingly_ = 1, xyzLock_ = 1, classifySlow_ = 0;
    std::array<Rgb, kPreferenceColourCount> colours_{};
    std::string helpUrl_;
    std::string openProject_;
    int grayLayers_ = 3;
    std::array<int, 3> zoom_{3, 3, 3};
    SliceDrawing drawing_;
};

}  // namespace sulcan
