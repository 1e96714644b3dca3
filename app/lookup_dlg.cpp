// The main window's spine: its controls, start-up, the message map and its end. Each
// feature's members live in a file of their own: app/ holds the keys, settings, banner and
// hotkey; dictionary/ the direction loading, the lookup and the word editor.
#include "app/lookup_dlg.h"

#include <windowsx.h>

#include "core/captions.h"
#include "framework/window.h"
#include "resources/resource.h"

namespace {

constexpr UINT kBannerTimerMs = 20000;
constexpr int kBannerIds[4] = {IDB_BANNER_FIRST, IDB_BANNER_SECOND, IDB_BANNER_THIRD, IDB_BANNER_HOVER};

}  // namespace

CLookupDlg::CLookupDlg(HWND parent) : Dialog(IDD_LOOKUP) {
    Create(parent);
}

void CLookupDlg::DoDataExchange(kavrel::win::DataExchange& dx) {
    dx.Control(IDC_DIRECTION, m_cbDirection);
    dx.Control(IDC_TRANSLATIONS, m_cbTranslations);
    dx.Control(IDC_WORD, m_edWord);
    dx.Control(IDC_BANNER, m_stBanner);
    dx.Text(IDC_WORD, m_strWord, kMaxWordChars);
}

INT_PTR CLookupDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_TIMER:
            OnTimer(wParam);
            return FALSE;
        case WM_MOUSEMOVE:
            OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return FALSE;
        case WM_LBUTTONDBLCLK:
            OnLButtonDblClk(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return FALSE;
        case WM_ACTIVATE:
            return OnActivate(LOWORD(wParam)) ? TRUE : FALSE;
        case WM_HOTKEY:
            OnHotkey(static_cast<int>(wParam));
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return Dialog::HandleMessage(message, wParam, lParam);
        case kavrel::kMsgLoadProgress:
        case kavrel::kMsgLoadDone:
            OnLoaderMessage(message, wParam, lParam);
            return TRUE;
        default:
            return Dialog::HandleMessage(message, wParam, lParam);
    }
}

void CLookupDlg::OnCommand(int id, int code) {
    switch (id) {
        case IDC_ABOUT:
            if (code == BN_CLICKED) OnShowEntryEditor();
            break;
        case IDC_WORD:
            if (code == EN_CHANGE) LookupWord();
            else if (code == EN_SETFOCUS) OnSetFocusWord();
            else if (code == EN_KILLFOCUS) OnKillFocusWord();
            break;
        case IDC_DIRECTION:
            if (code == CBN_SELCHANGE) OnSelchangeDirection();
            break;
        default:
            break;
    }
}

BOOL CLookupDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    m_bTopMost = FALSE;
    for (size_t i = 0; i < m_bmpBanner.size(); ++i) {
        m_bmpBanner[i] = kavrel::win::GdiObject<HBITMAP>(static_cast<HBITMAP>(
            LoadImageW(kavrel::win::ResourceInstance(), MAKEINTRESOURCEW(kBannerIds[i]), IMAGE_BITMAP, 0, 0, 0)));
    }
    LoadSettings();
    SetCaption(std::string(kavrel::captions::kProgramTitle));
    PlaceAtSavedCorner();
    SetWindowPos(Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(m_stBanner, SW_SHOW);
    LoadDirection();
    SetTimer(Hwnd(), kBannerTimerId, kBannerTimerMs, nullptr);
    m_nBannerState = 1;
    m_hIcon = LoadIconW(kavrel::win::ResourceInstance(), MAKEINTRESOURCEW(IDI_KAVREL));
    SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    RegisterLookupHotkey();
    return TRUE;
}

// Moves the restored window so that its top-left corner is the saved one, same size.
void CLookupDlg::PlaceAtSavedCorner() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Hwnd(), &placement);
    RECT& rc = placement.rcNormalPosition;
    OffsetRect(&rc, m_nXPos - rc.left, m_nYPos - rc.top);
    SetWindowPlacement(Hwnd(), &placement);
}

// The window goes in any case, also when the word box fails its validation.
void CLookupDlg::OnOK() {
    UpdateData(true);
    Destroy();
}

void CLookupDlg::OnCancel() {
    Destroy();
}

void CLookupDlg::OnDestroy() {
    m_loader.reset();  // a load still running stops between lines; its table is dropped
    KillTimer(Hwnd(), kBannerTimerId);
    ReleaseLookupHotkey();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Hwnd(), &placement);
    m_nXPos = placement.rcNormalPosition.left;
    m_nYPos = placement.rcNormalPosition.top;
    SaveSettings();
    PostQuitMessage(0);
}

void CLookupDlg::SetCaption(const std::string& caption) {
    kavrel::win::SetText(Hwnd(), caption);
}
