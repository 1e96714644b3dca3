// Filling and showing the translation list.
#include "dictionary/translation_list.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/entry_text.h"
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

}  // namespace

void ShowTranslationList(HWND list, std::string_view translations) {
    // Widths are measured in the default font of the list's device context (no font is
    // selected into it), as the dropped width has always been computed.
    const win::WindowDC dc(list);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    int widest = 0;
    for (const std::string& row : SplitTranslations(translations)) {
        const std::wstring wide = win::Widen(row);
        SIZE extent{0, 0};
        GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
        widest = std::max(widest, static_cast<int>(extent.cx));
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    const int droppedWidth = widest + kDroppedWidthMargin;
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
