#include "segment/gray_file.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <new>

#include "platform/Ui.h"
#include "platform/byte_io.h"
#include "platform/format.h"
#include "project/file_locations.h"
#include "segment/gray_graph.h"
#include "segment/gray_grower.h"
#include "segment/messages.h"
#include "volume/CSulcanDoc.h"
#include "worker/WorkerTask.h"

namespace sulcan {

// ---- writing

namespace {

// Posts progress when the percentage changes; true when the task asks to stop then.
bool ReportAndCancelled(TaskLink task, int percent, int& last) {
    if (percent == last) return false;
    last = percent;
    task.Progress(percent);
    return task.Cancelled();
}

// New numbers of the selected nodes in graph order, -1 for the others; the count in `n`.
std::vector<int32_t> Renumber(const GrayGraph& g, int32_t& n) {
    std::vector<int32_t> numbers(g.nodes.size(), -1);
    n = 0;
    for (size_t i = 0; i < g.nodes.size(); ++i)
        if (g.LabelOf(g.nodes[i]) & SelectedBit) numbers[i] = n++;
    return numbers;
}

// Records of the numbered nodes, edges counted among numbered nodes only; false on cancel.
bool MakeRecords(const GrayGraph& g, const std::vector<int32_t>& numbers,
                 std::vector<GrayFileNode>& records, int32_t& edgeTotal, TaskLink task) {
    int last = -1;
    edgeTotal = 0;
    for (size_t i = 0; i < g.nodes.size(); ++i) {
        if (ReportAndCancelled(task, int(24 * int64_t(i) / int64_t(g.nodes.size())), last))
            return false;
        if (numbers[i] < 0) continue;
        const GrayNode& n = g.nodes[i];
        GrayFileNode& r = records[size_t(numbers[i])];
        r = {n.x, n.y, n.z, 0, edgeTotal, n.layer};
        for (int32_t j : g.Neighbours(int32_t(i))) r.edgeCount += numbers[size_t(j)] >= 0;
        edgeTotal += r.edgeCount;
    }
    return true;
}

// Big-endian integers gathered into slices on their way to the file.
class IntWriter {
  public:
    explicit IntWriter(ByteWriter& w) : w_(w), buffer_(kSlice) {}
    bool Put(int32_t v) {
        PutBE32(&buffer_[used_], uint32_t(v));
        used_ += 4;
        return used_ < kSlice || Flush();
    }
    bool Flush() {
        const bool ok = w_.Bytes(buffer_.data(), used_);
        used_ = 0;
        return ok;
    }

