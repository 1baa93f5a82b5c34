#pragma once
// The subcommands of sulcan-tool. Each takes its arguments after the subcommand name and
// returns an ExitCode.
#include <iosfwd>
#include <string>
#include <vector>

namespace sulcan::tool {

struct Streams {
    std::ostream& out;
    std::ostream& err;
    // Answers to the questions a command may ask, in order ("--answer TEXT", any command).
    std::vector<std::string> answers = {};
};

struct Command {
    const char* name;
    const char* summary;
    const char* help;  // full usage text for "--help"
    int (*run)(const std::vector<std::string>& args, Streams io);
};

int RunPhantom(const std::vector<std::string>& args, Streams io);
int RunInfo(const std::vector<std::string>& args, Streams io);
int RunImportSlices(const std::vector<std::string>& args, Streams io);
int RunSelectWhite(const std::vector<std::string>& args, Streams io);
int RunRelabel(const std::vector<std::string>& args, Streams io);
int RunGrowGray(const std::vector<std::string>& args, Streams io);
int RunClassify(const std::vector<std::string>& args, Streams io);
int RunThreshold(const std::vector<std::string>& args, Streams io);
int RunSliceTiff(const std::vector<std::string>& args, Streams io);

extern const char* const kPhantomHelp;
extern const char* const kInfoHelp;
extern const char* const kImportSlicesHelp;
extern const char* const kSelectWhiteHelp;
extern const char* const kRelabelHelp;
extern const char* const kGrowGrayHelp;
extern const char* const kClassifyHelp;
extern const char* const kThresholdHelp;
extern const char* const kSliceTiffHelp;

// The whole tool: argv without the program name.
int RunTool(const std::vector<std::string>& argv, Streams io);

}  // namespace sulcan::tool
