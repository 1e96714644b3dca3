// The framework's dialogs: a modal one disables its owner while it runs, its keys reach its
// PreTranslateMessage, and a quit message ends it and reaches the loops around it; a
// modeless one handles its own destruction before its object goes.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/dialog.h"
#include "resources/resource.h"
#include "tests/windows/harness.h"

namespace kavrel::test {
namespace {

// The word editor's template as a plain modal dialog that records what it saw.
class ProbeDialog : public win::Dialog {
public:
    ProbeDialog() : Dialog(IDD_WORD_ENTRY) {}
    std::function<void(ProbeDialog&)> onInit;
    int escapeKeysSeen = 0;

protected:
    BOOL OnInitDialog() override {
        Dialog::OnInitDialog();
        if (onInit) onInit(*this);
        return TRUE;
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) ++escapeKeysSeen;
        return Dialog::PreTranslateMessage(msg);
    }
};

TEST(Framework, ModalDialogDisablesItsOwnerAndEndsWithItsResult) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                       nullptr, nullptr, nullptr);
    ProbeDialog dialog;
    bool ownerEnabledInside = true;
    dialog.onInit = [&](ProbeDialog& d) {
        ownerEnabledInside = IsWindowEnabled(owner) != FALSE;
        PostMessageW(d.Item(IDC_ENTRY_TRANSLATIONS), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    EXPECT_EQ(dialog.DoModal(owner), IDCANCEL) << "Escape cancels through the dialog's own key handling";
    EXPECT_EQ(dialog.escapeKeysSeen, 1);
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dialog.Hwnd(), nullptr) << "the window is gone when DoModal returns";
    DestroyWindow(owner);
}

TEST(Framework, QuitMessageEndsAModalDialogAndIsPostedAgain) {
    ResetQuitCode();
    ProbeDialog dialog;
    dialog.onInit = [](ProbeDialog&) { PostQuitMessage(7); };
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    PumpFor(0);
    EXPECT_EQ(QuitCode(), 7);
}

// A modeless dialog on the word editor's template that notes its last messages in seen.
class ModelessProbe : public win::Dialog {
public:
    explicit ModelessProbe(std::vector<UINT>& seen) : Dialog(IDD_WORD_ENTRY), seen_(seen) { Create(nullptr); }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY) seen_.push_back(message);
        return Dialog::HandleMessage(message, wParam, lParam);
    }
    void PostNcDestroy() override { seen_.push_back(WM_NCDESTROY); }

private:
    std::vector<UINT>& seen_;
};

TEST(Framework, ModelessDialogHandlesItsDestructionBeforeItsObjectGoes) {
    std::vector<UINT> seen;
    HWND window = nullptr;
    {
        const win::DialogPtr<ModelessProbe> owned = win::MakeDialog<ModelessProbe>(seen);
        window = owned->Hwnd();
        ASSERT_NE(window, nullptr);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY})) << "the derived dialog saw its end";

    {
        const ModelessProbe unowned(seen);  // nobody destroys its window first
        window = unowned.Hwnd();
    }
    EXPECT_FALSE(IsWindow(window)) << "the window goes with its object all the same";
}

}  // namespace
}  // namespace kavrel::test
