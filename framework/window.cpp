// Window text, message boxes and the application's identity.
#include "framework/window.h"

#include <cstdio>
#include <vector>

#include "framework/text.h"

namespace kavrel::win {

std::string GetText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return Narrow(std::wstring_view(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

void SetText(HWND window, std::string_view text) {
    SetWindowTextW(window, Widen(text).c_str());
}

bool SetTextIfDifferent(HWND window, std::string_view text) {
    if (GetText(window) == text) return false;
    SetText(window, text);
    return true;
}

std::string ComboItemText(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return Narrow(std::wstring_view(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0));
}

int ShowMessageBox(HWND owner, std::string_view text, UINT flags) {
    return MessageBoxW(owner, Widen(text).c_str(), Widen(ApplicationTitle()).c_str(), flags);
}

std::string ApplicationTitle() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return Narrow(name);
}

HINSTANCE ResourceInstance() {
    return GetModuleHandleW(nullptr);
}

std::string LocalTimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u%02u%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute);
    return stamp;
}

}  // namespace kavrel::win
