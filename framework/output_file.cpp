// Output files and renames through the W functions, names converted from 1254.
#include "framework/output_file.h"

#include "framework/system_error.h"
#include "framework/text.h"

namespace kavrel::win {
namespace {

[[noreturn]] void ThrowFileError(const std::string& names) {
    const DWORD error = GetLastError();
    throw FileException(names + ": " + SystemErrorText(error), error);
}

}  // namespace

bool OutputFile::Create(const std::string& name) {
    name_ = name;
    file_.Reset(CreateFileW(Widen(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file_);
}

void OutputFile::Write(const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file_.Get(), data, chunk, &written, nullptr) || written == 0) ThrowFileError(name_);
        data += written;
        size -= written;
    }
}

void OutputFile::Close() {
    if (!file_) return;
    if (!FlushFileBuffers(file_.Get())) ThrowFileError(name_);
    file_.Reset();
}

void OutputFile::Discard() {
    file_.Reset();
    if (!name_.empty()) DeleteFileW(Widen(name_).c_str());
}

void RenameFile(const std::string& from, const std::string& to) {
    if (!MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_WRITE_THROUGH)) ThrowFileError(from + " -> " + to);
}

}  // namespace kavrel::win
