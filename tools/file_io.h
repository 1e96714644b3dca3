// Whole-file input and output for the tool: "-" stands for stdin/stdout. A read error is an
// error, never the end of the data, and an output file only changes once its full content
// is on disk, so a failure or a terminated run leaves it as it was.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace kavrel::tool {

inline constexpr std::string_view kStdStream = "-";

// The most bytes an input may hold: the program addresses a dictionary's text with 32-bit
// offsets, the largest value marking a free slot, so nothing longer could ever be loaded.
inline constexpr uint64_t kMaxInputBytes = 0xFFFFFFFEu;

// All bytes of a file; throws ToolError naming the file when it cannot be read, a read
// fails part way or it holds more than kMaxInputBytes.
std::string ReadWholeFile(const std::string& path);

// All bytes readable from the descriptor fd up to its end, under the same rules as
// ReadWholeFile; name names the source in errors.
std::string ReadDescriptor(int fd, const std::string& name, uint64_t limit = kMaxInputBytes);

// All bytes of path, or of in when path is "-". The process's own standard input is read
// through its descriptor, so its size and its read errors are known exactly.
std::string ReadInput(const std::string& path, std::istream& in);

// Replaces the contents of path with bytes. A regular file (or the file a symbolic link
// names) is replaced whole through a temporary file in the same directory that is flushed
// to disk before the rename and removed on every failure, a signal that ends the run
// included. A device or a pipe is written into as it is, never replaced. Throws ToolError
// naming path; the old contents are then untouched.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// Writes bytes to out when path is "-", else to the file path (atomically).
void WriteOutput(const std::string& path, std::string_view bytes, std::ostream& out);

bool IsRegularFile(const std::string& path);

}  // namespace kavrel::tool
