#pragma once
// The open project (at most one) and the project commands: new, load, recent, save, save as,
// close, list files and exit, with their prompts in order.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ProjectHost.h"
#include "app/RecentProjects.h"
#include "platform/Profile.h"
#include "platform/Ui.h"
#include "project/file_locations.h"
#include "volume/CommandContext.h"

namespace sulcan {

struct ProjectFileLine {
    std::string caption;
    std::string value;  // preceded by a blank
};

class ProjectSession {
public:
    ProjectSession(Ui& ui, Profile& profile, FileLocations& locations, RecentProjects& recent,
                   ProjectHost& host);
    ~ProjectSession();

    CSulcanDoc* project() const { return doc_.get(); }
    SaveFlags& saveFlags() { return saveFlags_; }
    // Reads the enabled overlay files of the document; set by the application.
    std::function<void(CSulcanDoc&)> loadOverlays;

    // 1 when no project is left open.
    int CloseProject(bool ask);
    void NewProject();
    // With an empty file the user chooses one (Load project); otherwise a recent entry.
    void LoadProject(const std::string& recentFile = {});
    void LoadRecent(int index);
    void SaveProject();
    void SaveProjectAs();
    // The lines of "Files relating to project".
    std::vector<ProjectFileLine> ProjectFiles() const;
    // Writes "OpenProject" and closes the project; true when the program may end.
    bool Exit();

private:
    CommandContext Context();
    void ResetDocumentFlags();
    bool NewProjectStep();
    bool ChooseNewProjectAnatomy();
    void DeriveDefaultFileNames();
    bool LoadProjectStep(const std::string& file);
    bool LoadProjectAnatomy();
    // Returns false when the step must fail; quiet is set when no message is due.
    bool LoadProjectClassification(bool& quiet);
    void SetCursorFromFirstView();
    void DropProject();

    Ui& ui_;
    Profile& profile_;
    FileLocations& locations_;
    RecentProjects& recent_;
    ProjectHost& host_;
    SaveFlags saveFlags_;
    std::unique_ptr<CSulcanDoc> doc_;
};

// Shortens a name from the left with " ..." until `fits` accepts it.
std::string ShortenFromLeft(const std::string& text, const std::function<bool(const std::string&)>& fits);

}  // namespace sulcan
