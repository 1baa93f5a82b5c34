#include "volume/class_commands.h"

#include <cerrno>
#include <cstdio>
#include <new>

#include "platform/byte_io.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "volume/file_error.h"
#include "volume/messages.h"
#include "volume/text_line.h"
#include "volume/volume_resize.h"

namespace sulcan {

namespace {

// Reads "key=value" header lines one after another; a missing or unparsable line fails.
class HeaderLines {
public:
    explicit HeaderLines(std::FILE* f) : f_(f) {}
    std::optional<std::string> Next() { return ReadTextLine(f_, kHeaderLineCapacity); }
    static bool Int(const std::optional<std::string>& line, const char* format, int& out) {
        return line && std::sscanf(line->c_str(), format, &out) == 1;
    }
    bool NextInt(const char* format, int& out) { return Int(Next(), format, out); }
    bool NextFloat(const char* format, float& out) {
        auto line = Next();
        return line && std::sscanf(line->c_str(), format, &out) == 1;
    }

private:
    std::FILE* f_;
};

// The version lines; false after the message of a refused version.
bool ReadVersion(HeaderLines& in, Ui& ui, const std::optional<std::string>& first,
                 ClassFileHeader& h) {
    auto second = in.Next();
    if (!second) {
        ui.Message(msg::kBadVersionNumber, msg::kClassLoadErrorCaption);
        return false;
    }
    if (!HeaderLines::Int(second, "minor=%d", h.minor)) {
        ui.Message(msg::kMinorNotRead, msg::kClassLoadErrorCaption);
        return false;
    }
    HeaderLines::Int(first, "version=%d", h.version);
    if (h.version != 2 || (h.minor != 1 && h.minor != 2)) {
        ui.Message(msg::kVersionRefused, msg::kClassLoadErrorCaption);
        return false;
    }
    VoiBox& v = h.voi;
    return in.NextInt("voi_xmin=%d", v.xmin) && in.NextInt("voi_xmax=%d", v.xmax) &&
           in.NextInt("voi_ymin=%d", v.ymin) && in.NextInt("voi_ymax=%d", v.ymax) &&
           in.NextInt("voi_zmin=%d", v.zmin) && in.NextInt("voi_zmax=%d", v.zmax);
}

// The size question: false when the user abandons the load.
bool DecideResize(CSulcanDoc& doc, Ui& ui, ClassFileContents& c) {
    const ProjectSettings& s = doc.settings();
    const VolumeDims& d = c.header.dims;
    if (d == VolumeDims{s.xsize(), s.ysize(), s.zsize()}) return true;
    if (doc.anatomy().empty() || doc.AnatomyIsEmpty()) {
        c.resizeAnatomy = true;
        return true;
    }
    if (ui.Message(msg::kClassSizeMismatch, "", Buttons::OkCancel, Icon::Exclamation) ==
        Answer::Ok) {
        c.resizeClassification = true;
        return true;
    }
    doc.SetSuppressMessages(true);
    return false;
}

bool ReadParametersAndLabels(HeaderLines& in, std::FILE* f, ClassFileContents& c) {
    ClassFileHeader& h = c.header;
    if (!in.NextFloat("csf_mean=%f", h.csfMean) || !in.NextFloat("gray_mean=%f", h.grayMean) ||
        !in.NextFloat("white_mean=%f", h.whiteMean) || !in.NextFloat("stdev=%f", h.stdev) ||
        !in.NextFloat("confidence=%f", h.confidence) ||
        !in.NextInt("smoothness=%d", h.smoothness))
        return false;
    const size_t n = h.dims.voxels();
    const long long left = BytesLeftInFile(f);
    if (left >= 0 && (unsigned long long)left < n) return false;  // before allocating
    c.labels.resize(n);
    return std::fread(c.labels.data(), 1, n, f) == n;
}

// Everything after the file was opened; false on any failure.
bool ReadClassContents(CSulcanDoc& doc, Ui& ui, std::FILE* f, ClassFileContents& c) {
    HeaderLines in(f);
    ClassFileHeader& h = c.header;
    auto first = in.Next();
    int version;
    if (HeaderLines::Int(first, "version=%d", version)) {
        if (!ReadVersion(in, ui, first, h)) return false;
    } else {
        ui.Message(msg::kCouldNotReadVersion, msg::kErrorCaption);
        h.version = 2;
        h.minor = 0;
    }
    if (!in.NextInt("xsize=%d", h.dims.x) || !in.NextInt("ysize=%d", h.dims.y) ||
        !in.NextInt("zsize=%d", h.dims.z) || !h.dims.valid())
        return false;
    if (!DecideResize(doc, ui, c)) return false;
    if (h.minor == 0) h.voi = VoiBox::Whole(h.dims);
    return ReadParametersAndLabels(in, f, c);
}

}  // namespace

std::optional<ClassFileContents> ReadClassFile(CSulcanDoc& doc, Ui& ui, const std::string& path) {
    doc.SetSuppressMessages(false);
    File file(path, "rb");
    if (!file) {
        ui.Message(msg::kCouldNotOpenClassFile, msg::kErrorCaption);
        return std::nullopt;
    }
    ClassFileContents contents;
    bool ok = false;
    try {
        ok = ReadClassContents(doc, ui, file.get(), contents);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) {
        ui.Message(msg::kGotHereNotOkay, msg::kErrorCaption);
        return std::nullopt;
    }
    return contents;
}

namespace {

// Lowers every bound above size - 1 of its axis.
void LowerVoiInto(VoiBox& b, const VolumeDims& d) {
    auto lower = [](int32_t& v, int32_t size) { v = std::min(v, size - 1); };
    lower(b.xmin, d.x), lower(b.xmax, d.x), lower(b.ymin, d.y), lower(b.ymax, d.y);
    lower(b.zmin, d.z), lower(b.zmax, d.z);
}

// Fits the file's labels (or the empty anatomy) to the other volume. False when out of
// memory; nothing in the document has changed then.
bool FitVolumes(CSulcanDoc& doc, ClassFileContents& c, std::vector<uint8_t>& newAnatomy) {
    try {
        if (c.resizeClassification) {
            c.labels = ResizeVolume(c.labels.data(), c.header.dims, doc.dims());
            c.header.dims = doc.dims();
            LowerVoiInto(c.header.voi, c.header.dims);
        } else if (c.resizeAnatomy) {
            const VolumeDims from = doc.anatomy().empty() ? c.header.dims : doc.dims();
            newAnatomy = doc.anatomy().empty()
                             ? std::vector<uint8_t>(c.header.dims.voxels(), 0)
                             : ResizeVolume(doc.anatomy().data(), from, c.header.dims);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void InstallResizedAnatomy(CSulcanDoc& doc, std::vector<uint8_t> anatomy, const VolumeDims& d) {
    doc.InstallAnatomy(std::move(anatomy), d);
    const CursorPoint& cur = doc.cursor();
    doc.SetCursor(std::min(cur.x, d.x - 1), std::min(cur.y, d.y - 1), std::min(cur.z, d.z - 1),
                  -1, true);
    doc.NotifyDimensionsChanged();
}

void TakeParameters(ProjectSettings& s, const ClassFileHeader& h) {
    s.SetClassification({h.csfMean, h.grayMean, h.whiteMean, h.stdev, h.confidence, h.smoothness});
}

}  // namespace

int LoadClassification(CSulcanDoc& doc, Ui& ui, const std::string& path) {
    if (path.empty()) return 0;
    doc.SetSuppressMessages(false);
    auto contents = ReadClassFile(doc, ui, path);
    if (!contents) {
        if (!doc.suppressMessages())
            ui.Message(msg::kFailedReadingClassFile, "", Buttons::Ok, Icon::Exclamation);
        return 0;
    }
    std::vector<uint8_t> newAnatomy;
    if (!FitVolumes(doc, *contents, newAnatomy)) return 0;
    if (contents->resizeAnatomy) InstallResizedAnatomy(doc, std::move(newAnatomy), contents->header.dims);
    // A box from a hostile file would send the region operations out of the volume.
    VoiBox voi = contents->header.voi;
    ClampVoi(voi, contents->header.dims.x, contents->header.dims.y, contents->header.dims.z);
    doc.SetVoi(voi);
    if (contents->resizeClassification) {
        doc.SetClassificationChanged(true);
        doc.settings().SetFileName(ProjectFile::Classification, "");
    } else {
        doc.settings().SetFileName(ProjectFile::Classification, path);
        doc.SetClassificationChanged(false);
    }
    TakeParameters(doc.settings(), contents->header);
    doc.ReleaseGrayGraph();
    doc.InstallClassification(std::move(contents->labels));
    doc.SetGrayChanged(false);
    doc.UpdateAllViews(kChangeVolumesReplaced);
    return 1;
}

// ---------------------------------------------------------------- writing

namespace {

// Deletes a failed output file, saying so when even that fails.
void RemoveFailedFile(Ui& ui, const std::string& path) {
    if (std::remove(path.c_str()) != 0) ui.Message(msg::kCouldNotDeleteFailed, msg::kSaveClassCaption);
}

void KeepBackup(const std::string& path) {
    const std::string backup = path + ".backup";
    std::remove(backup.c_str());
    std::rename(path.c_str(), backup.c_str());
}

ClassFileHeader HeaderOf(const CSulcanDoc& doc, const VoiBox& voi) {
    ClassFileHeader h;
    h.voi = voi;
    h.dims = doc.dims();
    const ClassificationParameters& p = doc.settings().classification();
    h.csfMean = p.csfMean, h.grayMean = p.grayMean, h.whiteMean = p.whiteMean;
    h.stdev = p.noiseStdev, h.confidence = p.confidence, h.smoothness = p.smoothness;
    return h;
}

void ReportWriteFailure(Ui& ui, const ClassWriteResult& r) {
    const char* cause = FileErrorTextOfErrno(r.error);
    switch (r.status) {
        case ClassWriteStatus::HeaderFailed:
            ui.Message(Format(msg::kProblemSavingClassHeader, cause), msg::kSaveClassCaption);
            break;
        case ClassWriteStatus::OutOfMemory:
            ui.Message(msg::kOutOfMemory, msg::kSaveClassCaption);
            ui.Message(msg::kProblemSavingClass, msg::kSaveClassCaption);
            break;
        case ClassWriteStatus::DataFailed:
            ui.Message(Format(msg::kProblemSavingClassPlane, cause), msg::kSaveClassCaption);
            ui.Message(msg::kProblemSavingClass, msg::kSaveClassCaption);
            break;
        case ClassWriteStatus::Ok: break;
    }
}

}  // namespace

int WriteClassFile(CSulcanDoc& doc, Ui& ui, const VoiBox& voi, const std::string& path) {
    KeepBackup(path);
    File file(path, "wb");
    if (!file) {
        ui.Message(msg::kUnableToOpenOutput, msg::kSaveClassCaption);
        ui.Message(Format(msg::kFilenameError, path.c_str(), FileErrorTextOfErrno(file.openError())),
                   msg::kSaveClassCaption);
        return 0;
    }
    ClassWriteResult result = WriteClassVolume(file.get(), HeaderOf(doc, voi),
                                               doc.classification().data());
    errno = 0;
    if (!file.Close() && result.status == ClassWriteStatus::Ok)
        result = {ClassWriteStatus::DataFailed, errno ? errno : EIO};
    if (result.status != ClassWriteStatus::Ok) {
        ReportWriteFailure(ui, result);
        RemoveFailedFile(ui, path);
        return 0;
    }
    doc.SetClassificationChanged(false);
    return 1;
}

int SaveClassification(CommandContext& c, const std::string& path) {
    c.saveFlags.cancelled = false;
    if (path.empty()) {
        SaveClassificationAs(c);
        return c.saveFlags.failed || c.saveFlags.cancelled ? 0 : 1;
    }
    ProcessingNotice notice(c.ui, msg::kSavingClassification);
    return WriteClassFile(c.doc, c.ui, c.doc.GetVoi(), path);
}

namespace {
std::string ProposedClassName(CommandContext& c) {
    const ProjectSettings& s = c.doc.settings();
    const std::string name = s.FileName(ProjectFile::Classification, true);
    if (name.empty()) return c.locations.PathIn(kLocationClassification, s.projectName() + msg::kClassExtension);
    if (!IsAbsolutePath(name)) return c.locations.PathIn(kLocationClassification, name);
    return name;
}
}  // namespace

void SaveClassificationAs(CommandContext& c) {
    c.saveFlags = {};
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.filter = msg::kClassFilter;
    request.initialPath = ProposedClassName(c);
    request.askBeforeOverwrite = true;
    auto choice = c.ui.ChooseFile(request);
    if (!choice) {
        c.saveFlags.cancelled = c.saveFlags.failed = true;
        return;
    }
    c.locations.RecordLastLocation(kLocationClassification, choice->path);
    int ok;
    {
        ProcessingNotice notice(c.ui, msg::kSavingClassification);
        ok = WriteClassFile(c.doc, c.ui, c.doc.GetVoi(), choice->path);
    }
    if (ok)
        c.doc.settings().SetFileName(ProjectFile::Classification, choice->path);
    else
        c.saveFlags.failed = true;
}

// ---------------------------------------------------------------- commands

bool OfferToSaveClassification(CommandContext& c, const char* question, const char* goOnAnyway) {
    if (!c.doc.ClassificationChanged()) return true;
    Answer a = c.ui.Message(question, "", Buttons::YesNoCancel, Icon::Question);
    if (a == Answer::Cancel) return false;
    if (a == Answer::No) return true;
    if (SaveClassification(c, c.doc.settings().FileName(ProjectFile::Classification, true)))
        return true;
    if (c.saveFlags.cancelled) return false;
    return c.ui.Message(goOnAnyway, "", Buttons::YesNo, Icon::Exclamation) == Answer::Yes;
}

void LoadClassificationCommand(CommandContext& c) {
    if (!OfferToSaveClassification(c, msg::kSaveClassChanges, msg::kUnableToSaveClassContinue))
        return;
    if (c.doc.GrayChanged() &&
        c.ui.Message(msg::kGrayNotSaved, "", Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return;
    FileRequest request;
    request.title = msg::kSelectClassificationFile;
    request.filter = msg::kClassFilter;
    request.initialPath = WithTrailingSlash(c.locations.GetLocation(kLocationClassification, true));
    request.fileMustExist = true;
    auto choice = c.ui.ChooseFile(request);
    if (!choice) return;
    c.locations.RecordLastLocation(kLocationClassification, choice->path);
    if (!LoadClassification(c.doc, c.ui, choice->path) && !c.doc.suppressMessages())
        c.ui.Message(msg::kLoadingClassificationFailed, "", Buttons::Ok, Icon::Exclamation);
}

bool SaveClassificationEnabled(const CSulcanDoc& doc) { return doc.ClassificationChanged(); }

void SaveClassificationCommand(CommandContext& c) {
    if (!SaveClassification(c, c.doc.settings().FileName(ProjectFile::Classification, true)) &&
        !c.saveFlags.cancelled)
        c.ui.Message(msg::kUnableToSaveClass, "", Buttons::Ok, Icon::Exclamation);
}

void SaveClassificationAsCommand(CommandContext& c) { SaveClassificationAs(c); }

}  // namespace sulcan
