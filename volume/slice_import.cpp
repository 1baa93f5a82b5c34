#include "volume/slice_import.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/byte_io.h"
#include "platform/format.h"
#include "volume/messages.h"

namespace sulcan {

using Status = SliceImportStatus;

std::optional<int> SliceNumberOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return std::nullopt;
    const std::string ext = name.substr(dot + 1);
    int number = 0;
    if (std::sscanf(ext.c_str(), "%03d", &number) != 1) return std::nullopt;
    char back[16];
    std::snprintf(back, sizeof back, "%03d", number);
    if (ext != back) return std::nullopt;
    return number;
}

std::string SliceFolderOf(const std::string& folderText) {
    if (!folderText.empty() && folderText.back() == '/')
        return folderText.substr(0, folderText.size() - 1);
    return folderText;
}

std::string SlicePatternOf(const std::string& folder) {
    return Format("%s/%s", folder.c_str(), kSliceNamePattern);
}

std::vector<std::string> ListSliceNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir))
        if (fnmatch(kSliceNamePattern, entry->d_name, 0) == 0) names.emplace_back(entry->d_name);
    closedir(dir);
    return names;
}

namespace {

constexpr char kMark[4] = {'I', 'M', 'G', 'F'};

struct SliceHeader {
    uint32_t dataOffset = 0;
    int32_t width = 0, height = 0;
    unsigned long long fileSize = 0;
};

enum class OpenStatus { Ok, CannotOpen, NotMarked, Damaged };

// Opens a slice file and reads its header. Anything but a regular file counts as unopenable:
// a directory or a pipe of that name must not block or be read as a slice.
OpenStatus OpenSlice(const std::string& path, File& file, SliceHeader& h) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !file.Open(path, "rb"))
        return OpenStatus::CannotOpen;
    h.fileSize = (unsigned long long)st.st_size;
    ByteReader r(file.get());
    char mark[4];
    if (!r.Bytes(mark, 4) || std::memcmp(mark, kMark, 4) != 0) return OpenStatus::NotMarked;
    uint32_t width = 0, height = 0;
    if (!r.BE32(h.dataOffset) || !r.BE32(width) || !r.BE32(height)) return OpenStatus::Damaged;
    h.width = int32_t(width);
    h.height = int32_t(height);
    return OpenStatus::Ok;
}

size_t SampleBytes(const VolumeDims& dims) {
    return dims.planeStride() * 2;
}

// Called with the width and height already checked against the anatomy limits.
bool DataFits(const SliceHeader& h, const VolumeDims& dims) {
    return (unsigned long long)h.dataOffset + SampleBytes(dims) <= h.fileSize;
}

bool SameSize(const SliceHeader& h, const VolumeDims& dims) {
    return h.width == dims.x && h.height == dims.y;
}

SliceImportResult Outcome(Status status, const std::string& path = {}, VolumeDims dims = {}) {
    return {status, path, dims};
}

// What both passes do per slice, with its open file and header; a result other than Ok stops
// the command.
using SliceVisitor =
    std::function<SliceImportResult(int number, const std::string& path, File&, SliceHeader&)>;

// Walks the names in order: the first name that is not a slice name or the first file without
// the mark ends the walk. Returns the largest slice number seen in dims.z.
SliceImportResult ForEachSlice(const std::string& folder, const std::vector<std::string>& names,
                               const SliceVisitor& visit) {
    int largest = 0;
    for (const std::string& name : names) {
        const std::optional<int> number = SliceNumberOf(name);
        if (!number) break;
        if (*number < 1) continue;  // no plane before slice 1
        largest = std::max(largest, *number);
        const std::string path = folder + "/" + name;
        File file;
        SliceHeader header;
        switch (OpenSlice(path, file, header)) {
            case OpenStatus::CannotOpen:
                return Outcome(Status::CannotOpen, path);
            case OpenStatus::Damaged:
                return Outcome(Status::Damaged, path);
            case OpenStatus::NotMarked:
                return Outcome(Status::Ok, {}, {0, 0, largest});
            case OpenStatus::Ok:
                break;
        }
        SliceImportResult r = visit(*number, path, file, header);
        if (r.status != Status::Ok) return r;
    }
    return Outcome(Status::Ok, {}, {0, 0, largest});
}

