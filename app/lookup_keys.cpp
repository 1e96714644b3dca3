// The main window's keyboard commands. Every key-down for the window or any of its
// controls passes here before it is translated, so the keys act alike whichever control
// has the focus.
#include <string>

#include "app/lookup_dlg.h"
#include "core/captions.h"
#include "dictionary/translation_list.h"
#include "framework/shell.h"

namespace {

constexpr char kHelpFile[] = ".\\help\\kavrel.chm";

}  // namespace

bool CLookupDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && OnKeyDown(static_cast<UINT>(msg.wParam))) return true;
    if (IsLoadBlockedKey(msg)) return true;
    return Dialog::PreTranslateMessage(msg);
}

// Acts on one key-down (an auto-repeated one too); true when the key is consumed, so that
// neither the dialog's own key handling nor a character message follows it. Enter would
// otherwise press the hidden default button, which closes the window, and Up and Down
// would step the direction list.
bool CLookupDlg::OnKeyDown(UINT key) {
    switch (key) {
        case VK_RETURN:
            LookupWord();
            return true;
        case VK_ESCAPE:
            CloseTranslationList();
            return true;
        case VK_UP:
            MoveTranslationSelection(-1);
            return true;
        case VK_DOWN:
            MoveTranslationSelection(+1);
            return true;
        case VK_F1:
            kavrel::win::ShellOpen(kHelpFile);  // a missing file or viewer is the shell's to show
            return false;
        case VK_F2:
            ToggleTopMost();
            return false;
        case VK_F6:
            EditEntry();
            return false;
        default:
            return false;
    }
}

// While a load runs, no keystroke may change the hidden word box.
bool CLookupDlg::IsLoadBlockedKey(const MSG& msg) const {
    if (!IsLoading() || msg.hwnd != m_edWord) return false;
    switch (msg.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_DEADCHAR:
        case WM_UNICHAR:
        case WM_IME_CHAR:
            return true;
        default:
            return false;
    }
}

void CLookupDlg::CloseTranslationList() {
    if (IsWindowVisible(m_cbTranslations) && kavrel::IsTranslationListDropped(m_cbTranslations)) {
        kavrel::HideTranslationList(m_cbTranslations);
    }
}

// Moves the selected row of the dropped-down list by step, never past either end and
// never from "no row selected". The list's own edit field, which takes the row's text,
// is cleared again; the list is zero-width, so only its rows are seen.
void CLookupDlg::MoveTranslationSelection(int step) {
    if (!kavrel::IsTranslationListDropped(m_cbTranslations)) return;
    const LRESULT selected = SendMessageW(m_cbTranslations, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;
    const LRESULT target = selected + step;
    if (target < 0 || target >= SendMessageW(m_cbTranslations, CB_GETCOUNT, 0, 0)) return;
    SendMessageW(m_cbTranslations, CB_SETCURSEL, static_cast<WPARAM>(target), 0);
    SendMessageW(m_cbTranslations, WM_CLEAR, 0, 0);
}

void CLookupDlg::ToggleTopMost() {
    m_bTopMost = m_bTopMost ? FALSE : TRUE;
    SetWindowPos(Hwnd(), m_bTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetCaption(std::string(m_bTopMost ? kavrel::captions::kTopMostOn : kavrel::captions::kTopMostOff));
}
