// The global hotkey pressed from X while another program has the focus: the main window
// comes up with the clipboard's word looked up, or only comes up when the clipboard gives
// no word or a load runs; a combination that another process holds leaves Kavrel working.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "resources/resource.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

constexpr UINT kDefaultModifiers = MOD_CONTROL | MOD_SHIFT;
constexpr UINT kDefaultKey = VK_F11;
constexpr const char* kDefaultKeys = "ctrl+shift+F11";
const std::string kTooLong = "Please enter no more than 1024 characters.";

// Replaces what the clipboard holds with data in format (none: an empty clipboard).
void PutOnClipboard(UINT format = 0, HANDLE data = nullptr) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    if (data != nullptr) SetClipboardData(format, data);
    CloseClipboard();
}

void PutText(const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    PutOnClipboard(CF_UNICODETEXT, data);
}

void PutPicture() {
    const HDC screen = GetDC(nullptr);
    PutOnClipboard(CF_BITMAP, CreateCompatibleBitmap(screen, 16, 16));
    ReleaseDC(nullptr, screen);
}

class Hotkey : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteDictionary("kavrel.001", Cp("ev|house, home\n\rİşçi öğün çığlık|worker, meal\n\r"));
        // The program the user reads in.
        other_ = CreateWindowExW(0, L"EDIT", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 80,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(other_); }

    // The user typed word into Kavrel, minimised it and went on in the other program.
    void LeaveWith(const std::string& word) {
        SetFocus(word_);
        ReplaceWord(word);
        ShowWindow(dialog_->Hwnd(), SW_MINIMIZE);
        SetForegroundWindow(other_);
        PumpFor(0);
    }
    // Presses the hotkey and checks that the window came up with the focus in the word
    // box, its text selected, and no message about the word box's length.
    void PressAndExpectWindowUp(const std::string& label) {
        const auto boxes = AnswerMessageBoxes(kTooLong, [&] {
            ASSERT_TRUE(PressHotkeyFromX(other_, kDefaultKeys)) << label;
            PumpFor(0);
        });
        EXPECT_TRUE(boxes.empty()) << label;
        EXPECT_FALSE(IsIconic(dialog_->Hwnd())) << label;
        EXPECT_EQ(GetForegroundWindow(), dialog_->Hwnd()) << label;
        EXPECT_EQ(GetFocus(), word_) << label;
        DWORD start = 1, end = 0;
        SendMessageW(word_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << label;
        EXPECT_EQ(end, TextOf(word_).size()) << label << ": the whole word is selected";
    }
    std::vector<std::string> ShownRows() const { return ListShown() ? ComboRows(list_) : std::vector<std::string>{}; }

    HWND other_ = nullptr;
};

// Also run under a Western code page: the word's letters do not depend on it.
TEST_F(Hotkey, TurkishWordArrivesIntactAndItsTranslationsDropDown) {
    OpenWindow();
    LeaveWith("kedi");
    PutText(L"\u00a0 \u0130\u015f\u00e7i \u00f6\u011f\u00fcn \u00e7\u0131\u011fl\u0131k\r\nikinci sat\u0131r");
    PressAndExpectWindowUp("Turkish word");
    EXPECT_EQ(TextOf(word_), Cp("İşçi öğün çığlık"));
    EXPECT_EQ(ShownRows(), (std::vector<std::string>{"worker", "meal"}));
    EXPECT_EQ(TextOf(dialog_->Hwnd()), FoundCaption(2));
}

