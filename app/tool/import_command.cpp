// placeholder until the slice import lands
#include <ostream>

#include "app/tool/tool_args.h"
#include "app/tool/tool_commands.h"

namespace sulcan::tool {

const char* const kImportSlicesHelp = "usage: sulcan-tool import-slices DIR OUT.dat\n";

int RunImportSlices(const std::vector<std::string>&, Streams io) {
    io.err << "sulcan-tool import-slices: not available yet\n";
    return kExitFailure;
}

}  // namespace sulcan::tool
