// Filling and showing the translation list.
#include "dictionary/translation_list.h"

#include <algorithm>

#include "framework/handles.h"
#include "framework/text.h"

namespace kavrel {
namespace {

// Room the list needs beside its widest row (scroll bar and margins).
constexpr int kDroppedWidthMargin = 40;

// Some combo box implementations (Wine's) size the dropped list by the combo box's own
// width, which is 0 here, and leave it 0 pixels wide whatever dropped width was set; give
// the dropped list the width it was asked for.
void WidenDroppedList(HWND list, int width) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(list, &info) || info.hwndList == nullptr) return;
    RECT rc;
    GetWindowRect(info.hwndList, &rc);
    if (rc.right - rc.left >= width) return;
    SetWindowPos(info.hwndList, nullptr, 0, 0, width, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The width of text in the device context's current font.
int TextWidth(HDC dc, const std::wstring& text) {
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return static_cast<int>(extent.cx);
}

}  // namespace

void ShowTranslationList(HWND list, const std::vector<std::string>& rows) {
    // Widths are measured in the default font of the list's device context (no font is
    // selected into it), as the dropped width has always been computed. A platform that
    // does not scale that font at a high DPI would cut the rows the list draws in its own
    // font: then the list's own font decides, with room for the scroll bar and edges.
    const win::WindowDC dc(list);
    const win::WindowDC listFontDc(list);
    SelectObject(listFontDc.Get(), reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    int widest = 0;
    int widestDrawn = 0;
    for (const std::string& row : rows) {
        const std::wstring wide = win::Widen(row);
        widest = std::max(widest, TextWidth(dc.Get(), wide));
        widestDrawn = std::max(widestDrawn, TextWidth(listFontDc.Get(), wide));
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    const int needed = widestDrawn + GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE);
    const int droppedWidth = std::max(widest + kDroppedWidthMargin, needed);
    SendMessageW(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(droppedWidth), 0);
    SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    WidenDroppedList(list, droppedWidth);
    ShowWindow(list, SW_SHOW);
}

void HideTranslationList(HWND list) {
    SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
    ShowWindow(list, SW_HIDE);
}

bool IsTranslationListDropped(HWND list) {
    return SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}  // namespace kavrel
