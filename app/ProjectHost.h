#pragma once
// The main frame's side of the project commands: the windows of a project and the 3D viewer.
#include "project/project_file.h"

namespace sulcan {

class CSulcanDoc;

class ProjectHost {
public:
    virtual ~ProjectHost() = default;
    // The frame of a new project's document; false when it cannot be created.
    virtual bool CreateProjectWindow(CSulcanDoc& doc) = 0;
    // Closes the project's frames and views (before the document goes).
    virtual void DestroyProjectWindow() = 0;
    // Titles the project and shows `views` slice views (at least one); each further view takes
    // the next saved view record.
    virtual void ShowProject(CSulcanDoc& doc, int views) = 0;
    // What a save stores of the windows: the viewer and one record per slice view.
    virtual ProjectWindows CollectWindows() = 0;
    virtual bool ViewerOpen() const = 0;
    virtual void CloseViewer() = 0;
    virtual void OpenViewer(const std::string& meshFile) = 0;
    virtual void ClearStatusPanes() = 0;
};

}  // namespace sulcan
