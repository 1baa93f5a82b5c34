#pragma once
// Building an anatomy file from a folder of scanner slice files "I.nnn": a big-endian header
// ("IMGF", pixel data offset, width, height) and width x height 16-bit samples, one file per
// slice. The engine lists and reads the slices; MakeAnatomyFromIFiles is the menu command.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "platform/Ui.h"
#include "project/file_locations.h"
#include "volume/anatomy_file.h"

namespace sulcan {

namespace msg::slices {
inline constexpr const char* kDialogTitle = "Make anatomy file from I-Files";
inline constexpr const char* kDialogText =
    "This function will create an anatomy from a set of slice scans.\n\n"
    "The slices should be named I.nnn where nnn denotes the slice number.\n\n"
    "Select the directory which holds the I-files:";
inline constexpr const char* kBrowse = "Browse";
inline constexpr const char* kBrowseTitle = "Where are the I files located?";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kSuccessCaption = "Success";
inline constexpr const char* kNoFilesMatching = "No files found matching '%s'";
inline constexpr const char* kCannotOpenFile = "Cannot open file '%s'";
inline constexpr const char* kDimensionsNoGood = "Dimensions no good";
inline constexpr const char* kNotAllSameSize = "Not all slices same size!";
inline constexpr const char* kErrorOpeningOutput = "Error opening output file!";
inline constexpr const char* kErrorWritingOutput = "Error writing output file!";
inline constexpr const char* kLoadedAndSaved = "Anatomy loaded OK and saved to:\n%s";
inline constexpr const char* kSliceFileDamaged =
    "Slice file '%s' is truncated or damaged: its image data does not fit in the file";
inline constexpr const char* kSlicesTooLarge =
    "Slices of %d x %d pixels are too large for an anatomy.\n"
    "Allowable size is 1 x 1 to 1023 x 1023";
inline constexpr const char* kTooManySlices =
    "Slice number %d is too large for an anatomy.\nAllowable slice numbers are 1 to 1023";
}  // namespace msg::slices

inline constexpr const char* kFilepathValue = "Filepath";
inline constexpr const char* kSliceNamePattern = "I.*";

// Slice number of a file name: its extension read as "%03d" must print back as exactly the
// extension ("I.007" is 7; "I.7" and "I.0007" give nothing).
std::optional<int> SliceNumberOf(const std::string& name);

// The folder text with one trailing "/" removed, and the listing pattern over it.
std::string SliceFolderOf(const std::string& folderText);
std::string SlicePatternOf(const std::string& folder);

// Names in the folder matching "I.*", in the order the file system lists them; empty when
// the folder cannot be read.
std::vector<std::string> ListSliceNames(const std::string& folder);

enum class SliceImportStatus {
    Ok,
    Cancelled,         // no output file chosen
    NoFiles,           // nothing listed, or no slice data to read
    CannotOpen,        // path: the slice file
    DimensionsNoGood,  // the first slice's width or height below 1
    TooLarge,          // the first slice's width or height above 1023
    TooManySlices,     // a slice number above 1023
    NotSameSize,
    Damaged,  // path: the slice file
    OutOfMemory,
    CreateFailed,
    WriteFailed,
};

struct SliceImportResult {
    SliceImportStatus status = SliceImportStatus::Ok;
    std::string path;  // the slice file of a failure, or the written anatomy file
    VolumeDims dims;   // width, height, largest slice number
};

// The first pass over the listed names: the slice size and the number of planes. Names that
// are not slice names end the pass, as does a file without the "IMGF" mark; slices numbered
// below 1 have no plane and are skipped.
SliceImportResult ScanSlices(const std::string& folder, const std::vector<std::string>& names);

// The second pass: the anatomy of `dims` (from the scan) filled with the second byte of every
// sample, slice n in plane n - 1. On failure `out` is left as it was.
SliceImportResult ReadSlices(const std::string& folder, const std::vector<std::string>& names,
                             const VolumeDims& dims, AnatomyVolume& out);

// Both passes and the writing; `chooseOutput` is asked for the file name between the passes.
using OutputChooser = std::function<std::optional<std::string>()>;
SliceImportResult ImportSlices(const std::string& folderText, const OutputChooser& chooseOutput);

// The text of a finished import (the pattern for NoFiles); empty for Cancelled.
std::string SliceImportMessage(const SliceImportResult& result, const std::string& pattern);

// State of the "Make anatomy file from I-Files" dialog: the folder edit and its Browse button.
class ImportSlicesDialogModel {
  public:
    ImportSlicesDialogModel(Ui& ui, std::string folder) : ui_(ui), folder_(std::move(folder)) {}
    const std::string& folder() const { return folder_; }
    void SetFolder(const std::string& folder) { folder_ = folder; }
    // Opens the folder chooser at the edit's folder; returns true when a folder was chosen.
    bool Browse();

  private:
    Ui& ui_;
    std::string folder_;
};

// Runs the dialog modally; true for OK.
using ImportSlicesDialog = std::function<bool(ImportSlicesDialogModel&)>;

// The "&Make Anatomy from I-files" command.
void MakeAnatomyFromIFiles(Ui& ui, Profile& profile, FileLocations& locations,
                           const ImportSlicesDialog& showDialog);

}  // namespace sulcan
