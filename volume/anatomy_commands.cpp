#include "volume/anatomy_commands.h"

#include <new>

#include "platform/format.h"
#include "platform/paths.h"
#include "volume/class_commands.h"
#include "volume/file_error.h"
#include "volume/messages.h"
#include "volume/volume_resize.h"

namespace sulcan {

namespace {

// The reading steps both readers share: no message except for dimensions out of range.
std::optional<AnatomyVolume> ReadChecked(CSulcanDoc& doc, Ui& ui, const std::string& path) {
    doc.SetSuppressMessages(false);
    AnatomyVolume volume;
    const AnatomyReadStatus status = ReadAnatomyFile(path, volume);
    if (status == AnatomyReadStatus::DimensionsOutOfRange) {
        ui.Message(msg::kAnatomyDimensionsOutOfRange);
        doc.SetSuppressMessages(true);
    }
    if (status != AnatomyReadStatus::Ok) return std::nullopt;
    return volume;
}

}  // namespace

int LoadAnatomy(CSulcanDoc& doc, Ui& ui, const std::string& path) {
    auto volume = ReadChecked(doc, ui, path);
    if (!volume) return 0;
    doc.InstallAnatomy(std::move(volume->data), volume->dims);
    return 1;
}

std::optional<AnatomyReplacement> ReadAnatomyForReplace(CSulcanDoc& doc, Ui& ui,
                                                        const std::string& path) {
    if (path.empty()) return std::nullopt;
    auto volume = ReadChecked(doc, ui, path);
    if (!volume) return std::nullopt;
    AnatomyReplacement r{std::move(*volume)};
    if (r.volume.dims == doc.dims()) return r;
    Question q{msg::kMismatchCaption,
               {msg::kMismatchLines[0], msg::kMismatchLines[1], msg::kMismatchLines[2]},
               {msg::kEmptyClassification, msg::kResizeClassification, msg::kCancel},
               1,
               2};
    switch (ui.Ask(q)) {
        case 0: r.emptyClassification = true; break;
        case 1: r.resizeClassification = true; break;
        default: doc.SetSuppressMessages(true); return std::nullopt;
    }
    return r;
}

namespace {

std::string InitialAnatomyName(CommandContext& c) {
    const ProjectSettings& s = c.doc.settings();
    const std::string stored = s.FileName(ProjectFile::Anatomy, false);
    if (stored.empty()) return c.locations.PathIn(kLocationAnatomy, msg::kAnatomyDefaultName);
    // A relative name without a project folder to stand on is taken in the anatomy location.
    if (!IsAbsolutePath(stored) && s.projectPath().empty())
        return c.locations.PathIn(kLocationAnatomy, stored);
    return s.FileName(ProjectFile::Anatomy, true);
}

// The classification for the new size; false when memory runs out (nothing changed then).
bool ReplaceClassification(CommandContext& c, const AnatomyReplacement& r) {
    std::vector<uint8_t> labels;
    try {
        labels = r.resizeClassification
                     ? ResizeVolume(c.doc.classification().data(), c.doc.dims(), r.volume.dims)
                     : std::vector<uint8_t>(r.volume.dims.voxels(), 0);
    } catch (const std::bad_alloc&) {
        c.ui.Message(msg::kInsufficientMemory);
        return false;
    }
    c.doc.settings().SetFileName(ProjectFile::Classification, "");
    c.doc.ReleaseGrayGraph();
    c.doc.InstallClassification(std::move(labels));
    return true;
}

}  // namespace

void LoadAnatomyCommand(CommandContext& c) {
    FileRequest request;
    request.title = msg::kSelectNewAnatomy;
    request.filter = msg::kAnatomyFilter;
    request.initialPath = InitialAnatomyName(c);
    request.fileMustExist = true;
    auto choice = c.ui.ChooseFile(request);
    if (!choice) return;
    c.locations.RecordLastLocation(kLocationAnatomy, choice->path);
    auto replacement = ReadAnatomyForReplace(c.doc, c.ui, choice->path);
    if (!replacement) {
        if (!c.doc.suppressMessages()) c.ui.Message(msg::kUnableToLoadAnatomy);
        return;
    }
    const bool newSize = replacement->resizeClassification || replacement->emptyClassification;
    if (newSize && (!OfferToSaveClassification(c, msg::kSaveClassBeforeAnatomy,
                                                msg::kUnableToSaveContinue) ||
                    !ReplaceClassification(c, *replacement)))
        return;
    const VolumeDims dims = replacement->volume.dims;
    c.doc.InstallAnatomy(std::move(replacement->volume.data), dims);
    c.doc.settings().SetFileName(ProjectFile::Anatomy, choice->path);
    ClampVoi(c.doc.voi(), dims.x, dims.y, dims.z);
    c.doc.NotifyDimensionsChanged();
}

void SaveVoiAsAnatomy(CSulcanDoc& doc, Ui& ui, const VoiBox& box, const std::string& path) {
    const AnatomyWriteResult r = WriteAnatomyFile(path, doc.anatomy().data(), doc.dims(), box);
    const char* cause = FileErrorTextOfErrno(r.error);
    switch (r.status) {
        case AnatomyWriteStatus::Ok: return;
        case AnatomyWriteStatus::CreateFailed:
            ui.Message(msg::kUnableToOpenForWriting, msg::kSaveVoiCaption);
            return;
        case AnatomyWriteStatus::HeaderFailed:
            ui.Message(Format(msg::kProblemWritingAnatomyHeader, cause), msg::kSaveVoiHeaderCaption);
            break;
        case AnatomyWriteStatus::DataFailed:
            ui.Message(Format(msg::kProblemSavingVoi, cause), msg::kSaveVoiCaption);
            break;
    }
    if (r.removeFailed) ui.Message(msg::kCouldNotDeleteFailed);
}

void SaveVoiAsAnatomyCommand(CommandContext& c, const VoiBox& box) {
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.filter = msg::kAnatomyFilter;
    request.initialPath = WithTrailingSlash(c.locations.GetLocation(kLocationAnatomy, true));
    request.askBeforeOverwrite = true;
    auto choice = c.ui.ChooseFile(request);
    if (!choice) return;
    c.locations.RecordLastLocation(kLocationAnatomy, choice->path);
    ProcessingNotice notice(c.ui, msg::kSavingVoiAsAnatomy);
    SaveVoiAsAnatomy(c.doc, c.ui, box, choice->path);
}

}  // namespace sulcan
