// The main window: start-up, the message map, loading a direction and looking words up.
#include "app/lookup_dlg.h"

#include <windowsx.h>

#include <optional>
#include <utility>

#include "app/captions.h"
#include "core/cp1254.h"
#include "core/entry_text.h"
#include "dictionary/direction_table.h"
#include "dictionary/translation_list.h"
#include "framework/app_messages.h"
#include "framework/text.h"
#include "framework/window.h"
#include "resources/resource.h"

namespace {

constexpr UINT kBannerTimerMs = 20000;
constexpr int kBannerIds[4] = {IDB_BANNER_FIRST, IDB_BANNER_SECOND, IDB_BANNER_THIRD, IDB_BANNER_HOVER};

}  // namespace

CLookupDlg::CLookupDlg(HWND parent) : Dialog(IDD_LOOKUP) {
    Create(parent);
}

// The window goes first, while the whole object can still handle its destruction.
CLookupDlg::~CLookupDlg() {
    if (Hwnd() != nullptr) DestroyWindow(Hwnd());
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
        case kavrel::win::kMsgLoadProgress:
            if (m_loader && m_loader->Id() == static_cast<unsigned>(lParam)) OnLoadProgress(static_cast<int>(wParam));
            return TRUE;
        case kavrel::win::kMsgLoadDone:
            if (m_loader && m_loader->Id() == static_cast<unsigned>(lParam)) OnLoadDone();
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
    DestroyWindow(Hwnd());
}

void CLookupDlg::OnCancel() {
    DestroyWindow(Hwnd());
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

// ---- Directions and loading ----

void CLookupDlg::OnSelchangeDirection() {
    const LRESULT index = SendMessageW(m_cbDirection, CB_GETCURSEL, 0, 0);
    m_strDirection = kavrel::win::ComboItemText(m_cbDirection, static_cast<int>(index));
    LoadDirection();
    SetFocus(m_edWord);
    if (IsLoading()) m_hFocusBeforeLoad = m_edWord;  // the load gives the focus back here
}

void CLookupDlg::LoadDirection() {
    m_loader.reset();
    m_mapWords.RemoveAll();
    m_loadOutcome = kavrel::LoadOutcome::kCancelled;  // until a load ends
    m_strDataFile = kavrel::DataFileOf(m_strDirection);
    if (m_strDataFile.empty()) return;
    m_loader = kavrel::DictionaryLoader::Start(Hwnd(), m_strDataFile, m_strDirection);
    if (m_loader) BeginLoadDisplay();
}

// While a load runs the word box is hidden and the direction list disabled, so neither a
// lookup nor a second load can reach the table being built.
void CLookupDlg::BeginLoadDisplay() {
    // At start-up nothing has the focus yet; the word box is where the user will type.
    const HWND focus = GetFocus();
    m_hFocusBeforeLoad = (focus != nullptr && IsChild(Hwnd(), focus)) ? focus : m_edWord;
    ShowWindow(m_edWord, SW_HIDE);
    EnableWindow(m_cbDirection, FALSE);
    SetCaption(kavrel::captions::LoadStarting(m_strDirection));
}

void CLookupDlg::OnLoadProgress(int percent) {
    SetCaption(kavrel::captions::LoadProgress(m_strDirection, percent));
}

void CLookupDlg::OnLoadDone() {
    m_mapWords = m_loader->TakeTable();
    m_loadOutcome = m_loader->Outcome();
    m_loader.reset();
    SetCaption(kavrel::captions::Loaded(m_mapWords.Count()));
    ShowWindow(m_edWord, SW_SHOW);
    EnableWindow(m_cbDirection, TRUE);
    RestoreFocusAfterLoad();
}

// Hiding the word box and disabling the list moved the focus away; it goes back to the
// control that had it. A window that is not active gets it when it is activated.
void CLookupDlg::RestoreFocusAfterLoad() {
    const HWND control = std::exchange(m_hFocusBeforeLoad, nullptr);
    if (control == nullptr || !IsChild(Hwnd(), control)) return;
    if (GetActiveWindow() != Hwnd()) {
        m_hFocusOnActivate = control;
        return;
    }
    const HWND focus = GetFocus();
    const bool focusInWindow = focus == nullptr || focus == Hwnd() || IsChild(Hwnd(), focus);
    if (focusInWindow && focus != control) RestoreFocus(control);
}

// Gives the focus back without this counting as the user entering the word box.
void CLookupDlg::RestoreFocus(HWND control) {
    m_bRestoringFocus = true;
    SetFocus(control);
    m_bRestoringFocus = false;
}

// True when the activation was handled here (the focus placed after a load).
bool CLookupDlg::OnActivate(WORD state) {
    const HWND control = std::exchange(m_hFocusOnActivate, nullptr);
    if (state == WA_INACTIVE || control == nullptr || IsLoading() || !IsChild(Hwnd(), control)) return false;
    RestoreFocus(control);
    return true;
}

// ---- Lookup ----

void CLookupDlg::LookupWord() {
    if (IsLoading()) return;  // the table is being replaced
    if (!ReadWordBox()) return;
    DWORD selectionStart = 0;
    SendMessageW(m_edWord, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    const std::string key = kavrel::LowerCopy1254(m_strWord);
    std::optional<std::string_view> entry;
    if (!m_strWord.empty()) entry = m_mapWords.Find(key);
    if (entry) {
        const kavrel::EntryParts parts = kavrel::SplitEntry(*entry);
        const std::string headword(parts.headword);
        const std::string translations(parts.translations);
        SetFocus(m_edWord);
        m_strWord = headword;
        UpdateData(false);
        SendMessageW(m_edWord, EM_SETSEL, selectionStart, selectionStart);
        SendMessageW(m_edWord, EM_SCROLLCARET, 0, 0);
        ShowTranslations(FALSE, "");
        ShowTranslations(TRUE, translations);
        SetCaption(kavrel::captions::Found(m_mapWords.Count()));
    } else {
        if (!m_strWord.empty()) SetCaption(std::string(kavrel::captions::kNotFound));
        ShowTranslations(FALSE, "");
    }
    UpdateData(false);
}

// Reads the controls into the members. A word box holding more than 1024 characters (only
// a text set from outside can) is refused with the validation message; the focus coming
// back from that message must not run a lookup that asks again, nested without end.
bool CLookupDlg::ReadWordBox() {
    if (m_bReadingWordBox) return false;
    m_bReadingWordBox = true;
    const bool valid = UpdateData(true);
    m_bReadingWordBox = false;
    return valid;
}

void CLookupDlg::ShowTranslations(BOOL bShow, std::string strTranslations) {
    if (bShow) {
        kavrel::ShowTranslationList(m_cbTranslations, strTranslations);
    } else {
        kavrel::HideTranslationList(m_cbTranslations);
    }
}

void CLookupDlg::OnSetFocusWord() {
    if (m_bRestoringFocus) return;
    if (!m_bTopMost && !kavrel::IsTranslationListDropped(m_cbTranslations)) LookupWord();
}

void CLookupDlg::OnKillFocusWord() {
    if (!m_bTopMost && kavrel::IsTranslationListDropped(m_cbTranslations)) {
        kavrel::HideTranslationList(m_cbTranslations);
    }
}
