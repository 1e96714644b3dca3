// Whole-file reading and writing by relative name, with the exclusive access the data
// files need.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace kavrel::win {

// The whole file, opened for reading with no sharing: nobody else may have it open, and
// nobody can open it meanwhile. Nothing when it cannot be opened or read in full (which
// includes a file too large for memory).
std::optional<std::string> ReadWholeFileExclusive(const std::string& name);

// Replaces a file's contents safely: the bytes go to a new file in the same directory,
// which is flushed and then renamed over the old one. On any failure the old file is as
// it was and the new file is removed.
struct WriteResult {
    bool ok = false;
    DWORD error = ERROR_SUCCESS;  // the system error of the failing step
};
WriteResult ReplaceFileContents(const std::string& name, std::string_view bytes);

}  // namespace kavrel::win