// The size every slice must have, from the first one read.
SliceImportResult TakeFirstSize(const SliceHeader& h, VolumeDims& dims) {
    if (h.width < 1 || h.height < 1) return Outcome(Status::DimensionsNoGood);
    if (h.width > kMaxDimension || h.height > kMaxDimension)
        return Outcome(Status::TooLarge, {}, {h.width, h.height, 0});
    dims.x = h.width;
    dims.y = h.height;
    return {};
}

}  // namespace

SliceImportResult ScanSlices(const std::string& folder, const std::vector<std::string>& names) {
    VolumeDims dims;
    int usable = 0;
    SliceImportResult r =
        ForEachSlice(folder, names, [&](int, const std::string& path, File&, SliceHeader& h) {
            if (usable == 0) {
                SliceImportResult first = TakeFirstSize(h, dims);
                if (first.status != Status::Ok) return first;
            } else if (!SameSize(h, dims)) {
                return Outcome(Status::NotSameSize, path);
            }
            if (!DataFits(h, dims)) return Outcome(Status::Damaged, path);
            ++usable;
            return SliceImportResult{};
        });
    if (r.status != Status::Ok) return r;
    if (usable == 0) return Outcome(Status::NoFiles);
    dims.z = r.dims.z;
    if (dims.z > kMaxDimension) return Outcome(Status::TooManySlices, {}, dims);
    return {Status::Ok, {}, dims};
}

SliceImportResult ReadSlices(const std::string& folder, const std::vector<std::string>& names,
                             const VolumeDims& dims, AnatomyVolume& out) {
    if (!dims.valid()) return Outcome(Status::NoFiles);
    std::vector<uint8_t> data, samples;
    try {
        data.assign(dims.voxels(), 0);
        samples.resize(SampleBytes(dims));
    } catch (const std::bad_alloc&) {
        return Outcome(Status::OutOfMemory);
    }
    SliceImportResult r = ForEachSlice(
        folder, names, [&](int number, const std::string& path, File& file, SliceHeader& h) {
            // The files may have changed since the scan.
            if (!SameSize(h, dims)) return Outcome(Status::NotSameSize, path);
            if (number > dims.z) return Outcome(Status::TooManySlices, {}, {0, 0, number});
            if (!DataFits(h, dims) || fseeko(file.get(), off_t(h.dataOffset), SEEK_SET) != 0 ||
                !ByteReader(file.get()).Bytes(samples.data(), samples.size()))
                return Outcome(Status::Damaged, path);
            uint8_t* plane = data.data() + dims.index(0, 0, number - 1);
            for (size_t i = 0; i < dims.planeStride(); ++i) plane[i] = samples[2 * i + 1];
            return SliceImportResult{};
        });
    if (r.status != Status::Ok) return r;
    out.dims = dims;
    out.data = std::move(data);
    return {Status::Ok, {}, dims};
}

namespace {

SliceImportResult ImportUnguarded(const std::string& folderText,
                                  const OutputChooser& chooseOutput) {
    const std::string folder = SliceFolderOf(folderText);
    const std::vector<std::string> names = ListSliceNames(folder);
    SliceImportResult scan = ScanSlices(folder, names);
    if (scan.status != Status::Ok) return scan;
    const std::optional<std::string> output = chooseOutput();
    if (!output) return Outcome(Status::Cancelled);
    AnatomyVolume anatomy;
    SliceImportResult read = ReadSlices(folder, names, scan.dims, anatomy);
    if (read.status != Status::Ok) return read;
    const AnatomyWriteResult written =
        WriteAnatomyFile(*output, anatomy.data.data(), anatomy.dims, VoiBox::Whole(anatomy.dims));
    switch (written.status) {
        case AnatomyWriteStatus::Ok:
            return {Status::Ok, *output, anatomy.dims};
        case AnatomyWriteStatus::CreateFailed:
            return Outcome(Status::CreateFailed, *output);
        default:
            return Outcome(Status::WriteFailed, *output);
    }
}

}  // namespace

