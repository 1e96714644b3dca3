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
    MessageBoxAnswerer answerer;
    FaultyDialog dialog;
    ASSERT_NE(dialog.Hwnd(), nullptr);
    SendMessageW(dialog.Hwnd(), kThrowInHandler, 0, 0);  // through the dialog procedure
    SendMessageW(dialog.Hwnd(), kThrowOther, 0, 0);
    PostMessageW(dialog.Hwnd(), kThrowInKey, 0, 0);  // through the program's message loop
    ASSERT_TRUE(PumpUntil([&] { return answerer.Boxes().size() >= 3; }));
    const std::vector<MessageBoxAnswerer::Box> boxes = answerer.Boxes();
    const char* expected[] = {"fault in a handler", "An unexpected error occurred.", "fault in a key"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(boxes[i].text, expected[i]);
        EXPECT_TRUE(boxes[i].stopIcon) << expected[i];
    }
    SendMessageW(dialog.Hwnd(), kPing, 0, 0);
    EXPECT_EQ(dialog.pings, 1) << "the dialog still handles its messages";
}

TEST(Faults, AnExceptionEndingAWorkerIsReportedAndTheProcessGoesOn) {
    win::WorkerThread worker;
    ASSERT_TRUE(worker.Start([] { throw std::runtime_error("fault in a worker"); }));
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox("fault in a worker")) != nullptr; }));
    EXPECT_TRUE(HasStopIcon(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(worker.WaitForEnd(10000));
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
    MessageBoxAnswerer answerer;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseMainWindow, nullptr, GetCurrentThreadId());
    CLookupApp app;
    const BOOL started = app.InitInstance(SW_SHOWNORMAL);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(started) << "the message loop would run without a window";
    const std::vector<MessageBoxAnswerer::Box> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The main window could not be created.");
    EXPECT_TRUE(boxes[0].stopIcon);
}

}  // namespace
}  // namespace kavrel::test
