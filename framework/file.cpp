// File access through the W functions, names converted from 1254 at the boundary.
#include "framework/file.h"

#include <new>

#include "framework/handles.h"
#include "framework/text.h"

namespace kavrel::win {
namespace {

// Reads exactly size bytes; ReadFile may return less than asked for very large reads.
bool ReadAll(HANDLE file, char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD got = 0;
        if (!ReadFile(file, data, chunk, &got, nullptr) || got == 0) return false;
        data += got;
        size -= got;
    }
    return true;
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
        data += written;
        size -= written;
    }
    return true;
}

bool IsSharingError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

ReadStatus StatusOfOpenError(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ReadStatus::kNotFound;
    if (IsSharingError(error)) return ReadStatus::kLocked;
    return ReadStatus::kFailed;
}

// Whether another handle holds the file without sharing; a missing file is not held.
bool HeldElsewhere(const std::wstring& name) {
    UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && IsSharingError(GetLastError());
}

}  // namespace

FileRead ReadWholeFile(const std::string& name) {
    UniqueHandle file(CreateFileW(Widen(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return {StatusOfOpenError(error), error, {}};
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size)) return {ReadStatus::kFailed, GetLastError(), {}};
    if (static_cast<unsigned long long>(size.QuadPart) >= SIZE_MAX / 2) return {ReadStatus::kTooLarge, ERROR_SUCCESS, {}};
    FileRead result{ReadStatus::kRead, ERROR_SUCCESS, {}};
    try {
        result.bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return {ReadStatus::kOutOfMemory, ERROR_NOT_ENOUGH_MEMORY, {}};
    }
    if (!ReadAll(file.Get(), result.bytes.data(), result.bytes.size())) {
        const DWORD error = GetLastError();
        return {IsSharingError(error) ? ReadStatus::kLocked : ReadStatus::kFailed, error, {}};
    }
    return result;
}

std::optional<std::string> ReadWholeFileExclusive(const std::string& name) {
    FileRead read = ReadWholeFile(name);
    if (read.status != ReadStatus::kRead) return std::nullopt;
    return std::move(read.bytes);
}

WriteResult ReplaceFileContents(const std::string& name, std::string_view bytes) {
    const std::wstring target = Widen(name);
    const std::wstring temporary = target + Widen(kTemporarySuffix);
    if (HeldElsewhere(target)) return {false, ERROR_SHARING_VIOLATION};
    WriteResult result{true, ERROR_SUCCESS};
    {
        UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (!file) return {false, GetLastError()};  // nothing was created
        if (!WriteAll(file.Get(), bytes.data(), bytes.size()) || !FlushFileBuffers(file.Get())) {
            const DWORD error = GetLastError();  // a write that wrote nothing may set none
            result = {false, error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT};
        }
    }
    if (result.ok && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        // Held open since the check above: say so, not "access denied".
        result = {false, HeldElsewhere(target) ? ERROR_SHARING_VIOLATION : error};
    }
    if (!result.ok) DeleteFileW(temporary.c_str());
    return result;
}

}  // namespace kavrel::win
