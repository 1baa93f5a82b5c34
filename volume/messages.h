#pragma once
// Texts the volume subsystem shows, in one place so tests compare against the same strings.

namespace sulcan::msg {

inline constexpr const char* kOutOfMemoryTerminate =
    "Error - out of memory. Application must terminate";
inline constexpr const char* kGrayFunctionsUnavailable =
    "Gray matter functions not available!\n(Probably due to a lack of memory)";
inline constexpr const char* kCursorStatusFormat = "XYZ(BGR)=(%03d,%03d,%03d)";
inline constexpr const char* kVoiStatusFormat = "VOI: (%03d,%03d,%03d)-(%03d,%03d,%03d)";

// Anatomy file
inline constexpr const char* kAnatomyFilter =
    "Volume Anatomy Files (*.dat, *.*)|*.dat;*.*||";
inline constexpr const char* kAnatomyDefaultName = "vAnatomy.dat";
inline constexpr const char* kAnatomyDimensionsOutOfRange =
    "Error: Volume anatomy dimensions fall outside allowable range\n"
    "Allowable range is 1x1x1 to 1023x1023x1023\n";

inline constexpr const char* kUnableToLoadAnatomy = "Unable to load volume anatomy!";
inline constexpr const char* kInsufficientMemory = "Insufficient memory!";
inline constexpr const char* kSelectNewAnatomy = "Select new volume anatomy file";
inline constexpr const char* kSaveClassBeforeAnatomy =
    "Save changes to current classification volume / VOI definition?";
inline constexpr const char* kUnableToSaveContinue =
    "Warning - unable to save classification!\nContinue anyway? (Changes will be lost)";
inline constexpr const char* kMismatchCaption = "Anatomy file size mismatch";
inline constexpr const char* kMismatchLines[3] = {
    "The new anatomy file has different dimensions from the currently loaded anatomy.  The "
    "classification volume will therefore not fit.",
    "You can either cancel loading this anatomy, continue with an empty classification volume, "
    "or resize the current classification to fit.",
    "You will be given the option of saving changes to the current classification before "
    "resizing / clearing if you choose to proceed."};
inline constexpr const char* kEmptyClassification = "Empty Classification";
inline constexpr const char* kResizeClassification = "Resize Classification";
inline constexpr const char* kCancel = "Cancel";
inline constexpr const char* kSavingVoiAsAnatomy = "Saving VOI as anatomy volume...";
inline constexpr const char* kSaveVoiCaption = "Save VOI as Anatomy Volume";
inline constexpr const char* kSaveVoiHeaderCaption = "Save VOI as anatomy volume";
inline constexpr const char* kUnableToOpenForWriting = "Unable to open output file for writing!";
inline constexpr const char* kProblemWritingAnatomyHeader = "Problem writing anatomy file header\n%s";
inline constexpr const char* kProblemSavingVoi = "Problem saving VOI volume.\n%s";
inline constexpr const char* kCouldNotDeleteFailed = "Could not delete failed output file";

// Classification file
inline constexpr const char* kClassFilter =
    "Classification Volume Files (*.class, *.*)|*.class;*.*||";
inline constexpr const char* kErrorCaption = "Error!";
inline constexpr const char* kClassLoadErrorCaption = "Class load error!";
inline constexpr const char* kCouldNotOpenClassFile = "Could not open class file";
inline constexpr const char* kCouldNotAllocateTemp = "Could not allocate temp buffer";
inline constexpr const char* kBadVersionNumber = "Bad version number on 200 check";
inline constexpr const char* kMinorNotRead = "Minor version numbers not read";
inline constexpr const char* kVersionRefused = "Version !=2 or Minor !=1 or 2";
inline constexpr const char* kCouldNotReadVersion = "Could not read version info";
inline constexpr const char* kGotHereNotOkay = "Got here - not okay!";
inline constexpr const char* kClassSizeMismatch =  // string 61218
    "Warning: Classification dimensions do not match currently loaded anatomy\n\n"
    "Select OK to resize classification, or Cancel to abandon loading.\n\n"
    "Resizing means cropping or padding the classification with zeroes.\n"
    "No automatic changes will be made to the classification file on disk.\n"
    "You will be prompted for a new name when saving the classification.\n\n"
    "If you want to use an alternative classification file or an empty classification,\n"
    "select OK now, and then you can load or clear the classification\n"
    "when the project has loaded.";
inline constexpr const char* kFailedReadingClassFile =  // string 61219
    "Failed while trying to read classification file";
inline constexpr const char* kGrayNotSaved =  // string 61217
    "Note - Gray matter has been grown but none saved.\n\nOK to leave this gray matter unsaved?";
inline constexpr const char* kSaveClassCaption = "Save Classification Volume";
inline constexpr const char* kUnableToOpenOutput = "Unable to open output file!";
inline constexpr const char* kFilenameError = "Filename: [%s]\nError: [%s]";
inline constexpr const char* kOutOfMemory = "Out of memory!";
inline constexpr const char* kProblemSavingClassHeader = "Problem saving Classification Volume\n%s";
inline constexpr const char* kProblemSavingClassPlane = "Problem saving classification volume.\n%s";
inline constexpr const char* kProblemSavingClass = "Problem saving Classification Volume";
inline constexpr const char* kSavingClassification = "Saving classification volume...";
inline constexpr const char* kSaveClassChanges =
    "Save changes to current classification / VOI definition?";
inline constexpr const char* kUnableToSaveClassContinue =
    "Warning - unable to save classification!\nContinue anyway?";
inline constexpr const char* kSelectClassificationFile = "Select classification file";
inline constexpr const char* kLoadingClassificationFailed = "Loading of classification failed!";
inline constexpr const char* kUnableToSaveClass = "Warning - unable to save classification!";
inline constexpr const char* kClassExtension = ".Class";

}  // namespace sulcan::msg
