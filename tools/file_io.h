// Whole-file input and output for the tool: "-" stands for stdin/stdout, and an output file
// only appears once its full content has been written, so a failure leaves nothing behind.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace kavrel::tool {

inline constexpr std::string_view kStdStream = "-";

// All bytes of a file; throws ToolError naming the file when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// All bytes of path, or of in when path is "-".
std::string ReadInput(const std::string& path, std::istream& in);

// Writes bytes to a temporary file beside path and renames it over path; on any failure
// the temporary file is removed and ToolError names path.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Writes bytes to out when path is "-", else to the file path (atomically).
void WriteOutput(const std::string& path, std::string_view bytes, std::ostream& out);

bool IsRegularFile(const std::string& path);

}  // namespace kavrel::tool
