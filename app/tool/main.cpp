#include <iostream>

#include "app/tool/tool_commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return sulcan::tool::RunTool(args, {std::cout, std::cerr});
}
