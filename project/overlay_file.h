#pragma once
// Overlay point files (ROI, functional data, cuts) and the reader of a project's overlay lists.
//
// A file is text: "%" comment lines anywhere, a count line with the palette size p
// (1..1048576), p palette lines "red green blue", then point lines "x y z i" with a 1-based
// palette index. Every number is read as a float and truncated to an integer.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Ui.h"
#include "project/OverlaySet.h"
#include "project/ProjectSettings.h"
#include "volume/volume_types.h"

namespace sulcan {

namespace msg {
inline constexpr const char* kOverlayReadErrorFormat =
    "Error reading %s %s, line %d of file:\n\n%s\n";
inline constexpr const char* kOverlayReadErrorChoice =
    "\nSelect OK to continue with next file, Cancel to skip loading overlays.";
inline constexpr const char* kOverlayOutOfMemory = "Out of memory!\n";
// The part of a file an error lies in.
inline constexpr const char* kOverlayPartFiles = "files";
inline constexpr const char* kOverlayPartPalette = "palette";
inline constexpr const char* kOverlayPartData = "data";
}  // namespace msg

inline constexpr int kMaxOverlayPalette = 1048576;

// Turns a file colour (red * 65536 + green * 256 + blue) into the colour kept in the set.
// An empty function keeps the file's colours.
using ColourConversion = std::function<uint32_t(uint32_t)>;

// Name of a list's kind in messages: "Functional", "ROI", "Cut".
const char* OverlayKindName(OverlayList list);
// The file location type whose folder the list's file dialogs start in.
int OverlayLocationType(OverlayList list);

// A regular file that can be opened for reading.
bool CanOpenOverlayFile(const std::string& path);
// Whether ReadOverlayList would open at least one file of the list.
bool HasReadableOverlayFile(const ProjectSettings& settings, OverlayList list);

// Reads every enabled, named and openable entry of the list, last entry first, and appends the
// points inside dims to one set. An error in a file is shown with OK (next file, the points
// read so far stay) and Cancel; Cancel and lack of memory drop everything and give nothing.
std::optional<OverlaySet> ReadOverlayList(const ProjectSettings& settings, OverlayList list,
                                          const VolumeDims& dims, Ui& ui,
                                          const ColourConversion& convert = {});

struct OverlayFileError {
    const char* part = nullptr;  // msg::kOverlayPart*
    int line = 0;                // counted from 1, comment lines included
};

// What a file holds, for the command-line tool: read like ReadOverlayList reads it, without a
// volume, up to its first error.
struct OverlayFileSummary {
    bool opened = false;
    int paletteSize = 0;
    int64_t pointLines = 0;
    bool hasBounds = false;     // some point line with finite x, y and z
    double min[3] = {0, 0, 0};  // x, y, z truncated, over those point lines
    double max[3] = {0, 0, 0};
    std::optional<OverlayFileError> error;  // part "memory" when memory ran out
};
OverlayFileSummary SummariseOverlayFile(const std::string& path);

}  // namespace sulcan
