// The main window as it starts and ends: its controls, the direction list, the choice of a
// direction's data file and the way closing ends the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "resources/resource.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

class MainWindow : public MainWindowTest {};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

TEST_F(MainWindow, RunsUnderTheCodePageItWasStartedWith) {
    char expected[16] = "1254";
    GetEnvironmentVariableA("KAVREL_CODEPAGE", expected, sizeof expected);
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}

TEST_F(MainWindow, ControlsAndTheirStateAfterStart) {
    WriteDictionary("kavrel.001", "ev|Haus\n\r");
    CaptionRecorder captions;
    const auto dialog = OpenMainWindow();
    const HWND window = dialog->Hwnd();
    ASSERT_NE(window, nullptr);

    const struct { int id; const wchar_t* className; bool visible; } controls[] = {
        {IDOK, L"Button", false},          {IDCANCEL, L"Button", false},
        {IDC_HELP_BUTTON, L"Button", false}, {IDC_ABOUT, L"Button", false},
        {IDC_WORD, L"Edit", true},         {IDC_DIRECTION, L"ComboBox", true},
        {IDC_TRANSLATIONS, L"ComboBox", false}, {IDC_BANNER, L"Static", true},
    };
    for (const auto& c : controls) {
        const HWND control = GetDlgItem(window, c.id);
        ASSERT_NE(control, nullptr) << "control " << c.id;
        EXPECT_EQ(ClassOf(control), c.className) << "control " << c.id;
        EXPECT_EQ(IsWindowVisible(control) != FALSE, c.visible) << "control " << c.id;
    }
    EXPECT_TRUE(StyleOf(GetDlgItem(window, IDC_WORD)) & ES_AUTOHSCROLL);
    EXPECT_EQ(SendDlgItemMessageW(window, IDC_WORD, EM_GETLIMITTEXT, 0, 0), 1024);
    // Both lists keep their rows' order; the tests of the direction list and of the
    // translation rows see that.
    EXPECT_EQ(StyleOf(GetDlgItem(window, IDC_DIRECTION)) & 3, CBS_DROPDOWN);
    const HWND translations = GetDlgItem(window, IDC_TRANSLATIONS);
    EXPECT_EQ(StyleOf(translations) & 3, CBS_DROPDOWN);
    RECT rc;
    GetWindowRect(translations, &rc);
    EXPECT_EQ(rc.right - rc.left, 0) << "the translation list has no width of its own";
    GetWindowRect(GetDlgItem(window, IDC_BANNER), &rc);
    EXPECT_EQ(rc.right - rc.left, 489);
    EXPECT_EQ(rc.bottom - rc.top, 60);

    const LONG style = StyleOf(window);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(dialog->TopMost());
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, 0);  // a first start goes to the corner
    EXPECT_EQ(placement.rcNormalPosition.top, 0);

    // "Kavrel v1.5" first, then the load of the default direction replaces it.
    const std::vector<std::string> seen = captions.Captions();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "Kavrel v1.5"), 1);
    EXPECT_EQ(seen.back(), LoadedCaption(1));
    EXPECT_EQ(dialog->DataFile(), "kavrel.001");
}

TEST_F(MainWindow, DirectionListHoldsTheEightNamesInListOrder) {
    WriteDictionary("kavrel.001", "");
    const auto dialog = OpenMainWindow();
    const HWND list = GetDlgItem(dialog->Hwnd(), IDC_DIRECTION);
    const std::vector<std::string> expected = {
        Cp("Türkçe -> İngilizce"), Cp("İngilizce -> Türkçe"), Cp("Türkçe -> Almanca"), Cp("Almanca -> Türkçe"),
        Cp("Türkçe -> Fransızca"), Cp("Fransızca -> Türkçe"), Cp("Türkçe -> İtalyanca"), Cp("İtalyanca -> Türkçe"),
    };
    EXPECT_EQ(ComboRows(list), expected);
    EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 2) << "the default direction is selected";
    EXPECT_EQ(TextOf(list), Cp("Türkçe -> Almanca"));
}

TEST_F(MainWindow, CaptionShowsTurkishLetters) {
    WriteDictionary("kavrel.001", "a|b\n\r");
    const auto dialog = OpenMainWindow();
    wchar_t caption[128] = {};
    GetWindowTextW(dialog->Hwnd(), caption, 128);
    EXPECT_STREQ(caption, L"Kavrel v1.5 (1 kelime) ... yard\u0131m i\u00e7in F1");
}

// The controls draw in "MS Sans Serif" asked for in the Turkish character set, so that a
// Western system too has the glyphs of ğ, ş, ı and İ (this also runs under code page 1252).
TEST_F(MainWindow, ControlsDrawInTheTurkishCharacterSet) {
    WriteDictionary("kavrel.001", "");
    const auto dialog = OpenMainWindow();
    for (const int id : {IDC_WORD, IDC_DIRECTION, IDC_TRANSLATIONS}) {
        const HWND control = GetDlgItem(dialog->Hwnd(), id);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        LOGFONTW logFont{};
        ASSERT_EQ(GetObjectW(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont)) << id;
        EXPECT_STREQ(logFont.lfFaceName, L"MS Sans Serif") << id;
        const HDC dc = GetDC(control);
        const HGDIOBJ previous = SelectObject(dc, font);
        EXPECT_EQ(GetTextCharset(dc), TURKISH_CHARSET) << id;
        SelectObject(dc, previous);
        ReleaseDC(control, dc);
    }
}

