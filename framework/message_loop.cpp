// The message loop shared by the program and its tests.
#include "framework/message_loop.h"

#include "framework/dialog.h"
#include "framework/error_report.h"

namespace kavrel::win {

void ProcessMessage(MSG& msg) {
    try {
        Dialog* dialog = Dialog::FromMessage(msg);
        if (dialog != nullptr && dialog->PreTranslateMessage(msg)) return;
    } catch (...) {
        // The keys a dialog handles itself run the program's commands: a fault there is
        // reported and the message dropped, and the loop goes on.
        ReportCaughtException(msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr);
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return -1;
        ProcessMessage(msg);
    }
}

bool PumpWaitingMessages(int* exitCode) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            if (exitCode != nullptr) *exitCode = static_cast<int>(msg.wParam);
            return false;
        }
        ProcessMessage(msg);
    }
    return true;
}

}  // namespace kavrel::win
