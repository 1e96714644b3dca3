// kavrel-tool: the command-line entry point; the commands themselves live in commands.cpp.
#include <iostream>
#include <string>
#include <vector>

#include "tools/commands.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kavrel::tool::RunTool(args, std::cin, std::cout, std::cerr);
}
