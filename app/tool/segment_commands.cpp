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
#include "segment/classify.h"
#include "segment/editing.h"
#include "segment/gray_file.h"
#include "segment/gray_grower.h"
#include "segment/messages.h"
#include "segment/select_connected.h"
#include "segment/threshold.h"
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

const char* const kClassifyHelp =
    "usage: sulcan-tool classify ANAT OUT.class [options]\n"
    "\n"
    "Classifies the VOI into white matter, CSF and unknown, as \"Classify White && CSF\"\n"
    "does, and writes the classification (with its parameters) to OUT.class. Ctrl+C cancels.\n"
    "\n"
    "options:\n"
    "  --csf M --gray M --white M  class means, 0..255.999 (default 35, 50, 60)\n"
    "  --stdev S         noise standard deviation, 1..25 (default 4)\n"
    "  --confidence C    confidence margin, 0..1 (default 0.7)\n"
    "  --smoothness N    diffusion iterations, 0..10 (default 4)\n"
    "  --slow            exponential conductance instead of its second-order expansion\n"
    "  --class IN.class  start from this classification and its parameters and VOI\n"
    "  --voi x0,y0,z0,x1,y1,z1  box to classify (default: the whole volume or IN.class's VOI)\n"
    "  --threads N       worker threads, 0 = all cores (default 0)\n";

const char* const kThresholdHelp =
    "usage: sulcan-tool threshold ANAT CLASS OUT.class --level L [options]\n"
    "\n"
    "Inside the VOI every non-gray voxel brighter than L becomes white matter and every other\n"
    "one unknown; with --blur the white matter then grows once by a cube of radius R into\n"
    "unknown voxels. Writes the classification to OUT.class.\n"
    "\n"
    "options:\n"
    "  --level L         intensity level, 0..255\n"
    "  --blur R          cube radius of the white dilation, 0..20 (default 0: none)\n"
    "  --voi x0,y0,z0,x1,y1,z1  box to work in (default: the classification file's VOI)\n";

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

std::string ParseVoiOption(const Args& args, const VolumeDims& dims, VoiBox& voi) {
    auto text = args.Value("voi");
    if (!text) return {};
    VoiBox box;
    if (!ParseVoi(*text, box) || ClampVoi(box, dims.x, dims.y, dims.z) != 0)
        return "bad --voi " + *text;
    voi = box;
    return {};
}

// The classification parameters from the options, over those the document holds.
std::string ParseClassifyParameters(const Args& args, ProjectSettings& s) {
    struct Real {
        const char* name;
        double lo, hi;
        float (ProjectSettings::*set)(float);
    };
    static const Real reals[] = {{"csf", 0, 255.999, &ProjectSettings::SetCsfMean},
                                 {"gray", 0, 255.999, &ProjectSettings::SetGrayMean},
                                 {"white", 0, 255.999, &ProjectSettings::SetWhiteMean},
                                 {"stdev", 1, 25, &ProjectSettings::SetNoiseStdev},
                                 {"confidence", 0, 1, &ProjectSettings::SetConfidence}};
    for (const Real& r : reals) {
        double v = 0;
        if (!args.Has(r.name)) continue;
        if (std::string error = args.Real(r.name, r.lo, r.hi, v); !error.empty()) return error;
        (s.*r.set)(float(v));
    }
    long smoothness = 0;
    if (args.Has("smoothness")) {
        if (std::string error = args.Int("smoothness", 0, 10, smoothness); !error.empty())
            return error;
        s.SetSmoothness(int32_t(smoothness));
    }
    return {};
}

int CountLabel(const CSulcanDoc& doc, uint8_t label) {
    return int(std::count(doc.classification().begin(), doc.classification().end(), label));
}

}  // namespace

