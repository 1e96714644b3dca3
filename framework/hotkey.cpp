// Registering and releasing a global hotkey.
#include "framework/hotkey.h"

namespace kavrel::win {

DWORD GlobalHotkey::Register(HWND window, int id, UINT modifiers, UINT virtualKey) {
    Release();
    // A held-down combination fires once; systems older than Windows 7 refuse the flag.
    BOOL registered = RegisterHotKey(window, id, modifiers | MOD_NOREPEAT, virtualKey);
    if (!registered && GetLastError() == ERROR_INVALID_PARAMETER) {
        registered = RegisterHotKey(window, id, modifiers, virtualKey);
    }
    if (!registered) return GetLastError();
    window_ = window;
    id_ = id;
    return 0;
}

void GlobalHotkey::Release() {
    if (window_ == nullptr) return;
    UnregisterHotKey(window_, id_);
    window_ = nullptr;
}

}  // namespace kavrel::win
