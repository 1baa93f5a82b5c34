#pragma once
// The main frame's dialogs: About, the project file list, and the commands that open the
// dialogs of other parts of the program.
#include <vector>

#include "app/ProjectSession.h"

class QWidget;

namespace sulcan {

class CMainFrame;

// "&About Sulcan...": version, display characteristics and, once the 3D viewer has run, the
// OpenGL driver.
void ShowAboutDialog(QWidget* parent);
// The text of the "Display characteristics" group.
std::string DisplayCharacteristics(int bitsPerPixel, int planes, const std::string& glVendor,
                                   const std::string& glRenderer, const std::string& glVersion);
// "List pro&ject files": the names shortened from the left to fit their fields.
void ShowProjectFilesDialog(QWidget* parent, const std::vector<ProjectFileLine>& lines);

void RunImportSlices(CMainFrame& frame);
void RunPreferences(CMainFrame& frame);
void RunFileLocations(CMainFrame& frame);
void RunOverlaySheet(CMainFrame& frame);
// "Gray &layers": the layer count of the next growth and the document's contention switches.
void RunGrayLayersDialog(CMainFrame& frame, CSulcanDoc& doc);
// "Threshold": the dialog "Set VOI classify threshold" on the document's VOI.
void RunThresholdDialog(CMainFrame& frame, CSulcanDoc& doc);

}  // namespace sulcan
