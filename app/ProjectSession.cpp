#include "app/ProjectSession.h"

#include <algorithm>
#include <filesystem>
#include <new>

#include "app/project_messages.h"
#include "platform/paths.h"
#include "project/project_file.h"
#include "volume/anatomy_commands.h"
#include "volume/class_commands.h"
#include "volume/messages.h"

namespace sulcan {

namespace {

constexpr VolumeDims kEmptyProjectSize{64, 64, 64};

FileRequest ProjectFileRequest(FileRequest::Mode mode, const char* title, std::string initial) {
    FileRequest r;
    r.mode = mode;
    r.title = title;
    r.filter = kProjectFileFilter;
    r.defaultExtension = msg::kProjectExtension;
    r.initialPath = std::move(initial);
    r.askBeforeOverwrite = mode == FileRequest::Mode::Save;
    return r;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The "Error reading file" choice: 0 use empty volume, 1 choose another, 2 cancel.
enum ReadChoice { kUseEmpty = 0, kChooseAnother = 1, kCancelLoad = 2 };
int AskErrorReadingFile(Ui& ui, const std::string& text) {
    return ui.Ask({msg::kErrorReadingFileCaption, {text},
                   {msg::kUseEmptyVolume, msg::kChooseAnother, msg::kCancel}, 0, 2});
}

bool FileOpens(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

}  // namespace

ProjectSession::ProjectSession(Ui& ui, Profile& profile, FileLocations& locations,
                               RecentProjects& recent, ProjectHost& host)
    : ui_(ui), profile_(profile), locations_(locations), recent_(recent), host_(host) {}

ProjectSession::~ProjectSession() = default;

CommandContext ProjectSession::Context() { return {*doc_, ui_, locations_, saveFlags_}; }

void ProjectSession::DropProject() {
    host_.DestroyProjectWindow();
    doc_.reset();
    locations_.SetProjectFolder("");
}

// ---------------------------------------------------------------- close

int ProjectSession::CloseProject(bool ask) {
    if (!doc_) return 1;
    if (ask && ui_.Message(msg::kCloseProjectQuestion, "", Buttons::YesNo, Icon::Question) !=
                   Answer::Yes)
        return 0;
    CommandContext c = Context();
    if (!OfferToSaveClassification(c, msg::kSaveClassOnClose, msg::kCloseAnyway)) return 0;
    if (doc_->GrayChanged() &&
        ui_.Message(msg::kGrayNotSaved, "", Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return 0;
    bool save = true;
    if (doc_->settings().modified()) {
        Answer a = ui_.Message(msg::kSaveProjectSettings, "", Buttons::YesNoCancel, Icon::Question);
        if (a == Answer::Cancel) return 0;
        save = a == Answer::Yes;
    }
    if (save && !SaveProjectFile(doc_->settings(), "", host_.CollectWindows())) {
        ui_.Message(msg::kUnableToSaveProject);
        return 0;
    }
    host_.ClearStatusPanes();
    host_.CloseViewer();
    DropProject();
    return 1;
}

// ---------------------------------------------------------------- new

void ProjectSession::NewProject() {
    if (doc_) {
        if (ui_.Message(msg::kOkToCloseOpenProject, "", Buttons::OkCancel) != Answer::Ok) return;
        if (!CloseProject(false)) return;
    }
    doc_ = std::make_unique<CSulcanDoc>();
    if (!host_.CreateProjectWindow(*doc_)) {
        doc_.reset();
        ui_.Message(msg::kUnableToCreateProject);
        return;
    }
    bool created = false;
    try {
        created = NewProjectStep();
    } catch (const std::bad_alloc&) {
        ui_.Message(msg::kUnableToCreateNewProject, msg::kNewProjectCaption);
    }
    if (!created) {
        DropProject();
        return;
    }
    host_.ShowProject(*doc_, 1);
}

void ProjectSession::ResetDocumentFlags() {
    doc_->SetProjectValid(false);
    doc_->SetClassificationChanged(false);
    doc_->SetGrayChanged(false);
}

bool ProjectSession::NewProjectStep() {
    ResetDocumentFlags();
    do {
        auto choice = ui_.ChooseFile(ProjectFileRequest(
            FileRequest::Mode::Save, msg::kSelectNewProjectName,
            WithTrailingSlash(locations_.GetLocation(kLocationProject, true))));
        if (!choice) return false;
        locations_.RecordLastLocation(kLocationProject, choice->path);
        doc_->settings().SetProjectPath(choice->path);
        locations_.SetProjectFolder(doc_->settings().ProjectFolder());
        recent_.Add(doc_->settings().projectPath());
    } while (!ChooseNewProjectAnatomy());
    if (doc_->anatomy().empty()) return false;  // "No" to an empty anatomy
    doc_->SetVoi(VoiBox::Whole(doc_->dims()));
    doc_->InstallClassification(std::vector<uint8_t>(doc_->dims().voxels(), 0));
    doc_->ClearClassification();
    doc_->SetClassificationChanged(false);
    DeriveDefaultFileNames();
    doc_->SetProjectValid(true);
    doc_->settings().SetVolumeSize(doc_->dims().x, doc_->dims().y, doc_->dims().z);
    if (loadOverlays) loadOverlays(*doc_);
    return true;
}

// False sends the user back to choosing the project name; an anatomy still empty afterwards
// means the user gave up.
bool ProjectSession::ChooseNewProjectAnatomy() {
    FileRequest r;
    r.title = msg::kSelectNewProjectAnatomy;
    r.filter = msg::kAnatomyFilter;
    r.fileMustExist = true;
    r.initialPath = WithTrailingSlash(locations_.GetLocation(kLocationAnatomy, true));
    auto choice = ui_.ChooseFile(r);
    if (!choice) {
        if (ui_.Message(msg::kNoAnatomySelected, "", Buttons::YesNo, Icon::Question) == Answer::Yes)
            doc_->StartNewProject({}, kEmptyProjectSize);
        return true;
    }
    locations_.RecordLastLocation(kLocationAnatomy, choice->path);
    if (LoadAnatomy(*doc_, ui_, choice->path)) {
        doc_->settings().SetFileName(ProjectFile::Anatomy, choice->path);
        return true;
    }
    if (!doc_->suppressMessages()) ui_.Message(msg::kUnableToLoadAnatomy);
    return false;
}

void ProjectSession::DeriveDefaultFileNames() {
    ProjectSettings& s = doc_->settings();
    for (int t = kLocationClassification; t < kLocationCount; ++t) {
        if (IsAbsolutePath(locations_.GetLocation(t, false))) continue;
        std::error_code ec;  // a folder that cannot be made shows up when a file is saved there
        std::filesystem::create_directories(locations_.GetLocation(t, true), ec);
    }
    const std::string& name = s.projectName();
    s.SetFileName(ProjectFile::Classification, "");
    s.SetFileName(ProjectFile::GrayGraph, locations_.PathIn(kLocationGray, name + ".Gray"));
    s.SetFileName(ProjectFile::Output, locations_.PathIn(kLocation3D, name + ".QxM"));
    s.SetFileName(ProjectFile::Image, locations_.PathIn(kLocation2D, name + ".TIF"));
    s.SetFileName(ProjectFile::MovieImage, locations_.PathIn(kLocationMovie, name + ".TIF"));
    s.SetFileName(ProjectFile::MovieScript, locations_.PathIn(kLocationMovie, name + ".script"));
}

// ---------------------------------------------------------------- load

void ProjectSession::LoadRecent(int index) {
    const std::string file = recent_.Entry(index);
    if (!file.empty()) LoadProject(file);
}

void ProjectSession::LoadProject(const std::string& recentFile) {
    if (!CloseProject(true)) return;
    doc_ = std::make_unique<CSulcanDoc>();
    if (!host_.CreateProjectWindow(*doc_)) {
        doc_.reset();
        ui_.Message(msg::kUnableToCreateForLoading);
        return;
    }
    host_.CloseViewer();
    bool loaded = false;
    try {
        loaded = LoadProjectStep(recentFile);
    } catch (const std::bad_alloc&) {
        ui_.Message(msg::kErrorLoadingProject);
    }
    if (!loaded) {
        DropProject();
        return;
    }
    const ProjectSettings& s = doc_->settings();
    host_.ShowProject(*doc_, std::max<int>(1, int(s.viewRecords().size())));
    if (s.flag(ProjectSettings::Flag::ViewerOpen))
        host_.OpenViewer(s.FileName(ProjectFile::ViewerMesh, true));
}

bool ProjectSession::LoadProjectStep(const std::string& given) {
    ResetDocumentFlags();
    std::string file = given;
    if (file.empty()) {
        auto choice = ui_.ChooseFile(ProjectFileRequest(
            FileRequest::Mode::Open, msg::kSelectProjectToLoad,
            locations_.PathIn(kLocationProject, "*.qxp")));
        if (!choice) return false;
        locations_.RecordLastLocation(kLocationProject, choice->path);
        file = choice->path;
    }
    if (!LoadProjectFile(doc_->settings(), file)) {
        ui_.Message(msg::kInvalidProjectFile, "", Buttons::Ok, Icon::Exclamation);
        return false;
    }
    recent_.Add(doc_->settings().projectPath());
    locations_.SetProjectFolder(doc_->settings().ProjectFolder());
    bool quiet = false;
    const bool valid = LoadProjectAnatomy() && LoadProjectClassification(quiet);
    if (!valid) {
        if (!quiet) ui_.Message(msg::kErrorLoadingProject);
        return false;
    }
    SetCursorFromFirstView();
    doc_->SetProjectValid(true);
    if (loadOverlays) loadOverlays(*doc_);
    return true;
}

void ProjectSession::SetCursorFromFirstView() {
    const VolumeDims& d = doc_->dims();
    const auto& records = doc_->settings().viewRecords();
    if (records.empty()) {
        doc_->SetCursor(d.x / 2, d.y / 2, d.z / 2, Sagittal, false);
        return;
    }
    const auto& w = records.front().words;
    doc_->SetCursor(std::clamp(w[SliceViewRecord::kPositionX], 0, d.x - 1),
                    std::clamp(w[SliceViewRecord::kPositionY], 0, d.y - 1),
                    std::clamp(w[SliceViewRecord::kPositionZ], 0, d.z - 1),
                    w[SliceViewRecord::kOrientation], false);
}

// The anatomy named in the project, another one the user chooses, or an empty one.
bool ProjectSession::LoadProjectAnatomy() {
    ProjectSettings& s = doc_->settings();
    const std::string name = s.FileName(ProjectFile::Anatomy, true);
    bool useEmpty = name.empty();
    if (!useEmpty && !LoadAnatomy(*doc_, ui_, name)) {
        switch (AskErrorReadingFile(ui_, msg::kErrorReadingAnatomyText)) {
            case kUseEmpty: useEmpty = true; break;
            case kChooseAnother: {
                bool first = true;
                for (;;) {
                    if (!first && !doc_->suppressMessages())
                        ui_.Message(msg::kErrorLoadingAnatomySelectAgain, "", Buttons::Ok,
                                    Icon::Exclamation);
                    first = false;
                    FileRequest r;
                    r.title = msg::kSelectAlternativeAnatomy;
                    r.filter = msg::kAnatomyFilter;
                    r.fileMustExist = true;
                    r.initialPath = WithTrailingSlash(locations_.GetLocation(kLocationAnatomy, true));
                    auto choice = ui_.ChooseFile(r);
                    if (!choice) return false;
                    locations_.RecordLastLocation(kLocationAnatomy, choice->path);
                    s.SetFileName(ProjectFile::Anatomy, choice->path);
                    if (LoadAnatomy(*doc_, ui_, choice->path)) break;
                }
                break;
            }
            default: return false;
        }
    }
    if (useEmpty) {
        const VolumeDims stored{s.xsize(), s.ysize(), s.zsize()};
        doc_->InstallAnatomy(std::vector<uint8_t>(stored.voxels(), 0), stored);
        s.SetFileName(ProjectFile::Anatomy, "");
    }
    return true;
}

bool ProjectSession::LoadProjectClassification(bool& quiet) {
    ProjectSettings& s = doc_->settings();
    const std::string name = s.FileName(ProjectFile::Classification, true);
    if (!name.empty() && FileOpens(name) && LoadClassification(*doc_, ui_, name)) return true;
    quiet = true;  // from here on every failure is one the user chose or was told about
    if (!name.empty() && doc_->suppressMessages()) return false;  // cancelled at the size question
    if (!name.empty()) {
        const std::string text =
            Replaced(msg::kErrorReadingAnatomyText, "volume anatomy", "classification");
        switch (AskErrorReadingFile(ui_, text)) {
            case kUseEmpty: break;
            case kChooseAnother:
                for (;;) {
                    FileRequest r;
                    r.title = msg::kSelectAlternativeClassification;
                    r.filter = msg::kClassFilter;
                    r.initialPath =
                        WithTrailingSlash(locations_.GetLocation(kLocationClassification, true));
                    auto choice = ui_.ChooseFile(r);
                    if (!choice) return false;
                    locations_.RecordLastLocation(kLocationClassification, choice->path);
                    s.SetFileName(ProjectFile::Classification, choice->path);
                    if (LoadClassification(*doc_, ui_, choice->path)) return true;
                    if (doc_->suppressMessages()) return false;
                }
            default: return false;
        }
    }
    doc_->SetVoi(VoiBox::Whole(doc_->dims()));
    doc_->InstallClassification(std::vector<uint8_t>(doc_->dims().voxels(), 0));
    doc_->SetClassificationChanged(false);
    s.SetFileName(ProjectFile::Classification, "");
    return true;
}

// ---------------------------------------------------------------- save

void ProjectSession::SaveProject() {
    if (!doc_) return;
    CommandContext c = Context();
    bool asked = false;
    if (doc_->ClassificationChanged()) {
        asked = true;
        if (ui_.Message(msg::kSaveClassOnClose, "", Buttons::YesNo, Icon::Question) == Answer::Yes &&
            !SaveClassification(c, doc_->settings().FileName(ProjectFile::Classification, true)) &&
            !saveFlags_.cancelled)
            ui_.Message(msg::kUnableToSaveClass, "", Buttons::Ok, Icon::Exclamation);
    }
    if (doc_->GrayChanged()) {
        asked = true;
        ui_.Message(msg::kGraySavedManually);
    }
    if (doc_->settings().modified() &&
        !SaveProjectFile(doc_->settings(), "", host_.CollectWindows())) {
        ui_.Message(msg::kUnableToSaveProject);
        return;
    }
    if (!asked) ui_.Message(msg::kSaveComplete, "", Buttons::Ok, Icon::Information);
}

void ProjectSession::SaveProjectAs() {
    if (!doc_) return;
    ProjectSettings& s = doc_->settings();
    std::string proposed = s.projectPath();
    if (proposed.empty())
        proposed = locations_.PathIn(kLocationProject, s.projectName() + ".qxp");
    else if (!IsAbsolutePath(proposed))
        proposed = locations_.PathIn(kLocationProject, proposed);
    auto choice = ui_.ChooseFile(
        ProjectFileRequest(FileRequest::Mode::Save, msg::kSelectNewNameForProject, proposed));
    if (!choice) return;
    locations_.RecordLastLocation(kLocationProject, choice->path);
    s.SetProjectPath(choice->path);
    locations_.SetProjectFolder(s.ProjectFolder());
    SaveProject();
}

// ---------------------------------------------------------------- list and exit

std::vector<ProjectFileLine> ProjectSession::ProjectFiles() const {
    if (!doc_) return {};
    const ProjectSettings& s = doc_->settings();
    auto orElse = [](const std::string& v, const char* fallback) {
        return " " + (v.empty() ? std::string(fallback) : v);
    };
    std::string gray = " " + s.FileName(ProjectFile::GrayGraph, false);
    if (!FileOpens(s.FileName(ProjectFile::GrayGraph, true))) gray += msg::kGrayFileMissing;
    return {
        {"Project file", " " + s.projectPath()},
        {"Volume anatomy file", orElse(s.FileName(ProjectFile::Anatomy, false), msg::kEmptyAnatomy)},
        {"Classification file",
         orElse(s.FileName(ProjectFile::Classification, false), msg::kClassificationNotSaved)},
        {"Gray matter file", gray},
    };
}

bool ProjectSession::Exit() {
    profile_.SetString(kSettingsSection, "OpenProject",
                       doc_ ? doc_->settings().projectPath() : msg::kNoOpenProject);
    return CloseProject(false) == 1;
}

std::string ShortenFromLeft(const std::string& text,
                            const std::function<bool(const std::string&)>& fits) {
    if (fits(text)) return text;
    for (size_t cut = 1; cut <= text.size(); ++cut) {
        std::string shortened = " ..." + text.substr(cut);
        if (fits(shortened)) return shortened;
    }
    return " ...";
}

}  // namespace sulcan
