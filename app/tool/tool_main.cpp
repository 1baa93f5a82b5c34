#include <new>
#include <ostream>

#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/console/ConsoleUi.h"

namespace sulcan::tool {

namespace {

const Command kCommands[] = {
    {"phantom", "write a synthetic brain-like anatomy volume", kPhantomHelp, RunPhantom},
    {"info", "print the settings of a project or the size of an anatomy file", kInfoHelp,
     RunInfo},
    {"import-slices", "make an anatomy file from a folder of scanner slice files",
     kImportSlicesHelp, RunImportSlices},
    {"select-white", "select the white matter connected to a voxel", kSelectWhiteHelp,
     RunSelectWhite},
    {"relabel", "apply a whole-volume relabelling command to a classification", kRelabelHelp,
     RunRelabel},
    {"grow-gray", "grow gray matter layers and save the selected sheets as a gray file",
     kGrowGrayHelp, RunGrowGray},
    {"classify", "classify the VOI into white matter, CSF and unknown", kClassifyHelp,
     RunClassify},
    {"threshold", "classify the VOI by an intensity level, optionally growing the white",
     kThresholdHelp, RunThreshold},
    {"slice-tiff", "write one slice picture with its overlays as a TIFF file", kSliceTiffHelp,
     RunSliceTiff},
};

void PrintHelp(std::ostream& out) {
    out << "usage: sulcan-tool COMMAND [options]\n"
           "\n"
           "The headless command line of Sulcan, for anatomical work on brain MR volumes.\n"
           "\n"
           "commands:\n";
    for (const Command& c : kCommands) {
        std::string name = c.name;
        out << "  " << name << std::string(name.size() < 15 ? 15 - name.size() : 1, ' ')
            << c.summary << "\n";
    }
    out << "\n\"sulcan-tool COMMAND --help\" describes a command.\n"
           "A question a command asks is answered by the next \"--answer TEXT\" (a button's\n"
           "name, such as OK, Cancel, Yes or No); without one the command stops with code 2.\n"
           "Exit codes: 0 success, 1 failure, 2 usage or unanswered question, 3 cancelled.\n";
}

}  // namespace

int RunTool(const std::vector<std::string>& argv, Streams io) {
    if (argv.empty() || argv[0] == "--help" || argv[0] == "-h" || argv[0] == "help") {
        PrintHelp(io.out);
        return argv.empty() ? kExitUsage : kExitOk;
    }
    for (const Command& c : kCommands) {
        if (argv[0] != c.name) continue;
        std::vector<std::string> rest;
        for (size_t i = 1; i < argv.size(); ++i) {
            if (argv[i] == "--answer" && i + 1 < argv.size())
                io.answers.push_back(argv[++i]);
            else
                rest.push_back(argv[i]);
        }
        try {
            return c.run(rest, io);
        } catch (const UnansweredQuestion& q) {
            io.err << q.what() << "\n";
            return kExitUsage;
        } catch (const std::bad_alloc&) {
            io.err << "sulcan-tool: out of memory\n";
            return kExitFailure;
        }
    }
    io.err << "sulcan-tool: unknown command \"" << argv[0] << "\"\n\n";
    PrintHelp(io.err);
    return kExitUsage;
}

}  // namespace sulcan::tool
