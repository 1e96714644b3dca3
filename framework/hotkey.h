// A system-wide key combination that posts WM_HOTKEY to a window, held while registered.
#pragma once

#include <windows.h>

namespace kavrel::win {

class GlobalHotkey {
public:
    GlobalHotkey() = default;
    GlobalHotkey(const GlobalHotkey&) = delete;
    GlobalHotkey& operator=(const GlobalHotkey&) = delete;
    ~GlobalHotkey() { Release(); }

    // Registers modifiers (MOD_ flags) + virtualKey for window under id, releasing what
    // this object held before. Returns 0 or the platform's error, for example
    // ERROR_HOTKEY_ALREADY_REGISTERED when another program holds the combination.
    DWORD Register(HWND window, int id, UINT modifiers, UINT virtualKey);
    void Release();

private:
    HWND window_ = nullptr;
    int id_ = 0;
};

}  // namespace kavrel::win
