#pragma once
// The project file (".qxp"): ProjectSettings written field by field, little-endian.
#include <string>
#include <vector>

#include "project/ProjectSettings.h"

namespace sulcan {

inline constexpr const char* kProjectFileFilter =
    "Sulcan project files (*.qxp)|*.qxp|All files (*.*)|*.*||";

// What the open windows contribute to a save: the 3D viewer's state and one record per
// slice view in the document's view order.
struct ProjectWindows {
    bool viewerOpen = false;
    std::string viewerMeshFile;  // the viewer's mesh file; empty: the output file is used
    ViewerState viewerState;
    std::vector<SliceViewRecord> views;
    int activeView = 0;  // index into views of the active child window
};

// Writes the settings; a non-empty path becomes the project path. A failed save deletes the
// partly written file. Returns 1 on success, 0 on failure.
int SaveProjectFile(ProjectSettings& settings, const std::string& path,
                    const ProjectWindows& windows = {});

// Reads a project file into a fresh object and, when every check passes, replaces settings
// with it. Returns 1 on success; on failure settings are untouched.
int LoadProjectFile(ProjectSettings& settings, const std::string& path);

}  // namespace sulcan
