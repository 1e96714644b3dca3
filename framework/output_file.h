// Files written front to back and renamed into place, with exclusive access: nobody else
// may open them meanwhile. Write failures are exceptions, as a full disk
// must never pass for a finished file.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

#include "framework/handles.h"

namespace kavrel::win {

// A file operation that failed: the OS error and a text naming the file.
class FileException : public std::runtime_error {
public:
    FileException(const std::string& what, DWORD error) : std::runtime_error(what), m_dwError(error) {}
    DWORD m_dwError;
};

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    // A file still open is closed; one never closed by Close is not taken for complete.
    ~OutputFile() = default;

    // Creates name for writing with no sharing, cutting an existing file to 0 bytes.
    // False when it cannot be created.
    bool Create(const std::string& name);
    // Writes all size bytes; throws FileException when they cannot all be written.
    void Write(const char* data, size_t size);
    // Flushes and closes; throws FileException when the flush fails.
    void Close();
    // Closes the file and deletes it (best effort: it is a leftover either way).
    void Discard();

private:
    std::string name_;
    UniqueHandle file_;
};

// Renames from to to (relative names in the working directory). Throws FileException
// when it fails, also when a file named to exists already: nothing is replaced.
void RenameFile(const std::string& from, const std::string& to);

}  // namespace kavrel::win
