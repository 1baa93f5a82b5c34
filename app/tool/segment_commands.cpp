#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/console/ConsoleUi.h"
#include "segment/editing.h"
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

}  // namespace

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
