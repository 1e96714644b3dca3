// A whole dictd database read as an import source: the input is the index, a zero byte, then
// the (uncompressed) dict. Either a clear error, or entries with a headword or translations,
// read in time linear in the files (a slow input is a finding).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/import.h"
#include "tools/tool_error.h"

namespace {

// One directory for the process's run, removed when the run ends normally. In memory where
// possible: rewriting a file on a disk can cost milliseconds (ext4 discards freed blocks).
const std::string& Directory() {
    static const std::string directory = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::error_code ec;
        const std::string parent = std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm"
                                   : tmp != nullptr                              ? tmp
                                                                                 : "/tmp";
        std::string pattern = parent + "/kavrel-fuzz-XXXXXX";
        kavrel::fuzz::Check(::mkdtemp(pattern.data()) != nullptr, "a scratch directory");
        return pattern;
    }();
    static const bool removedAtExit = std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(Directory(), ignored);
    }) == 0;
    (void)removedAtExit;
    return directory;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    kavrel::fuzz::Check(static_cast<bool>(file.flush()), "the scratch file is written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input = kavrel::fuzz::Bytes(data, size);
    const size_t split = input.find('\0');
    const std::string base = Directory() + "/db";
    WriteFile(base + ".index", std::string_view(input).substr(0, split));
    WriteFile(base + ".dict", split == std::string::npos ? std::string_view() : std::string_view(input).substr(split + 1));
    std::ostream quiet(nullptr);
    try {
        for (const kavrel::tool::SourceEntry& entry : kavrel::tool::ReadSourceEntries(base, quiet)) {
            kavrel::fuzz::Check(entry.headword.find('\n') == std::string::npos, "the headword is one line");
        }
    } catch (const kavrel::tool::ToolError&) {
    }
    return 0;
}