  private:
    static constexpr size_t kSlice = size_t(1) << 16;
    ByteWriter& w_;
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;
};

bool WriteRecords(ByteWriter& w, const std::vector<GrayFileNode>& records, int32_t edgeTotal) {
    IntWriter out(w);
    out.Put(int32_t(records.size()));
    out.Put(edgeTotal);
    for (const GrayFileNode& r : records)
        for (int32_t v : {r.x, r.y, r.z, r.edgeCount, r.firstEdge, r.layer}) out.Put(v);
    return out.Flush() && w.ok();
}

// The edge entries, one integer at a time: kGrayWriteError, kGrayWriteCancelled or 0.
int WriteEdges(ByteWriter& w, const GrayGraph& g, const std::vector<int32_t>& numbers, int32_t n,
               TaskLink task) {
    IntWriter out(w);
    int last = 49;
    for (size_t i = 0; i < g.nodes.size(); ++i) {
        if (numbers[i] < 0) continue;
        for (int32_t j : g.Neighbours(int32_t(i)))
            if (numbers[size_t(j)] >= 0 && !out.Put(numbers[size_t(j)])) return kGrayWriteError;
        if (ReportAndCancelled(task, 49 + int(50 * int64_t(numbers[i] + 1) / n), last))
            return kGrayWriteCancelled;
    }
    return out.Flush() ? 0 : kGrayWriteError;
}

int WriteBody(const GrayGraph& g, File& file, Ui& ui, TaskLink task) {
    if (g.nodes.empty()) return 0;
    int32_t n = 0, edgeTotal = 0;
    std::vector<int32_t> numbers;
    std::vector<GrayFileNode> records;
    try {
        numbers = Renumber(g, n);
        if (n == 0) return 0;
        records.resize(size_t(n));
    } catch (const std::bad_alloc&) {
        return kGrayWriteOutOfMemory;
    }
    if (!MakeRecords(g, numbers, records, edgeTotal, task)) return kGrayWriteCancelled;
    ByteWriter w(file.get());
    int last = -1;
    if (!WriteRecords(w, records, edgeTotal)) {
        ui.Message(msg::kProblemSavingGray, msg::kSaveGrayCaption);
        return kGrayWriteError;
    }
    if (ReportAndCancelled(task, 49, last)) return kGrayWriteCancelled;
    const int edges = WriteEdges(w, g, numbers, n, task);
    if (edges == kGrayWriteCancelled) return edges;
    if (edges == kGrayWriteError || !w.Text(Format("%ld\n", long(std::time(nullptr)))) ||
        !file.Close()) {
        ui.Message(msg::kProblemSavingGray, msg::kSaveGrayCaption);
        return kGrayWriteError;
    }
    return n;
}

void Tell(Ui& ui, const std::string& text) {
    ui.Message(text, msg::kSaveGrayCaption);
}

// Removes a file that must not be left behind.
void DeleteFailed(Ui& ui, const std::string& path) {
    if (std::remove(path.c_str()) != 0) Tell(ui, msg::kCouldNotDeleteTemp);
}

}  // namespace

int WriteGrayFile(const GrayGraph& graph, File& file, Ui& ui, WorkerTask* task) {
    const int result = WriteBody(graph, file, ui, TaskLink{task});
    file.Close();
    return result;
}

int SaveSelectedGray(CSulcanDoc& doc, Ui& ui, const std::string& path, WorkerTask* task) {
    const std::shared_ptr<GrayGraph> graph = doc.grayGraph();
    if (!graph) {
        Tell(ui, msg::kNoGrayToSave);
        return 0;
    }
    File file;
    if (!file.Open(path, "w+b")) {
        Tell(ui, msg::kUnableToOpenOutput);
        return 0;
    }
    ByteWriter w(file.get());
    for (int32_t size : {graph->dims.x, graph->dims.y, graph->dims.z}) w.BE32(uint32_t(size));
    if (!w.ok()) {
        Tell(ui, msg::kProblemSavingGray);
        file.Close();
        DeleteFailed(ui, path);
        return 0;
    }
    if (task) task->SetStage(0, 99);
    const int n = WriteGrayFile(*graph, file, ui, task);
    if (n > 0) {
        Tell(ui, Format(msg::kGrayNodesSaved, n, path.c_str()));
        doc.SetGrayChanged(false);
        return 1;
    }
    if (n == 0) Tell(ui, msg::kNoGrayNodesSelected);
    if (n == kGrayWriteOutOfMemory) Tell(ui, msg::kInsufficientMemory);
    DeleteFailed(ui, path);
    return 0;
}

void MakeSaveGrayTask(WorkerTask& task, CSulcanDoc& doc, Ui& ui, const std::string& path) {
    task.title = msg::kSaveGrayTitle;
    task.showProgress = 1, task.allowCancel = 1, task.showLog = 0, task.autoClose = 1;
    task.entry = [&doc, &ui, path](WorkerTask& t) {
        const int saved = SaveSelectedGray(doc, ui, path, &t);
        saved ? t.PostFinished() : t.PostCancelled();
        return unsigned(saved);
    };
}

bool SaveSelectedGrayEnabled(CSulcanDoc& doc) {
    return doc.GrayChanged() || doc.anySelectedGray();
}

int SaveSelectedGrayCommand(CSulcanDoc& doc, Ui& ui, FileLocations& locations,
                            const WorkerRunner& run) {
    if (!doc.anySelectedGray()) {
        ui.Message(msg::kNoGraySelectedHint);
        return 0;
    }
    const ProjectSettings& settings = doc.settings();
    const std::string proposed =
        settings.FileName(ProjectFile::GrayGraph, false).empty()
            ? locations.PathIn(kLocationGray, settings.projectName() + msg::kGrayDefaultExtension)
            : settings.FileName(ProjectFile::GrayGraph, true);
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.filter = msg::kGrayFileFilter;
    request.initialPath = proposed;
    request.askBeforeOverwrite = true;
    const std::optional<FileChoice> choice = ui.ChooseFile(request);
    if (!choice) return 0;
    locations.RecordLastLocation(kLocationGray, choice->path);
    WorkerTask task;
    MakeSaveGrayTask(task, doc, ui, choice->path);
    if (run(task) != WorkerResult::Ok) return 0;
    doc.settings().SetFileName(ProjectFile::GrayGraph, choice->path);
    return 1;
}

// ---- reading

namespace {

// Reads `count` big-endian integers in slices, so that a header claiming more than a pipe
// delivers never allocates for the claim; `known` says the file was found to hold them.
bool ReadWords(ByteReader& r, size_t count, std::vector<int32_t>& out, bool known) {
    constexpr size_t kSlice = size_t(1) << 16;
    out.clear();
    if (known) out.reserve(count);
    while (out.size() < count) {
        const size_t k = std::min(kSlice, count - out.size()), done = out.size();
        out.resize(done + k);
        // Straight into place, then to host order: a loop the compiler vectorises.
        if (!r.Bytes(out.data() + done, 4 * k)) return false;
        for (size_t i = done; i < done + k; ++i) out[i] = FromBigEndian(out[i]);
    }
    return true;
}

bool ValidRecord(const GrayFileNode& n, const GrayFileContents& c) {
    if (n.firstEdge < 0 || n.edgeCount < 0 || int64_t(n.firstEdge) + n.edgeCount > c.edgeCount)
        return false;
    for (int32_t k = 0; k < n.edgeCount; ++k) {
        const int32_t e = c.edges[size_t(n.firstEdge + k)];
        if (e < 0 || e >= c.nodeCount) return false;
    }
    return true;
}

std::optional<GrayFileContents> Read(std::FILE* f) {
    ByteReader r(f);
    std::vector<int32_t> header;
    if (!ReadWords(r, 5, header, false)) return std::nullopt;
    GrayFileContents c;
    c.xsize = header[0], c.ysize = header[1], c.zsize = header[2];
    c.nodeCount = header[3], c.edgeCount = header[4];
    // Nodes without edges (E = 0) are a file the writer makes, so they read back.
    if (c.nodeCount <= 0 || c.edgeCount < 0) return std::nullopt;
    const long long left = BytesLeftInFile(f);
    const long long need = (long long)kGrayRecordBytes * c.nodeCount + 4LL * c.edgeCount;
    if (left >= 0 && left < need) return std::nullopt;
    std::vector<int32_t> words;
    if (!ReadWords(r, 6 * size_t(c.nodeCount), words, left >= 0) ||
        !ReadWords(r, size_t(c.edgeCount), c.edges, left >= 0))
        return std::nullopt;
    c.nodes.resize(size_t(c.nodeCount));
    for (size_t i = 0; i < c.nodes.size(); ++i) {
        const int32_t* w = &words[6 * i];
        c.nodes[i] = {w[0], w[1], w[2], w[3], w[4], w[5]};
        if (!ValidRecord(c.nodes[i], c)) return std::nullopt;
    }
    return c;
}

}  // namespace

std::optional<GrayFileContents> ReadGrayFile(const std::string& path) {
    File file(path, "rb");
    if (!file) return std::nullopt;
    try {
        return Read(file.get());
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace sulcan
