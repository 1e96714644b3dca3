// Whole-file reading with every read checked, and the choice of output stream.
#include "tools/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "tools/posix_file.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

constexpr size_t kChunkBytes = size_t{1} << 16;

ToolError ReadFailure(const std::string& name, const std::string& reason) {
    return ToolError("cannot read " + name + ": " + reason);
}

ToolError TooLarge(const std::string& name, uint64_t limit) {
    return ReadFailure(name, "more than " + std::to_string(limit) + " bytes, the most a dictionary can hold");
}

// A stream that is not the process's standard input (the tests' string streams): the
// same limit, and a stream error is a read error.
std::string ReadStream(std::istream& in, const std::string& name, uint64_t limit) {
    std::string bytes;
    char chunk[kChunkBytes];
    try {
        while (in) {
            in.read(chunk, sizeof chunk);
            const auto got = static_cast<size_t>(in.gcount());
            if (got > limit - bytes.size()) throw TooLarge(name, limit);
            bytes.append(chunk, got);
        }
    } catch (const std::ios_base::failure& failure) {
        throw ReadFailure(name, failure.what());
    }
    if (in.bad()) throw ReadFailure(name, "read error");
    return bytes;
}

}  // namespace

std::string ReadDescriptor(int fd, const std::string& name, uint64_t limit) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) throw ReadFailure(name, SystemReason());
    if (S_ISDIR(status.st_mode)) throw ReadFailure(name, "it is a directory");
    std::string bytes;
    if (S_ISREG(status.st_mode)) {
        // Refused before a byte is read; the loop below still holds a file that grows.
        if (static_cast<uint64_t>(status.st_size) > limit) throw TooLarge(name, limit);
        bytes.reserve(static_cast<size_t>(status.st_size));
    }
    char chunk[kChunkBytes];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) return bytes;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw ReadFailure(name, SystemReason());
        }
        if (static_cast<uint64_t>(got) > limit - bytes.size()) throw TooLarge(name, limit);
        bytes.append(chunk, static_cast<size_t>(got));
    }
}

std::string ReadWholeFile(const std::string& path) {
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!file.Valid()) throw ReadFailure(path, SystemReason());
    return ReadDescriptor(file.Get(), path);
}

std::string ReadInput(const std::string& path, std::istream& in) {
    if (path != kStdStream) return ReadWholeFile(path);
    if (in.rdbuf() == std::cin.rdbuf()) return ReadDescriptor(STDIN_FILENO, "standard input");
    return ReadStream(in, "standard input", kMaxInputBytes);
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
