// Whole-file reading and writing by relative name, with exclusive access: nobody else may
// have the file open meanwhile.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kavrel::win {

// How a whole-file read ended.
enum class ReadStatus {
    kRead,         // every byte read
    kNotFound,     // no such file (or folder on its path)
    kLocked,       // held open elsewhere, or locked
    kFailed,       // could not be opened or read for another reason
    kTooLarge,     // larger than this process can hold
    kOutOfMemory,  // no memory for its bytes
};
struct FileRead {
    ReadStatus status = ReadStatus::kFailed;
    DWORD error = ERROR_SUCCESS;  // the system error of the failing step
    std::string bytes;            // the whole file when status is kRead
};

// The whole file, opened for reading with no sharing: nobody else may have it open, and
// nobody can open it meanwhile. A short read is a failure, never the end of the file.
FileRead ReadWholeFile(const std::string& name);

// The same when only the bytes matter: nothing when the file could not be read whole.
std::optional<std::string> ReadWholeFileExclusive(const std::string& name);

// Replaces a file's contents safely: the bytes go to a new file beside it, named after it
// with kTemporarySuffix appended, which is flushed and then renamed over the old one. On
// any failure the old file is as it was and the new file is removed; a file held open
// elsewhere without sharing is refused before anything is written.
struct WriteResult {
    bool ok = false;
    DWORD error = ERROR_SUCCESS;  // the system error of the failing step
};
WriteResult ReplaceFileContents(const std::string& name, std::string_view bytes);

// The temporary file of a replace is name + this. One name per file: a temporary that an
// ended process left behind is overwritten by the next replace instead of piling up.
inline constexpr std::string_view kTemporarySuffix = ".save.tmp";

}  // namespace kavrel::win
