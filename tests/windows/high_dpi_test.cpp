// The main window at the display's DPI (ctest runs this suite at 96 and at 144 DPI): the
// dialog is laid out in dialog units, so every control the user sees must lie inside the
// window and every text must fit its control at either size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/text.h"
#include "resources/resource.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

// The size of a text in the font that the control itself draws with.
SIZE TextSize(HWND control, const std::wstring& text) {
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

RECT ClientRectOf(HWND control) {
    RECT rc;
    GetClientRect(control, &rc);
    return rc;
}

TEST(HighDpi, RunsAtTheDpiItWasStartedWith) {
    const char* expected = std::getenv("KAVREL_DPI");
    const HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), expected ? std::atoi(expected) : 96);
    ReleaseDC(nullptr, screen);
}

TEST(HighDpi, NothingIsClipped) {
    SetProcessDPIAware();  // what the program's manifest declares
    TempWorkDir dir;
    WriteDictionary("kavrel.001", Cp("ev|Haus, für null und nichtig erklären\n\r"));
    const auto dialog = OpenMainWindow();
    const HWND window = dialog->Hwnd();
    const RECT client = ClientRectOf(window);

    for (const int id : {IDC_WORD, IDC_DIRECTION, IDC_BANNER}) {
        const HWND control = GetDlgItem(window, id);
        ASSERT_TRUE(IsWindowVisible(control)) << "control " << id;
        RECT rc;
        GetWindowRect(control, &rc);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_GE(rc.left, client.left) << "control " << id;
        EXPECT_GE(rc.top, client.top) << "control " << id;
        EXPECT_LE(rc.right, client.right) << "control " << id;
        EXPECT_LE(rc.bottom, client.bottom) << "control " << id;
    }

    const HWND word = GetDlgItem(window, IDC_WORD);
    const RECT wordClient = ClientRectOf(word);
    EXPECT_LE(TextSize(word, L"\u0130\u011fy").cy, wordClient.bottom) << "a typed word's height";

    // The dropped translation list is wider than its longest row in the list's own font.
    const HWND translations = GetDlgItem(window, IDC_TRANSLATIONS);
    SetWindowTextW(word, L"ev");
    PumpFor(0);
    ASSERT_TRUE(IsWindowVisible(translations));
    const LRESULT droppedWidth = SendMessageW(translations, CB_GETDROPPEDWIDTH, 0, 0);
    EXPECT_GT(droppedWidth, TextSize(translations, L"f\u00fcr null und nichtig erkl\u00e4ren").cx);

    // Each direction's name fits the direction list's field, the longest included.
    const HWND direction = GetDlgItem(window, IDC_DIRECTION);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(direction, &info));
    for (const std::string& row : ComboRows(direction)) {
        const SIZE text = TextSize(direction, win::Widen(row));
        EXPECT_LE(text.cx, info.rcItem.right - info.rcItem.left) << row;
        EXPECT_LE(text.cy, info.rcItem.bottom - info.rcItem.top) << row;
    }
}

}  // namespace
}  // namespace kavrel::test
