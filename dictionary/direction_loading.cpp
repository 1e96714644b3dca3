// Choosing a direction and loading its dictionary: the table is emptied, the loader started,
// and while it runs the word box is hidden and the direction list disabled, so neither a
// lookup nor a second load can reach the table being built. Members of the main window;
// built with it.
#include <utility>

#include "app/lookup_dlg.h"
#include "core/captions.h"
#include "dictionary/direction_table.h"
#include "framework/window.h"

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

void CLookupDlg::BeginLoadDisplay() {
    // At start-up nothing has the focus yet; the word box is where the user will type.
    const HWND focus = GetFocus();
    m_hFocusBeforeLoad = (focus != nullptr && IsChild(Hwnd(), focus)) ? focus : m_edWord;
    ShowWindow(m_edWord, SW_HIDE);
    EnableWindow(m_cbDirection, FALSE);
    SetCaption(kavrel::captions::LoadStarting(m_strDirection));
}

// The loader's messages: those of a load replaced meanwhile are not this load's.
void CLookupDlg::OnLoaderMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_loader || m_loader->Id() != static_cast<unsigned>(lParam)) return;
    if (message == kavrel::kMsgLoadProgress) {
        SetCaption(kavrel::captions::Loading(m_strDirection, static_cast<int>(wParam)));
    } else {
        OnLoadDone();
    }
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
