// The commands of kavrel-tool (pack, unpack, import, export, lookup) behind one entry point
// that takes the arguments and the three streams, so tests can run them in-process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kavrel::tool {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFound = 1;  // lookup: the word is not in the dictionary
inline constexpr int kExitFailure = 2;   // bad arguments, unreadable or broken input, write failure

// Runs the command named by args[0] (args excludes the program name). Errors go to err.
int RunTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// The --help text.
std::string UsageText();

}  // namespace kavrel::tool
