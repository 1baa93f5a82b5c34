#include <ostream>

#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"
#include "platform/format.h"
#include "volume/slice_import.h"

namespace sulcan::tool {

const char* const kImportSlicesHelp =
    "usage: sulcan-tool import-slices DIR OUT.dat\n"
    "\n"
    "Builds an anatomy volume file from the scanner slice files I.nnn in DIR (nnn: the slice\n"
    "number, three digits). Slice n becomes plane n; planes without a file stay zero. The\n"
    "folder is read in the order the file system lists it, and the first name that is not a\n"
    "slice name ends the list. An existing OUT.dat is replaced.\n";

int RunImportSlices(const std::vector<std::string>& argv, Streams io) {
    Args args;
    std::string error = args.Parse(argv, {{}, {"help"}, {}});
    if (args.Has("help")) {
        io.out << kImportSlicesHelp;
        return kExitOk;
    }
    if (error.empty() && args.positional().size() != 2)
        error = "give the slice folder and the output file";
    if (!error.empty()) {
        io.err << "sulcan-tool import-slices: " << error << "\n" << kImportSlicesHelp;
        return kExitUsage;
    }
    const std::string& folder = args.positional()[0];
    const std::string& output = args.positional()[1];
    const SliceImportResult r = ImportSlices(folder, [&] { return std::optional(output); });
    const std::string text = SliceImportMessage(r, SlicePatternOf(SliceFolderOf(folder)));
    if (r.status != SliceImportStatus::Ok) {
        io.err << msg::slices::kErrorCaption << ": " << text << "\n";
        return kExitFailure;
    }
    io.out << text << "\n"
           << Format("cols %d, rows %d, planes %d", r.dims.x, r.dims.y, r.dims.z) << "\n";
    return kExitOk;
}

}  // namespace sulcan::tool
