// Faults at the program's entry points: an exception in a dialog's handler, in a key its
// loop hands it, or in a worker thread is reported with the stop icon and the program goes
// on; a main window that cannot be created ends the start with a message.
#include <gtest/gtest.h>

#include <cwchar>
#include <stdexcept>

#include "app/lookup_app.h"
#include "framework/dialog.h"
#include "framework/thread.h"
#include "resources/resource.h"
#include "tests/windows/harness.h"
#include "tests/windows/harness_dialogs.h"

namespace kavrel::test {
namespace {

constexpr UINT kThrowInHandler = WM_APP + 50;
constexpr UINT kThrowInKey = WM_APP + 51;
constexpr UINT kThrowOther = WM_APP + 52;
constexpr UINT kPing = WM_APP + 53;

// The word editor's template with handlers that fail on demand.
class FaultyDialog : public win::Dialog {
public:
    FaultyDialog() : Dialog(IDD_WORD_ENTRY) { Create(nullptr); }
    int pings = 0;

    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == kThrowInKey) throw std::runtime_error("fault in a key");
        return Dialog::PreTranslateMessage(msg);
    }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case kThrowInHandler: throw std::runtime_error("fault in a handler");
            case kThrowOther: throw 42;
            case kPing: ++pings; return TRUE;
            default: return Dialog::HandleMessage(message, wParam, lParam);
        }
    }
};

TEST(Faults, ExceptionsInADialogAreReportedAndTheDialogGoesOn) {
    FaultyDialog dialog;
    ASSERT_NE(dialog.Hwnd(), nullptr);
    const struct { UINT message; bool posted; const char* text; } cases[] = {
        {kThrowInHandler, false, "fault in a handler"},             // through the dialog procedure
        {kThrowOther, false, "An unexpected error occurred."},
        {kThrowInKey, true, "fault in a key"},                      // through the program's loop
    };
    for (const auto& c : cases) {
        const std::vector<AnsweredBox> boxes = AnswerMessageBoxes(c.text, [&] {
            if (c.posted) {
                PostMessageW(dialog.Hwnd(), c.message, 0, 0);
                PumpFor(0);
            } else {
                SendMessageW(dialog.Hwnd(), c.message, 0, 0);
            }
        });
        ASSERT_EQ(boxes.size(), 1u) << c.text;
        EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONSTOP)) << c.text;
    }
    SendMessageW(dialog.Hwnd(), kPing, 0, 0);
    EXPECT_EQ(dialog.pings, 1) << "the dialog still handles its messages";
}

TEST(Faults, AnExceptionEndingAWorkerIsReportedAndTheProcessGoesOn) {
    win::WorkerThread worker;
    const std::vector<AnsweredBox> boxes = AnswerMessageBoxes("fault in a worker", [&] {
        ASSERT_TRUE(worker.Start([] { throw std::runtime_error("fault in a worker"); }));
        EXPECT_TRUE(worker.WaitForEnd(10000));
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONSTOP));
}

// Refuses to create the window of the main window's template, as a system short of
// resources would.
LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(create->lpszName) && std::wcscmp(create->lpszName, L"KAVREL Vs. 1.5") == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(StartUp, AMainWindowThatCannotBeCreatedEndsTheStartWithAMessage) {
    TempWorkDir dir;
    BOOL started = TRUE;
    const std::vector<AnsweredBox> boxes = AnswerMessageBoxes("The main window could not be created.", [&] {
        const HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
        CLookupApp app;
        started = app.InitInstance(SW_SHOWNORMAL);
        UnhookWindowsHookEx(hook);
    });
    EXPECT_FALSE(started) << "the message loop would run without a window";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONSTOP));
}

}  // namespace
}  // namespace kavrel::test
