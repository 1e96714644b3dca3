// The private profile service through its W functions. The service keeps a file's text in
// the ANSI code page (a file it creates always so), so values cross it as what that code
// page makes of the program's bytes: it then stores exactly those bytes and reading
// reverses the step. A 1254 -> UTF-16 conversion would instead lose "İ" and the other
// Turkish letters on a Western system, where the service cannot store them. On any
// single-byte code page every byte comes back unchanged.
#include "framework/profile.h"

#include <windows.h>

#include <vector>

#include "framework/text.h"

namespace kavrel::win {
namespace {

// A value longer than this many characters is read cut short rather than grown further.
constexpr DWORD kMaxValueChars = 1u << 16;

std::wstring FromStoredBytes(std::string_view bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), static_cast<int>(text.size()));
    return text;
}

std::string ToStoredBytes(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::string bytes(
        static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

}  // namespace

int ReadProfileInt(std::string_view file, std::string_view section, std::string_view key, int fallback) {
    const UINT value = GetPrivateProfileIntW(FromStoredBytes(section).c_str(), FromStoredBytes(key).c_str(), fallback,
                                             Widen(file).c_str());
    return static_cast<int>(value);  // the service parses a sign and returns it in an unsigned
}

std::string ReadProfileText(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view fallback) {
    const std::wstring sectionW = FromStoredBytes(section);
    const std::wstring keyW = FromStoredBytes(key);
    const std::wstring fallbackW = FromStoredBytes(fallback);
    const std::wstring fileW = Widen(file);
    // The service says only that the buffer was too small (it then fills all but one place).
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD copied =
            GetPrivateProfileStringW(sectionW.c_str(), keyW.c_str(), fallbackW.c_str(), buffer.data(), size, fileW.c_str());
        if (copied + 1 < size || size >= kMaxValueChars) return ToStoredBytes(std::wstring_view(buffer.data(), copied));
        buffer.assign(static_cast<size_t>(size) * 2, L'\0');
    }
}

bool WriteProfileText(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value) {
    return WritePrivateProfileStringW(FromStoredBytes(section).c_str(), FromStoredBytes(key).c_str(),
                                      FromStoredBytes(value).c_str(), Widen(file).c_str()) != FALSE;
}

bool WriteProfileInt(std::string_view file, std::string_view section, std::string_view key, int value) {
    return WriteProfileText(file, section, key, std::to_string(value));
}

}  // namespace kavrel::win
