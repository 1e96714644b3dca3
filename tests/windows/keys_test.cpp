// The main window's keys, whichever control has the focus: what each one does and whether
// it goes on to the dialog's own key handling.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/shell.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

class Keys : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open("ev|house, home, flat\n\r");
        Type(word_, "ev");
    }
    LRESULT Selection() const { return SendMessageW(list_, CB_GETCURSEL, 0, 0); }
    bool StillOpen() const { return IsWindow(dialog_->Hwnd()) && QuitCode() == -1; }
};

TEST_F(Keys, EnterLooksUpOncePerKeyDownAndNeverClosesTheWindow) {
    PressKey(word_, VK_ESCAPE);
    ASSERT_FALSE(ListShown());
    const CaptionRecorder captions(dialog_->Hwnd());
    for (int repeat = 0; repeat < 3; ++repeat) PostMessageW(word_, WM_KEYDOWN, VK_RETURN, 0x40000001);
    PumpFor(0);
    const std::vector<std::string> seen = captions.Captions();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), FoundCaption(1)), 3) << "one lookup per auto-repeated key-down";
    EXPECT_TRUE(ListShown());
    SetFocus(direction_);
    PressKey(direction_, VK_RETURN);
    EXPECT_TRUE(StillOpen()) << "Enter never presses the hidden default button";
}

TEST_F(Keys, EscapeClosesAnOpenListAndNeverTheWindow) {
    ASSERT_TRUE(ListShown());
    PressKey(word_, VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(list_));
    PressKey(word_, VK_ESCAPE);  // the list closed already
    SetFocus(direction_);
    PressKey(direction_, VK_ESCAPE);
    EXPECT_TRUE(StillOpen());
}

TEST_F(Keys, UpAndDownMoveTheSelectionOnlyWithinTheOpenList) {
    const struct { int from; UINT key; int to; } cases[] = {
        {-1, VK_DOWN, -1}, {-1, VK_UP, -1},  // no row selected: nothing moves
        {0, VK_UP, 0},     {0, VK_DOWN, 1},
        {2, VK_DOWN, 2},   {2, VK_UP, 1},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ListShown());
        SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(c.from), 0);
        const SentMessageRecorder clears(list_, WM_CLEAR);
        PressKey(word_, c.key);
        EXPECT_EQ(Selection(), c.to) << "from " << c.from << (c.key == VK_UP ? " up" : " down");
        EXPECT_EQ(clears.Values().size(), c.to != c.from ? 1u : 0u) << "the list's own field is cleared after a move";
    }
    EXPECT_EQ(GetFocus(), word_);
    PressKey(word_, VK_ESCAPE);
    SendMessageW(list_, CB_SETCURSEL, 1, 0);
    PressKey(word_, VK_DOWN);
    EXPECT_EQ(Selection(), 1) << "a closed list does not move";
}

TEST_F(Keys, ArrowsNeverStepTheDirectionList) {
    SetFocus(direction_);
    const LRESULT before = SendMessageW(direction_, CB_GETCURSEL, 0, 0);
    for (UINT key : {VK_DOWN, VK_DOWN, VK_UP, VK_UP, VK_UP}) PressKey(direction_, key);
    EXPECT_EQ(SendMessageW(direction_, CB_GETCURSEL, 0, 0), before);
    EXPECT_EQ(dialog_->DataFile(), "kavrel.001");
    EXPECT_FALSE(dialog_->IsLoading());
}

TEST_F(Keys, F1HandsTheHelpFileToTheShellAndReportsNothing) {
    std::vector<std::string> opened;
    win::SetShellOpenForTesting([&](const std::string& target) {
        opened.push_back(target);
        return 2;  // the file is missing
    });
    dialog_->SetCaption("marker");
    const MessageBoxCloser boxes;
    SetFocus(direction_);
    PressKey(direction_, VK_F1);
    win::SetShellOpenForTesting(nullptr);
    EXPECT_EQ(opened, std::vector<std::string>{".\\help\\kavrel.chm"});
    EXPECT_EQ(TextOf(dialog_->Hwnd()), "marker");
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(Keys, F2TogglesAlwaysOnTopAndTwiceLeavesItOff) {
    const auto topmost = [&] { return (GetWindowLongW(dialog_->Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    PressKey(word_, VK_F2);
    EXPECT_TRUE(topmost());
    EXPECT_TRUE(dialog_->TopMost());
    EXPECT_EQ(TextOf(dialog_->Hwnd()), Cp("Program devamlı en üstde (değiştirmek için F2) ..."));
    PressKey(word_, VK_F2);
    EXPECT_FALSE(topmost());
    EXPECT_FALSE(dialog_->TopMost());
    EXPECT_EQ(TextOf(dialog_->Hwnd()), Cp("Program devamlı en üstde değil (değiştirmek için F2) ..."));
}

}  // namespace
}  // namespace kavrel::test
