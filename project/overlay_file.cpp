#include "project/overlay_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>
#include <new>
#include <vector>

#include "platform/byte_io.h"
#include "platform/format.h"
#include "project/file_locations.h"

namespace sulcan {

namespace {

// The part a summary names when memory ran out while reading.
constexpr const char* kSummaryPartMemory = "memory";

// Lines keep at most this many characters, as overlay files have always been read.
constexpr size_t kLineCharacters = 98;

// The physical lines of a file. A longer line keeps its first characters and still counts as
// one line, so a long comment stays a comment and line numbers match an editor's; a last line
// without its newline is read like any other.
class LineSource {
  public:
    explicit LineSource(std::FILE* file) : file_(file) {}
    bool Next(std::string& line);
    // The next line that is neither a comment nor blank.
    bool NextContent(std::string& line);
    int number() const { return number_ > INT_MAX ? INT_MAX : int(number_); }

  private:
    std::FILE* file_;
    int64_t number_ = 0;
};

bool LineSource::Next(std::string& line) {
    line.clear();
    int c = std::fgetc(file_);
    if (c == EOF) return false;
    size_t length = 0;
    for (; c != EOF && c != '\n'; c = std::fgetc(file_), ++length)
        if (length < kLineCharacters) line.push_back(char(c));
    if (length == line.size() && !line.empty() && line.back() == '\r') line.pop_back();
    ++number_;
    return true;
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Comments, and blank lines such as the empty line an editor leaves at the end of a file.
bool IsSkipped(const std::string& line) {
    if (!line.empty() && line[0] == '%') return true;
    return std::all_of(line.begin(), line.end(), IsBlank);
}

bool LineSource::NextContent(std::string& line) {
    while (Next(line))
        if (!IsSkipped(line)) return true;
    return false;
}

// Reads `count` numbers the way "%f %f ..." does (blanks before each, text after the last
// ignored), but independent of the user's locale, which may not use "." as decimal point.
bool ParseNumbers(const std::string& line, float* out, int count) {
    const char* p = line.data();
    const char* const end = p + line.size();
    for (int i = 0; i < count; ++i) {
        while (p < end && IsBlank(*p)) ++p;
        if (p < end && *p == '+' && (p + 1 == end || p[1] != '-')) ++p;
        auto [next, error] = std::from_chars(p, end, out[i]);
        if (error != std::errc()) return false;
        p = next;
    }
    return true;
}

// The integer part of v when it lies in lo..hi. Checked in double before any conversion, so
// NaN, infinities and huge values never reach an integer cast.
std::optional<int64_t> TruncatedIn(float v, double lo, double hi) {
    const double t = std::trunc(double(v));
    if (!(t >= lo && t <= hi)) return std::nullopt;
    return int64_t(t);
}

using PointSink = std::function<void(const float* xyz, uint32_t colour)>;

// One file from its start to its end or its first error. Throws std::bad_alloc.
class OverlayFileParser {
  public:
    explicit OverlayFileParser(std::FILE* file) : lines_(file) {}
    std::optional<OverlayFileError> Read(const ColourConversion& convert, const PointSink& sink);
    // The size the count line gave, 0 before it was read.
    int paletteSize() const { return count_; }

  private:
    std::optional<OverlayFileError> ReadCount();
    std::optional<OverlayFileError> ReadPalette();
    std::optional<OverlayFileError> ReadPoints(const PointSink& sink);
    OverlayFileError ErrorIn(const char* part) const { return {part, lines_.number()}; }

    LineSource lines_;
    std::string line_;
    int count_ = 0;
    std::vector<uint32_t> palette_;
};

std::optional<OverlayFileError> OverlayFileParser::Read(const ColourConversion& convert,
                                                        const PointSink& sink) {
    if (auto error = ReadCount()) return error;
    if (auto error = ReadPalette()) return error;
    if (convert)
        for (uint32_t& colour : palette_) colour = convert(colour);
    return ReadPoints(sink);
}

std::optional<OverlayFileError> OverlayFileParser::ReadCount() {
    float value = 0;
    if (!lines_.NextContent(line_) || !ParseNumbers(line_, &value, 1))
        return ErrorIn(msg::kOverlayPartFiles);
    const auto size = TruncatedIn(value, 1, kMaxOverlayPalette);
    if (!size) return ErrorIn(msg::kOverlayPartFiles);
    count_ = int(*size);
    return std::nullopt;
}

std::optional<OverlayFileError> OverlayFileParser::ReadPalette() {
    palette_.reserve(size_t(count_));
    for (int i = 0; i < count_; ++i) {
        float rgb[3];
        if (!lines_.NextContent(line_) || !ParseNumbers(line_, rgb, 3))
            return ErrorIn(msg::kOverlayPartPalette);
        uint32_t colour = 0;
        for (float component : rgb) {
            const auto c = TruncatedIn(component, INT32_MIN, INT32_MAX);
            if (!c) return ErrorIn(msg::kOverlayPartPalette);
            colour = colour << 8 | uint32_t(int32_t(*c));
        }
        palette_.push_back(colour);
    }
    return std::nullopt;
}

std::optional<OverlayFileError> OverlayFileParser::ReadPoints(const PointSink& sink) {
    while (lines_.NextContent(line_)) {
        float point[4];
        if (!ParseNumbers(line_, point, 4)) return ErrorIn(msg::kOverlayPartData);
        const auto index = TruncatedIn(point[3], 1, double(palette_.size()));
        if (!index) return ErrorIn(msg::kOverlayPartData);
        sink(point, palette_[size_t(*index - 1)]);
    }
    return std::nullopt;
}

// Appends the points inside the volume to the set.
PointSink InsideVolume(const VolumeDims& dims, OverlaySet& set) {
    return [&dims, &set](const float* xyz, uint32_t colour) {
        const auto x = TruncatedIn(xyz[0], 0, dims.x - 1);
        const auto y = TruncatedIn(xyz[1], 0, dims.y - 1);
        const auto z = TruncatedIn(xyz[2], 0, dims.z - 1);
        if (!x || !y || !z) return;
        set.positions.push_back(PackedVoxel::Pack(uint32_t(*x), uint32_t(*y), uint32_t(*z)));
        set.colours.push_back(colour);
    };
}

// Absolute paths of the files ReadOverlayList opens, in its order.
std::vector<std::string> ReadableFiles(const ProjectSettings& settings, OverlayList list) {
    std::vector<std::string> paths;
    for (int i = settings.ListCount(list) - 1; i >= 0; --i) {
        if (!settings.ListEnabled(list, i)) continue;
        std::string path = settings.ListEntry(list, i, true);
        if (!path.empty() && CanOpenOverlayFile(path)) paths.push_back(std::move(path));
    }
    return paths;
}

std::string ErrorText(OverlayList list, const OverlayFileError& error, const std::string& path) {
    return Format(msg::kOverlayReadErrorFormat, OverlayKindName(list), error.part, error.line,
                  path.c_str()) +
           msg::kOverlayReadErrorChoice;
}

void Widen(OverlayFileSummary& s, const double* t) {
    for (int k = 0; k < 3; ++k) {
        s.min[k] = s.hasBounds ? std::min(s.min[k], t[k]) : t[k];
        s.max[k] = s.hasBounds ? std::max(s.max[k], t[k]) : t[k];
    }
    s.hasBounds = true;
}

}  // namespace

const char* OverlayKindName(OverlayList list) {
    switch (list) {
        case OverlayList::Functional:
            return "Functional";
        case OverlayList::Roi:
            return "ROI";
        case OverlayList::Cut:
            return "Cut";
    }
    return "";
}

int OverlayLocationType(OverlayList list) {
    switch (list) {
        case OverlayList::Functional:
            return kLocationFunctional;
        case OverlayList::Roi:
            return kLocationRoi;
        case OverlayList::Cut:
            return kLocationCut;
    }
    return kLocationFunctional;
}

bool CanOpenOverlayFile(const std::string& path) {
    // Folders and devices open too on POSIX, but hold no lines (or never end).
    std::error_code ignored;
    if (path.empty() || !std::filesystem::is_regular_file(path, ignored)) return false;
    return bool(File(path, "rb"));
}

bool HasReadableOverlayFile(const ProjectSettings& settings, OverlayList list) {
    return !ReadableFiles(settings, list).empty();
}

std::optional<OverlaySet> ReadOverlayList(const ProjectSettings& settings, OverlayList list,
                                          const VolumeDims& dims, Ui& ui,
                                          const ColourConversion& convert) {
    try {
        OverlaySet set;
        for (const std::string& path : ReadableFiles(settings, list)) {
            File file(path, "rb");
            if (!file) continue;
            const auto error = OverlayFileParser(file.get()).Read(convert, InsideVolume(dims, set));
            if (error &&
                ui.Message(ErrorText(list, *error, path), {}, Buttons::OkCancel) == Answer::Cancel)
                return std::nullopt;
        }
        return set;
    } catch (const std::bad_alloc&) {
        ui.Message(msg::kOverlayOutOfMemory);
        return std::nullopt;
    }
}

OverlayFileSummary SummariseOverlayFile(const std::string& path) {
    OverlayFileSummary summary;
    File file;
    if (!CanOpenOverlayFile(path) || !file.Open(path, "rb")) return summary;
    summary.opened = true;
    OverlayFileParser parser(file.get());
    try {
        summary.error = parser.Read({}, [&summary](const float* xyz, uint32_t) {
            ++summary.pointLines;
            const double t[3] = {std::trunc(double(xyz[0])), std::trunc(double(xyz[1])),
                                 std::trunc(double(xyz[2]))};
            if (std::isfinite(t[0]) && std::isfinite(t[1]) && std::isfinite(t[2]))
                Widen(summary, t);
        });
    } catch (const std::bad_alloc&) {
        summary.error = OverlayFileError{kSummaryPartMemory, 0};
    }
    summary.paletteSize = parser.paletteSize();
    return summary;
}

}  // namespace sulcan
