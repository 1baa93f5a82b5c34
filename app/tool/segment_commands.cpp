#include <algorithm>
#include <array>
#include <iostream>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/tool/console_worker.h"
#include "app/tool/report.h"
#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/console/ConsoleUi.h"
#include "segment/editing.h"
#include "segment/gray_file.h"
#include "segment/gray_grower.h"
#include "segment/select_connected.h"
#include "volume/CSulcanDoc.h"
#include "volume/anatomy_commands.h"
#include "volume/class_commands.h"

namespace sulcan::tool {

const char* const kSelectWhiteHelp =
    "usage: sulcan-tool select-white ANAT CLASS X Y Z OUT.class [options]\n"
    "\n"
    "Selects (or deselects) the 26-connected white matter volume of the VOI that holds voxel\n"
    "(X, Y, Z), as Ctrl+click does in a slice view, prints its size and writes the\n"
    "classification to OUT.class (which stores white without the selection).\n"
    "\n"
    "options:\n"
    "  --deselect        clear the selection instead of setting it\n"
    "  --voi x0,y0,z0,x1,y1,z1  box to work in (default: the classification file's VOI)\n";

const char* const kRelabelHelp =
    "usage: sulcan-tool relabel ANAT CLASS COMMAND OUT.class\n"
    "\n"
    "Runs a whole-volume relabelling command and writes the classification to OUT.class.\n"
    "COMMAND is one of deselect-white, deselect-gray, delete-unselected-white,\n"
    "delete-all-gray, delete-all-csf, clear.\n";

const char* const kGrowGrayHelp =
    "usage: sulcan-tool grow-gray ANAT CLASS OUT.gray [options]\n"
    "\n"
    "Grows layers of gray matter outward from the white matter of the VOI into the gray\n"
    "graph, as \"Grow Gray Matter\" does, selects the graph components (single sheets of\n"
    "gray matter) that hold the voxels given with --select, as Ctrl+click does, and saves\n"
    "the selected nodes as a gray graph file. Prints the nodes of every layer, the number\n"
    "of components, the largest one and the size of each selected one.\n"
    "\n"
    "options:\n"
    "  --layers N        layers to grow, 1..100 (default 3)\n"
    "  --voi x0,y0,z0,x1,y1,z1  box to grow in (default: the classification file's VOI)\n"
    "  --no-white-contention  also grow into one-voxel gaps between white surfaces\n"
    "  --no-gray-contention   also grow voxels that join gray matter not yet linked\n"
    "  --select X,Y,Z    select the component of this gray voxel (repeatable)\n"
    "  --json            machine-readable output\n";

namespace {

// Loads the anatomy and the classification into a document; prints why not.
bool LoadProject(CSulcanDoc& doc, Ui& ui, const std::string& anat, const std::string& cls,
                 Streams io) {
    if (!LoadAnatomy(doc, ui, anat)) {
        io.err << "sulcan-tool: cannot load anatomy " << anat << "\n";
        return false;
    }
    doc.InstallClassification(std::vector<uint8_t>(doc.dims().voxels(), 0));
    if (!LoadClassification(doc, ui, cls)) {
        io.err << "sulcan-tool: cannot load classification " << cls << "\n";
        return false;
    }
    return true;
}

int Save(CSulcanDoc& doc, Ui& ui, const std::string& out, Streams io) {
    if (WriteClassFile(doc, ui, doc.GetVoi(), out) != 1) {
        io.err << "sulcan-tool: writing " << out << " failed\n";
        return kExitFailure;
    }
    io.out << "wrote " << out << "\n";
    return kExitOk;
}

bool ParseVoi(const std::string& text, VoiBox& box) {
    std::istringstream in(text);
    int32_t v[6];
    char comma = ',';
    for (int i = 0; i < 6; ++i)
        if (!(in >> v[i]) || (i < 5 && !(in >> comma)) || comma != ',') return false;
    box = {v[0], v[1], v[2], v[3], v[4], v[5]};
    return in.peek() == std::char_traits<char>::eof();
}

bool ParseCoordinate(const std::string& text, int32_t& out) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 0 || v > 1022) return false;
    out = int32_t(v);
    return true;
}

