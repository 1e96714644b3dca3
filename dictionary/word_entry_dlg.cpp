// The word editor dialog.
#include "dictionary/word_entry_dlg.h"

#include <string_view>

#include "framework/window.h"
#include "resources/resource.h"

namespace {

constexpr size_t kMaxHeadwordChars = 1024;
constexpr size_t kMaxTranslationsChars = 4048;

// "Yeni Kelime Girişi ... iptal [ESC]" for a word not in the dictionary yet.
constexpr std::string_view kNewWordCaption = "Yeni Kelime Giri\xFEi ... iptal [ESC]";
// "Kelime Değişikliği / Eklenmesi ..." for a word whose translations are shown.
constexpr std::string_view kChangeWordCaption = "Kelime De\xF0i\xFEikli\xF0i / Eklenmesi ...";

}  // namespace

CWordEntryDlg::CWordEntryDlg() : Dialog(IDD_WORD_ENTRY) {}

void CWordEntryDlg::DoDataExchange(kavrel::win::DataExchange& dx) {
    dx.Text(IDC_WORD, m_strHeadword, kMaxHeadwordChars);
    dx.Text(IDC_ENTRY_TRANSLATIONS, m_strTranslations, kMaxTranslationsChars);
    dx.Control(IDC_ENTRY_TRANSLATIONS, m_edTranslations);
}

INT_PTR CWordEntryDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            OnClose();
            return FALSE;  // the default handling turns the close into a cancel
        default:
            return Dialog::HandleMessage(message, wParam, lParam);
    }
}

BOOL CWordEntryDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    kavrel::win::SetText(Hwnd(), m_strTranslations.empty() ? kNewWordCaption : kChangeWordCaption);
    SetFocus(m_edTranslations);
    return FALSE;  // the focus has been placed
}

// Escape cancels: the texts are emptied first, then the dialog keyboard handling turns
// the key into the cancel command.
bool CWordEntryDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) EmptyTexts();
    return Dialog::PreTranslateMessage(msg);
}

void CWordEntryDlg::OnClose() {
    EmptyTexts();
}

void CWordEntryDlg::EmptyTexts() {
    m_strHeadword.clear();
    m_strTranslations.clear();
    UpdateData(false);
}