TEST_F(Hotkey, ClipboardContentsAndWhatTheyLookUp) {
    OpenWindow();
    const std::vector<std::string> evRows = {"house", "home"};
    const struct {
        const char* name;
        std::function<void()> put;
        std::string word;  // in the word box afterwards; "ev" was there before
        std::vector<std::string> rows;
    } cases[] = {
        {"the word already in the box", [] { PutText(L"ev"); }, "ev", evRows},
        {"a word not in the dictionary", [] { PutText(L"kedi\r\nev"); }, "kedi", {}},
        {"5,000 characters", [] { PutText(std::wstring(5000, L'x')); }, std::string(1024, 'x'), {}},
        // The window comes up as a click would bring it: the word box's own lookup runs.
        {"an empty clipboard", [] { PutOnClipboard(); }, "ev", evRows},
        {"a picture", [] { PutPicture(); }, "ev", evRows},
        {"text that 1254 cannot hold", [] { PutText(L"\u65e5\u672c\u8a9e\r\nkedi"); }, "ev", evRows},
        {"only blank lines", [] { PutText(L" \r\n\t\r\n"); }, "ev", evRows},
    };
    for (const auto& c : cases) {
        LeaveWith("ev");
        c.put();
        PressAndExpectWindowUp(c.name);
        EXPECT_EQ(TextOf(word_), c.word) << c.name;
        EXPECT_EQ(ShownRows(), c.rows) << c.name;
        EXPECT_EQ(TextOf(dialog_->Hwnd()), c.rows.empty() ? NotFoundCaption() : FoundCaption(2)) << c.name;
    }
}

TEST_F(Hotkey, DuringALoadTheWindowOnlyComesUp) {
    std::string plain;
    for (int i = 0; i < 300'000; ++i) plain += "word" + std::to_string(i) + "|translation\n\r";
    WriteDictionary("kavrel.001", plain);
    CaptionRecorder captions;
    dialog_ = StartMainWindow();
    const HWND word = GetDlgItem(dialog_->Hwnd(), IDC_WORD);
    PutText(L"word7");
    ASSERT_TRUE(PressHotkeyFromX(other_, kDefaultKeys));
    ASSERT_TRUE(dialog_->IsLoading()) << "the hotkey came while the load ran";
    EXPECT_EQ(GetForegroundWindow(), dialog_->Hwnd());
    ASSERT_TRUE(WaitForLoad(*dialog_));
    EXPECT_EQ(dialog_->Words().Count(), 300'000u);
    EXPECT_EQ(TextOf(word), "");
    const std::vector<std::string> seen = captions.Captions();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), NotFoundCaption()), 0) << "nothing was looked up";
    EXPECT_EQ(GetFocus(), word) << "the focus is in the word box after the load";
}

// A dialog of Kavrel's own (modal: the main window is disabled meanwhile) comes up instead.
TEST_F(Hotkey, OpenDialogOfTheWindowComesUpAndTheWordBoxWaits) {
    OpenWindow();
    LeaveWith("ev");
    const HWND editor = CreateWindowExW(0, L"STATIC", L"editor", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 200, 80,
                                        dialog_->Hwnd(), nullptr, nullptr, nullptr);
    EnableWindow(dialog_->Hwnd(), FALSE);
    PutText(L"kedi");
    ASSERT_TRUE(PressHotkeyFromX(other_, kDefaultKeys));
    EXPECT_FALSE(IsIconic(dialog_->Hwnd()));
    EXPECT_EQ(GetForegroundWindow(), editor);
    EXPECT_EQ(TextOf(word_), "ev");
    EnableWindow(dialog_->Hwnd(), TRUE);
    DestroyWindow(editor);
}

// The test program's folder also holds kavrel.exe: a second Kavrel holds the combination.
TEST_F(Hotkey, CombinationHeldByAnotherProcessLeavesKavrelWorking) {
    wchar_t path[MAX_PATH];
    std::wstring exe(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"kavrel.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION other{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir_.Path().c_str(), &startup,
                               &other));
    const bool held = PumpUntil([] { return HotkeyHeld(kDefaultModifiers, kDefaultKey); });
    EXPECT_TRUE(held) << "the other Kavrel should hold the combination";
    if (held) {
        OpenWindow();
        EXPECT_TRUE(LoadFinished(*dialog_));
        SetFocus(word_);
        Type(word_, "ev");
        EXPECT_EQ(ShownRows(), (std::vector<std::string>{"house", "home"}));
        dialog_.reset();
        EXPECT_TRUE(HotkeyHeld(kDefaultModifiers, kDefaultKey)) << "the other Kavrel keeps it";
    }
    TerminateProcess(other.hProcess, 0);
    WaitForSingleObject(other.hProcess, 10000);
    CloseHandle(other.hThread);
    CloseHandle(other.hProcess);
    EXPECT_TRUE(held) << "the other Kavrel registered the combination";
}

}  // namespace
}  // namespace kavrel::test