std::string ParseSelectArgs(const Args& args, int32_t xyz[3], std::optional<VoiBox>& voi) {
    if (args.positional().size() != 6) return "give ANAT CLASS X Y Z OUT.class";
    for (int i = 0; i < 3; ++i)
        if (!ParseCoordinate(args.positional()[size_t(2 + i)], xyz[i]))
            return "bad coordinate " + args.positional()[size_t(2 + i)];
    if (auto text = args.Value("voi")) {
        VoiBox box;
        if (!ParseVoi(*text, box)) return "bad --voi " + *text;
        voi = box;
    }
    return {};
}

// The relabelling commands by name: a deselect (true) or delete of one tissue code.
const std::map<std::string, std::pair<bool, uint8_t>>& RelabelCommands() {
    static const std::map<std::string, std::pair<bool, uint8_t>> commands{
        {"deselect-white", {true, White}},
        {"deselect-gray", {true, Gray}},
        {"delete-unselected-white", {false, kWhichUnselectedWhite}},
        {"delete-all-gray", {false, kWhichAllGray}},
        {"delete-all-csf", {false, kWhichAllCsf}},
        {"clear", {false, kWhichEverything}}};
    return commands;
}

struct GrowGrayOptions {
    long layers = 3;
    std::optional<VoiBox> voi;
    std::vector<std::array<int32_t, 3>> selections;
};

bool ParsePoint(const std::string& text, std::array<int32_t, 3>& p) {
    std::istringstream in(text);
    std::string part;
    for (int i = 0; i < 3; ++i)
        if (!std::getline(in, part, ',') || !ParseCoordinate(part, p[size_t(i)])) return false;
    return !std::getline(in, part);
}

std::string ParseGrowGrayArgs(const Args& args, GrowGrayOptions& o) {
    if (args.positional().size() != 3) return "give ANAT CLASS OUT.gray";
    if (args.Has("layers")) {
        std::string error = args.Int("layers", 1, 100, o.layers);
        if (!error.empty()) return error;
    }
    if (auto text = args.Value("voi")) {
        VoiBox box;
        if (!ParseVoi(*text, box)) return "bad --voi " + *text;
        o.voi = box;
    }
    for (const std::string& text : args.Values("select")) {
        std::array<int32_t, 3> p{};
        if (!ParsePoint(text, p)) return "bad --select " + text;
        o.selections.push_back(p);
    }
    return {};
}

WorkerResult RunTask(WorkerTask& task, Streams io) {
    return ConsoleWorker(io.err, &io.err == &std::cerr && StderrIsTerminal()).Run(task);
}

void ReportLayers(const GrayGraph& g, Report& r) {
    std::vector<long long> perLayer;
    for (const GrayNode& n : g.nodes) {
        if (size_t(n.layer) > perLayer.size()) perLayer.resize(size_t(n.layer));
        ++perLayer[size_t(n.layer - 1)];
    }
    r.Add("nodes", g.nodeCount());
    r.Add("layers", int(perLayer.size()));
    for (size_t k = 0; k < perLayer.size(); ++k)
        r.Add("layer[" + std::to_string(k + 1) + "].nodes", perLayer[k]);
}

// Counts the graph's components through the selection traversal's marks.
void ReportComponents(GrayGraph& g, Report& r) {
    for (GrayNode& n : g.nodes) n.mark = 0;
    long long components = 0, largest = 0;
    for (int32_t i = 0; i < g.nodeCount(); ++i) {
        const int64_t size = MarkComponent(g, i, 0, 1);
        if (size <= 0) continue;
        ++components;
        largest = std::max<long long>(largest, size);
    }
    r.Add("components", components);
    r.Add("largestComponent", largest);
}

}  // namespace

