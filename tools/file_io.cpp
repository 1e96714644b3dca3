// Whole-file reading and all-or-nothing writing.
#include "tools/file_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

std::string SystemReason() { return std::strerror(errno); }

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw ToolError("cannot read " + path + ": it is a directory");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ToolError("cannot read " + path + ": " + SystemReason());
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) throw ToolError("cannot read " + path + ": read error");
    return std::move(bytes).str();
}

std::string ReadInput(const std::string& path, std::istream& in) {
    if (path != kStdStream) return ReadWholeFile(path);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw ToolError("cannot read standard input");
    return bytes;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    // The temporary name carries the process id so two runs never share one.
    const std::string temporary = path + ".tmp." + std::to_string(::getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) throw ToolError("cannot write " + path + ": " + SystemReason());
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            std::remove(temporary.c_str());
            throw ToolError("cannot write " + path + ": write error");
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = SystemReason();
        std::remove(temporary.c_str());
        throw ToolError("cannot write " + path + ": " + reason);
    }
}

void WriteOutput(const std::string& path, std::string_view bytes, std::ostream& out) {
    if (path != kStdStream) {
        WriteFileAtomically(path, bytes);
        return;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw ToolError("cannot write standard output");
}

bool IsRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace kavrel::tool
