// Looking up the word box's text as the user types, on Enter and when the word box gains
// the focus. What a lookup shows is decided beside the word table (core/lookup.h); these
// members carry it out on the controls. Members of the main window; built with it.
#include "app/lookup_dlg.h"
#include "core/lookup.h"
#include "dictionary/translation_list.h"

void CLookupDlg::LookupWord() {
    if (IsLoading()) return;  // the table is being replaced
    if (!ReadWordBox()) return;
    DWORD selectionStart = 0;
    SendMessageW(m_edWord, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
    const kavrel::LookupDecision decision = kavrel::DecideLookup(m_mapWords, m_strWord);
    if (decision.Hit()) {
        ShowHit(decision, selectionStart);
    } else {
        if (decision.caption) SetCaption(*decision.caption);
        kavrel::HideTranslationList(m_cbTranslations);
    }
    UpdateData(false);
}

// Giving the word box the focus and writing the stored headword into it may each run a
// lookup of the same word, nested in this one. It reaches the same decision; once the box
// holds the headword, writing it again changes nothing, so the nesting ends, and the caret
// and the rows placed here are what remain.
void CLookupDlg::ShowHit(const kavrel::LookupDecision& hit, DWORD caret) {
    SetFocus(m_edWord);
    m_strWord = *hit.headword;
    UpdateData(false);
    SendMessageW(m_edWord, EM_SETSEL, caret, caret);
    SendMessageW(m_edWord, EM_SCROLLCARET, 0, 0);
    kavrel::HideTranslationList(m_cbTranslations);
    kavrel::ShowTranslationList(m_cbTranslations, hit.rows);
    SetCaption(*hit.caption);
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

void CLookupDlg::OnSetFocusWord() {
    if (m_bRestoringFocus) return;
    if (!m_bTopMost && !kavrel::IsTranslationListDropped(m_cbTranslations)) LookupWord();
}

void CLookupDlg::OnKillFocusWord() {
    if (!m_bTopMost && kavrel::IsTranslationListDropped(m_cbTranslations)) {
        kavrel::HideTranslationList(m_cbTranslations);
    }
}
