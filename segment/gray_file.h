#pragma once
// The gray graph file (.gray): the selected nodes of the gray graph with their layers and the
// edges among them, all integers signed 32-bit big-endian, then the time of writing as text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "worker/WorkerDialogModel.h"

namespace sulcan {

class CSulcanDoc;
class File;
class FileLocations;
class Ui;
struct GrayGraph;
struct WorkerTask;

struct GrayFileNode {
    int32_t x = 0, y = 0, z = 0;
    int32_t edgeCount = 0;
    int32_t firstEdge = 0;  // index of its first entry in the edge list
    int32_t layer = 0;
    bool operator==(const GrayFileNode&) const = default;
};

struct GrayFileContents {
    int32_t xsize = 0, ysize = 0, zsize = 0;
    int32_t nodeCount = 0, edgeCount = 0;
    std::vector<GrayFileNode> nodes;
    std::vector<int32_t> edges;  // node numbers 0..nodeCount-1
};

inline constexpr int kGrayHeaderBytes = 20;
inline constexpr int kGrayRecordBytes = 24;

// WriteGrayFile's results besides the node count (> 0) and 0 (no node selected).
inline constexpr int kGrayWriteOutOfMemory = -1;
inline constexpr int kGrayWriteError = -2;  // already reported
inline constexpr int kGrayWriteCancelled = -3;

// Writes N, E, the records of the nodes whose voxel is selected (renumbered in graph order),
// their edges to each other and the trailer to a file whose three sizes are already written.
// Always closes the file.
int WriteGrayFile(const GrayGraph& graph, File& file, Ui& ui, WorkerTask* task);

// The worker body of "Save selected gray": writes the file at `path` or deletes what was
// written. 1 saved, 0 not saved (every cause already reported).
int SaveSelectedGray(CSulcanDoc& doc, Ui& ui, const std::string& path, WorkerTask* task);
// Fills a task record that runs SaveSelectedGray ("Saving gray matter graph").
void MakeSaveGrayTask(WorkerTask& task, CSulcanDoc& doc, Ui& ui, const std::string& path);

// Whether "Save selected &gray" is enabled: gray changed or some gray selected.
bool SaveSelectedGrayEnabled(CSulcanDoc& doc);
// The command "Save selected &gray": the hint when nothing is selected, the file dialog, the
// worker; on success the path becomes the project's gray file. 1 saved, else 0.
int SaveSelectedGrayCommand(CSulcanDoc& doc, Ui& ui, FileLocations& locations,
                            const WorkerRunner& run);

// Reads and validates a gray file; nothing when it cannot be read or any record is invalid.
std::optional<GrayFileContents> ReadGrayFile(const std::string& path);

}  // namespace sulcan