SliceImportResult ImportSlices(const std::string& folderText, const OutputChooser& chooseOutput) {
    // The volume and slice buffers are guarded where they are made; this catches the small
    // allocations (names, paths) that a starved process can also fail.
    try {
        return ImportUnguarded(folderText, chooseOutput);
    } catch (const std::bad_alloc&) {
        return Outcome(Status::OutOfMemory);
    }
}

std::string SliceImportMessage(const SliceImportResult& r, const std::string& pattern) {
    namespace m = msg::slices;
    const char* path = r.path.c_str();
    switch (r.status) {
        case Status::Ok:
            return Format(m::kLoadedAndSaved, path);
        case Status::Cancelled:
            return {};
        case Status::NoFiles:
            return Format(m::kNoFilesMatching, pattern.c_str());
        case Status::CannotOpen:
            return Format(m::kCannotOpenFile, path);
        case Status::DimensionsNoGood:
            return m::kDimensionsNoGood;
        case Status::TooLarge:
            return Format(m::kSlicesTooLarge, r.dims.x, r.dims.y);
        case Status::TooManySlices:
            return Format(m::kTooManySlices, r.dims.z);
        case Status::NotSameSize:
            return m::kNotAllSameSize;
        case Status::Damaged:
            return Format(m::kSliceFileDamaged, path);
        case Status::OutOfMemory:
            return msg::kOutOfMemory;
        case Status::CreateFailed:
            return m::kErrorOpeningOutput;
        case Status::WriteFailed:
            return m::kErrorWritingOutput;
    }
    return {};
}

bool ImportSlicesDialogModel::Browse() {
    std::optional<std::string> chosen = ui_.ChooseFolder(msg::slices::kBrowseTitle, folder_);
    if (!chosen) return false;
    folder_ = *chosen;
    return true;
}

namespace {

std::optional<std::string> ChooseAnatomyOutput(Ui& ui, FileLocations& locations) {
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.filter = msg::kAnatomyFilter;
    request.initialPath = locations.PathIn(kLocationAnatomy, msg::kAnatomyDefaultName);
    request.askBeforeOverwrite = true;
    std::optional<FileChoice> choice = ui.ChooseFile(request);
    if (!choice) return std::nullopt;
    locations.RecordLastLocation(kLocationAnatomy, choice->path);
    return choice->path;
}

}  // namespace

void MakeAnatomyFromIFiles(Ui& ui, Profile& profile, FileLocations& locations,
                           const ImportSlicesDialog& showDialog) {
    ImportSlicesDialogModel model(ui, profile.GetString(kSettingsSection, kFilepathValue, ""));
    if (!showDialog(model)) return;
    // Remembered so the next import starts in the same folder.
    profile.SetString(kSettingsSection, kFilepathValue, model.folder());
    SliceImportResult r;
    {
        // The wait cursor while the folder is listed and read, not over the save dialog.
        WaitCursor busy(ui);
        r = ImportSlices(model.folder(), [&] {
            ui.SetWaitCursor(false);
            auto path = ChooseAnatomyOutput(ui, locations);
            ui.SetWaitCursor(true);
            return path;
        });
    }
    if (r.status == Status::Cancelled) return;
    const std::string pattern = SlicePatternOf(SliceFolderOf(model.folder()));
    const bool ok = r.status == Status::Ok;
    ui.Message(SliceImportMessage(r, pattern),
               ok ? msg::slices::kSuccessCaption : msg::slices::kErrorCaption, Buttons::Ok,
               ok ? Icon::Information : Icon::Exclamation);
}

}  // namespace sulcan