int RunClassify(const std::vector<std::string>& argv, Streams io) {
    Args args;
    std::string error = args.Parse(
        argv, ArgSpec{{"csf", "gray", "white", "stdev", "confidence", "smoothness", "voi",
                       "class", "threads"},
                      {"slow", "help"},
                      {}});
    if (args.Has("help")) {
        io.out << kClassifyHelp;
        return kExitOk;
    }
    long threads = 0;
    if (error.empty() && args.positional().size() != 2) error = "give ANAT OUT.class";
    if (error.empty()) error = args.Int("threads", 0, 256, threads);
    CSulcanDoc doc;
    ConsoleUi ui(io.answers, io.err);
    if (error.empty()) error = ParseClassifyParameters(args, doc.settings());
    if (!error.empty()) {
        io.err << "sulcan-tool classify: " << error << "\n" << kClassifyHelp;
        return kExitUsage;
    }
    const auto& pos = args.positional();
    if (auto cls = args.Value("class")) {
        if (!LoadProject(doc, ui, pos[0], *cls, io)) return kExitFailure;
        error = ParseClassifyParameters(args, doc.settings());  // over the file's header
    } else {
        if (!LoadAnatomy(doc, ui, pos[0])) return kExitFailure;
        doc.InstallClassification(std::vector<uint8_t>(doc.dims().voxels(), 0));
        doc.SetVoi(VoiBox::Whole(doc.dims()));
    }
    VoiBox voi = doc.GetVoi();
    if (error.empty()) error = ParseVoiOption(args, doc.dims(), voi);
    if (!error.empty()) {
        io.err << "sulcan-tool classify: " << error << "\n";
        return kExitUsage;
    }
    ClassificationApply apply;
    if (!apply.Prepare(doc, voi, doc.settings().classification(), args.Has("slow"), int(threads))) {
        io.err << "sulcan-tool: " << msg::kClassifyOutOfMemory << "\n";
        return kExitFailure;
    }
    WorkerTask task;
    MakeClassifyTask(task, apply);
    if (RunTask(task, io) == WorkerResult::Cancel || !apply.Commit(doc)) return kExitCancelled;
    io.out << "classified " << apply.blockCount() << " block(s) on " << apply.threadCount()
           << " thread(s): " << CountLabel(doc, White) << " white, " << CountLabel(doc, Csf)
           << " CSF voxel(s)\n";
    doc.SetVoi(voi);
    return Save(doc, ui, pos[1], io);
}

int RunThreshold(const std::vector<std::string>& argv, Streams io) {
    Args args;
    std::string error = args.Parse(argv, ArgSpec{{"level", "blur", "voi"}, {"help"}, {}});
    if (args.Has("help")) {
        io.out << kThresholdHelp;
        return kExitOk;
    }
    long level = 0, radius = 0;
    if (error.empty() && args.positional().size() != 3) error = "give ANAT CLASS OUT.class";
    if (error.empty() && !args.Has("level")) error = "--level is required";
    if (error.empty()) error = args.Int("level", 0, kMaxThresholdLevel, level);
    if (error.empty()) error = args.Int("blur", 0, kMaxBlurRadius, radius);
    if (!error.empty()) {
        io.err << "sulcan-tool threshold: " << error << "\n" << kThresholdHelp;
        return kExitUsage;
    }
    const auto& pos = args.positional();
    CSulcanDoc doc;
    ConsoleUi ui(io.answers, io.err);
    if (!LoadProject(doc, ui, pos[0], pos[1], io)) return kExitFailure;
    VoiBox voi = doc.GetVoi();
    if (std::string e = ParseVoiOption(args, doc.dims(), voi); !e.empty()) {
        io.err << "sulcan-tool threshold: " << e << "\n";
        return kExitUsage;
    }
    ThresholdOptions o;
    o.level = int(level);
    o.radius = int(radius);
    o.doBlur = radius > 0;
    ApplyThreshold(doc, voi, o);
    io.out << CountLabel(doc, White) << " white voxel(s)\n";
    return Save(doc, ui, pos[2], io);
}

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