int RunGrowGray(const std::vector<std::string>& argv, Streams io) {
    Args args;
    std::string error = args.Parse(
        argv, ArgSpec{{"layers", "voi", "select"},
                      {"no-white-contention", "no-gray-contention", "json", "help"},
                      {"select"}});
    if (args.Has("help")) {
        io.out << kGrowGrayHelp;
        return kExitOk;
    }
    GrowGrayOptions o;
    if (error.empty()) error = ParseGrowGrayArgs(args, o);
    if (!error.empty()) {
        io.err << "sulcan-tool grow-gray: " << error << "\n" << kGrowGrayHelp;
        return kExitUsage;
    }
    const auto& pos = args.positional();
    CSulcanDoc doc;
    ConsoleUi ui(io.answers, io.err);
    if (!LoadProject(doc, ui, pos[0], pos[1], io)) return kExitFailure;
    doc.whiteContention = !args.Has("no-white-contention");
    doc.grayContention = !args.Has("no-gray-contention");
    WorkerTask grow;
    MakeGrowGrayTask(grow, doc, ui, o.voi.value_or(doc.GetVoi()), int(o.layers));
    if (RunTask(grow, io) == WorkerResult::Cancel) return kExitCancelled;
    if (!doc.grayGraph()) return kExitFailure;  // already reported
    Report report;
    ReportLayers(*doc.grayGraph(), report);
    for (size_t i = 0; i < o.selections.size(); ++i) {
        const auto& p = o.selections[i];
        const int64_t size = SelectGrayComponent(doc, ui, p[0], p[1], p[2], true);
        if (size < 0) return kExitFailure;
        report.Add("selected[" + std::to_string(i) + "].nodes", (long long)size);
    }
    doc.HasSelectedGray();
    ReportComponents(*doc.grayGraph(), report);
    WorkerTask save;
    MakeSaveGrayTask(save, doc, ui, pos[2]);
    const bool saved = RunTask(save, io) == WorkerResult::Ok;
    if (saved) report.Add("output", pos[2]);
    args.Has("json") ? report.PrintJson(io.out) : report.PrintText(io.out);
    if (saved) return kExitOk;
    return save.CancelRequested() ? kExitCancelled : kExitFailure;
}

int RunSelectWhite(const std::vector<std::string>& argv, Streams io) {
    Args args;
    std::string error = args.Parse(argv, ArgSpec{{"voi"}, {"deselect", "help"}, {}});
    if (args.Has("help")) {
        io.out << kSelectWhiteHelp;
        return kExitOk;
    }
    int32_t xyz[3] = {0, 0, 0};
    std::optional<VoiBox> voi;
    if (error.empty()) error = ParseSelectArgs(args, xyz, voi);
    if (!error.empty()) {
        io.err << "sulcan-tool select-white: " << error << "\n" << kSelectWhiteHelp;
        return kExitUsage;
    }
    const auto& pos = args.positional();
    CSulcanDoc doc;
    ConsoleUi ui(io.answers, io.err);
    if (!LoadProject(doc, ui, pos[0], pos[1], io)) return kExitFailure;
    const int64_t count = SelectConnectedWhite(doc, ui, xyz[0], xyz[1], xyz[2],
                                               voi.value_or(doc.GetVoi()), !args.Has("deselect"));
    if (count < 0) return kExitFailure;
    io.out << (args.Has("deselect") ? "deselected " : "selected ") << count << " voxel(s)\n";
    return Save(doc, ui, pos[5], io);
}

int RunRelabel(const std::vector<std::string>& argv, Streams io) {
    Args args;
    std::string error = args.Parse(argv, ArgSpec{{}, {"help"}, {}});
    if (args.Has("help")) {
        io.out << kRelabelHelp;
        return kExitOk;
    }
    const auto& pos = args.positional();
    if (error.empty() && pos.size() != 4) error = "give ANAT CLASS COMMAND OUT.class";
    const auto command = error.empty() ? RelabelCommands().find(pos[2]) : RelabelCommands().end();
    if (error.empty() && command == RelabelCommands().end()) error = "unknown command " + pos[2];
    if (!error.empty()) {
        io.err << "sulcan-tool relabel: " << error << "\n" << kRelabelHelp;
        return kExitUsage;
    }
    CSulcanDoc doc;
    ConsoleUi ui(io.answers, io.err);
    if (!LoadProject(doc, ui, pos[0], pos[1], io)) return kExitFailure;
    const auto [deselect, which] = command->second;
    if (deselect)
        DeselectTissue(doc, ui, which);
    else
        DeleteTissue(doc, ui, which);
    return Save(doc, ui, pos[3], io);
}

}  // namespace sulcan::tool
