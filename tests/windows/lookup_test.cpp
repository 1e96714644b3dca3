// Looking words up as they are typed: hits and misses, the headword written back, the
// caret, the translation rows and their width, and the focus rules.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

class Lookup : public MainWindowTest {
protected:
    int Caret() const {
        DWORD start = 0, end = 0;
        SendMessageW(word_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, end) << "no selection after a lookup";
        return static_cast<int>(start);
    }
};

TEST_F(Lookup, TypedWordInAnotherCaseShowsTheStoredHeadword) {
    Open("ev|house, home\n\rkedi|cat\n\r");
    Type(word_, "EV");
    EXPECT_EQ(TextOf(word_), "ev");
    EXPECT_EQ(Caret(), 2);
    EXPECT_TRUE(ListShown());
    EXPECT_EQ(ComboRows(list_), (std::vector<std::string>{"house", "home"}));
    EXPECT_EQ(SendMessageW(list_, CB_GETCURSEL, 0, 0), CB_ERR) << "no row selected";
    EXPECT_EQ(Caption(), FoundCaption(2));
    EXPECT_EQ(GetFocus(), word_) << "the list does not take the focus";
}

TEST_F(Lookup, WordBoxIsRewrittenOnlyWhenItsTextDiffers) {
    Open("ev|house\n\r");
    {
        const SentMessageRecorder writes(word_, WM_SETTEXT);
        Type(word_, "ev");
        EXPECT_TRUE(ListShown());
        EXPECT_TRUE(writes.Values().empty()) << "a word typed as stored is not touched";
    }
    const SentMessageRecorder writes(word_, WM_SETTEXT);
    ReplaceWord("eV");
    EXPECT_EQ(writes.Values().size(), 1u) << "one rewrite to the stored headword, and the nested lookups end";
    EXPECT_EQ(TextOf(word_), "ev");
}

TEST_F(Lookup, CaretStaysWhereItWasInsideTheWord) {
    Open("kedi|cat\n\r");
    Type(word_, "KED");
    PressKey(word_, VK_LEFT);
    PressKey(word_, VK_LEFT);
    Type(word_, "");
    SendMessageW(word_, EM_SETSEL, 3, 3);
    Type(word_, "I");  // "KEDI", caret after the I at 4
    EXPECT_EQ(TextOf(word_), "kedi");
    EXPECT_EQ(Caret(), 4);
    SendMessageW(word_, EM_SETSEL, 1, 1);
    PressKey(word_, VK_RETURN);  // the same lookup on Enter keeps the caret at 1
    EXPECT_EQ(Caret(), 1);
    EXPECT_TRUE(ListShown());
}

TEST_F(Lookup, WordIsFoundOnlyWhenItIsComplete) {
    Open("house|ev, konut\n\rhome|yuva\n\r");
    const std::string typed = "house";
    for (size_t i = 0; i < typed.size(); ++i) {
        Type(word_, typed.substr(i, 1));
        if (i + 1 < typed.size()) {
            EXPECT_EQ(Caption(), NotFoundCaption()) << typed.substr(0, i + 1);
            EXPECT_FALSE(IsWindowVisible(list_)) << typed.substr(0, i + 1);
        }
    }
    EXPECT_EQ(Caption(), FoundCaption(2));
    EXPECT_EQ(ComboRows(list_), (std::vector<std::string>{"ev", "konut"}));
    Type(word_, " ");
    EXPECT_EQ(Caption(), NotFoundCaption()) << "a trailing blank is part of the word";
    EXPECT_FALSE(IsWindowVisible(list_));
}

TEST_F(Lookup, EmptyWordBoxIsNeverAHitAndKeepsTheCaption) {
    Open("|bare entry\n\rev|house\n\r");
    Type(word_, "x");
    ASSERT_EQ(Caption(), NotFoundCaption());
    PressKey(word_, VK_BACK);
    EXPECT_EQ(TextOf(word_), "");
    EXPECT_EQ(Caption(), NotFoundCaption()) << "the empty box leaves the caption alone";
    EXPECT_FALSE(IsWindowVisible(list_));
}

TEST_F(Lookup, TranslationRowsAndDroppedWidth) {
    Open("a|a; b ,c\n\rb|a,,b\n\rc|a,b,\n\rd|\n\r" + Cp("e|çok uzun bir çeviri, k\n\r"));
    const SentMessageRecorder widths(list_, CB_SETDROPPEDWIDTH);
    const struct { const char* word; std::vector<std::string> rows; } cases[] = {
        {"a", {"a", "b", "c"}},
        {"b", {"a", "", "b"}},
        {"c", {"a", "b", ""}},
        {"d", {""}},
    };
    for (const auto& c : cases) {
        ReplaceWord(c.word);
        EXPECT_EQ(ComboRows(list_), c.rows) << c.word;
        EXPECT_TRUE(ListShown()) << c.word;
    }
    ASSERT_FALSE(widths.Values().empty());
    EXPECT_EQ(widths.Values().back(), 40u) << "an empty row is 0 pixels wide";

    ReplaceWord("e");
    const HDC dc = GetDC(list_);  // the default font of the list's context, as measured
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"\u00e7ok uzun bir \u00e7eviri", 19, &extent);
    ReleaseDC(list_, dc);
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(widths.Values().back(), static_cast<WPARAM>(extent.cx + 40));
    EXPECT_EQ(ComboRows(list_), (std::vector<std::string>{Cp("çok uzun bir çeviri"), "k"}));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(list_, &info));
    RECT dropped;
    GetWindowRect(info.hwndList, &dropped);
    EXPECT_EQ(dropped.right - dropped.left, extent.cx + 40) << "the user sees the list that wide";
}

TEST_F(Lookup, FocusGainLooksUpOnlyWhileTheListIsClosed) {
    Open("ev|house\n\r");
    Type(word_, "ev");
    ASSERT_TRUE(ListShown());
    dialog_->SetCaption("marker");
    SendMessageW(dialog_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_WORD, EN_SETFOCUS), reinterpret_cast<LPARAM>(word_));
    EXPECT_EQ(Caption(), "marker") << "no lookup while the list is dropped down";

    SetFocus(direction_);
    PumpFor(0);
    EXPECT_FALSE(IsWindowVisible(list_)) << "leaving the word box closes the list";
    SetFocus(word_);
    PumpFor(0);
    EXPECT_EQ(Caption(), FoundCaption(1)) << "coming back looks the word up again";
    EXPECT_TRUE(ListShown());
}

TEST_F(Lookup, AlwaysOnTopLeavesTheListAloneOnFocusChanges) {
    Open("ev|house\n\rkedi|cat\n\r");
    Type(word_, "ev");
    ASSERT_TRUE(ListShown());
    dialog_->SetTopMost(true);
    SetFocus(direction_);
    PumpFor(0);
    EXPECT_TRUE(IsWindowVisible(list_)) << "focus loss keeps the list";
    dialog_->SetCaption("marker");
    SetFocus(word_);
    PumpFor(0);
    EXPECT_EQ(Caption(), "marker") << "focus gain does not look up";
    ReplaceWord("kedi");
    EXPECT_EQ(Caption(), FoundCaption(2)) << "typing still looks up";
    Type(word_, "x");
    EXPECT_FALSE(IsWindowVisible(list_));
}

TEST_F(Lookup, EscapeClosesTheList) {
    Open("ev|house\n\r");
    Type(word_, "ev");
    ASSERT_TRUE(ListShown());
    PressKey(word_, VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(list_));
    EXPECT_TRUE(IsWindow(dialog_->Hwnd()));
}

}  // namespace
}  // namespace kavrel::test
