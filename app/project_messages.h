#pragma once
// Texts of the project commands.

namespace sulcan::msg {

inline constexpr const char* kCloseProjectQuestion = "Current project will be closed.\nOK to proceed?";
inline constexpr const char* kSaveClassOnClose =
    "Save changes to classification volume / VOI definition?";
inline constexpr const char* kCloseAnyway =
    "Warning - unable to save classification!\nClose project anyway?";
inline constexpr const char* kSaveProjectSettings = "Save changes to project settings?";
inline constexpr const char* kUnableToSaveProject = "Error: Unable to save settings to project file!";
inline constexpr const char* kOkToCloseOpenProject = "Ok to close open project?\n";
inline constexpr const char* kUnableToCreateProject = "Unable to create a new project!";
inline constexpr const char* kUnableToCreateNewProject = "Unable to create new project!";
inline constexpr const char* kNewProjectCaption = "New Project";
inline constexpr const char* kSelectNewProjectName = "Select name for new project";
inline constexpr const char* kSelectNewProjectAnatomy = "Select volume anatomy file for new project";
inline constexpr const char* kNoAnatomySelected =
    "No anatomy file selected.\n\nContinue with an empty volume anatomy?\n(Select \"No\" to "
    "cancel new project)";
inline constexpr const char* kUnableToCreateForLoading =
    "Unable to create a new project for loading into!";
inline constexpr const char* kSelectProjectToLoad = "Select project to load";
inline constexpr const char* kInvalidProjectFile = "Error: Invalid project file or file not found";
inline constexpr const char* kErrorReadingFileCaption = "Error reading file";
inline constexpr const char* kErrorReadingAnatomyText =
    "Unable to locate or load the volume anatomy file associated with this project.\n\n Either "
    "continue with an empty volume anatomy, choose an alternative volume anatomy file, or cancel "
    "trying to load this project.";
inline constexpr const char* kUseEmptyVolume = "Use empty volume";
inline constexpr const char* kChooseAnother = "Choose another";
inline constexpr const char* kSelectAlternativeAnatomy = "Select alternative volume anatomy";
inline constexpr const char* kSelectAlternativeClassification = "Select alternative classification";
inline constexpr const char* kErrorLoadingAnatomySelectAgain =
    "Error loading anatomy file - select again\n";
inline constexpr const char* kErrorLoadingProject = "Error loading project!";
inline constexpr const char* kGraySavedManually =  // string 61216
    "Note - Gray matter has been grown but none saved.\n\nGray matter cannot be saved "
    "automatically.\nSelect a gray matter volume and then choose\n\"Save selected gray\" from the "
    "\"File\" menu.";
inline constexpr const char* kSaveComplete = "Save complete";
inline constexpr const char* kSelectNewNameForProject = "Select new name for project";
inline constexpr const char* kProjectExtension = "qxp";
inline constexpr const char* kNoOpenProject = "::NONE::";

// "List project files"
inline constexpr const char* kProjectFilesCaption = "Files relating to project";
inline constexpr const char* kEmptyAnatomy = "(Empty anatomy)";
inline constexpr const char* kClassificationNotSaved = "(Classification has not been saved yet)";
inline constexpr const char* kGrayFileMissing =
    " (Does not exist or cannot be opened - grow, select and save gray matter)";

}  // namespace sulcan::msg