TEST_F(MainWindow, EverySelectionLoadsItsOwnFile) {
    WriteDictionary("kavrel.001", "");
    const auto dialog = OpenMainWindow();
    // List position -> data file: English first, then German, French and Italian.
    const char* files[] = {"kavrel.003", "kavrel.004", "kavrel.001", "kavrel.002",
                           "kavrel.005", "kavrel.006", "kavrel.007", "kavrel.008"};
    for (int index = 0; index < 8; ++index) {
        const std::string headword = std::string(1, 'w').append(std::to_string(index));
        WriteDictionary(files[index], headword + "|x\n\r");
        ChooseDirection(*dialog, index);
        EXPECT_EQ(dialog->DataFile(), files[index]) << "list position " << index;
        ASSERT_TRUE(WaitForLoad(*dialog));
        EXPECT_TRUE(dialog->Words().Find(headword).has_value()) << files[index];
    }
}

TEST_F(MainWindow, NearMissesOfANameLoadNothing) {
    WriteDictionary("kavrel.001", "ev|Haus\n\r");
    const auto dialog = OpenMainWindow();
    ASSERT_EQ(dialog->Words().Count(), 1u);
    const std::string caption = TextOf(dialog->Hwnd());
    for (const std::string& name : {Cp("türkçe -> almanca"), Cp("Türkçe ->  Almanca"), Cp(" Türkçe -> Almanca"),
                                    Cp("Türkçe -> Almanca "), Cp("Türkçe->Almanca"), std::string()}) {
        dialog->SetDirectionName(name);
        dialog->LoadDirection();
        EXPECT_EQ(dialog->DataFile(), "") << name;
        EXPECT_EQ(dialog->Words().Count(), 0u) << name;
        EXPECT_FALSE(dialog->IsLoading()) << "no thread for " << name;
        EXPECT_EQ(TextOf(dialog->Hwnd()), caption) << "the caption stays";
    }
    const HWND word = GetDlgItem(dialog->Hwnd(), IDC_WORD);
    EXPECT_TRUE(IsWindowVisible(word));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog->Hwnd(), IDC_DIRECTION)));
}

TEST_F(MainWindow, SelectionChangeEmptiesTheTableEvenForTheSameDirection) {
    WriteDictionary("kavrel.001", "ev|Haus\n\rkedi|Katze\n\r");
    const auto dialog = OpenMainWindow();
    ASSERT_EQ(dialog->Words().Count(), 2u);
    ChooseDirection(*dialog, 2);  // the row already selected
    EXPECT_EQ(dialog->Words().Count(), 0u) << "emptied before the file is read again";
    EXPECT_EQ(dialog->DataFile(), "kavrel.001");
    ASSERT_TRUE(WaitForLoad(*dialog));
    EXPECT_EQ(dialog->Words().Count(), 2u);
}

TEST_F(MainWindow, ClosingDestroysTheWindowAndQuitsWithZero) {
    WriteDictionary("kavrel.001", "a|b\n\r");
    const struct { const char* way; UINT message; WPARAM wParam; } ways[] = {
        {"the close box and Alt+F4", WM_CLOSE, 0},
        {"the hidden OK button", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        const auto dialog = OpenMainWindow();
        CloseMainWindow(*dialog, w.message, w.wParam);
    }
}

TEST_F(MainWindow, WordLongerThanTheLimitIsRefusedWithTheValidationMessage) {
    WriteDictionary("kavrel.001", "a|b\n\r");
    const auto dialog = OpenMainWindow();
    const HWND word = GetDlgItem(dialog->Hwnd(), IDC_WORD);
    {
        // Typing stops at 1024 characters; only a text set from outside can be longer. The
        // focus coming back from the message box must not ask again and again.
        const MessageBoxCloser boxes;
        dialog->SetCaption("marker");
        SetWindowTextW(word, std::wstring(1025, L'x').c_str());
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Please enter no more than 1024 characters."});
    }
    EXPECT_EQ(TextOf(dialog->Hwnd()), "marker") << "no lookup of a text the window refused";
    EXPECT_TRUE(IsWindow(dialog->Hwnd()));
    SetWindowTextW(word, std::wstring(1024, L'x').c_str());
    PumpFor(0);
    EXPECT_EQ(TextOf(dialog->Hwnd()), NotFoundCaption());
}

TEST_F(MainWindow, EnterAndEscapeNeverCloseTheWindow) {
    WriteDictionary("kavrel.001", "a|b\n\r");
    const auto dialog = OpenMainWindow();
    const HWND word = GetDlgItem(dialog->Hwnd(), IDC_WORD);
    PressKey(word, VK_RETURN);
    PressKey(word, VK_ESCAPE);
    PumpFor(50);
    EXPECT_TRUE(IsWindow(dialog->Hwnd()));
    EXPECT_EQ(QuitCode(), -1);
}

}  // namespace
}  // namespace kavrel::test
