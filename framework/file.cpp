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

// The directory part of a name, "." when it has none.
std::wstring DirectoryOf(const std::wstring& name) {
    const size_t slash = name.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 0) return name.substr(0, 1);
    return name.substr(0, slash);
}

}  // namespace

std::optional<std::string> ReadWholeFileExclusive(const std::string& name) {
    UniqueHandle file(CreateFileW(Widen(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || static_cast<unsigned long long>(size.QuadPart) >= SIZE_MAX / 2) {
        return std::nullopt;
    }
    try {
        std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
        if (!ReadAll(file.Get(), bytes.data(), bytes.size())) return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

WriteResult ReplaceFileContents(const std::string& name, std::string_view bytes) {
    const std::wstring target = Widen(name);
    wchar_t temporary[MAX_PATH + 16];
    if (GetTempFileNameW(DirectoryOf(target).c_str(), L"kav", 0, temporary) == 0) {
        return {false, GetLastError()};
    }
    WriteResult result{true, ERROR_SUCCESS};
    {
        UniqueHandle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (!file || !WriteAll(file.Get(), bytes.data(), bytes.size()) || !FlushFileBuffers(file.Get())) {
            result = {false, GetLastError()};
        }
    }
    if (result.ok && !MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        result = {false, GetLastError()};
    }
    if (!result.ok) DeleteFileW(temporary);
    return result;
}

}  // namespace kavrel::win
