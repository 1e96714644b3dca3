// F6: the word editor for the word in the word box, and writing the whole dictionary back
// to its data file after a confirmed change. Members of the main window; built with it.
#include <algorithm>
#include <new>
#include <stdexcept>

#include "app/lookup_dlg.h"
#include "core/captions.h"
#include "core/cp1254.h"
#include "core/dictionary_save.h"
#include "core/entry_text.h"
#include "dictionary/save_messages.h"
#include "dictionary/word_entry_dlg.h"
#include "framework/window.h"

namespace {

// An entry is one line of the data file: a line end inside its text (only a program, not
// the keyboard, can put one into the box) would split it into two entries.
std::string OnOneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), kavrel::IsLineEndByte, ' ');
    return text;
}

void ReportSaveProblem(HWND owner, const std::string& message) {
    kavrel::win::ShowMessageBox(owner, message, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void CLookupDlg::EditEntry() {
    if (IsLoading() || m_strWord.empty()) return;  // the table is incomplete while loading
    // "|" ends a headword in the data file, so a word holding one cannot become an entry.
    if (m_strWord.find('|') != std::string::npos) return;
    CWordEntryDlg editor;
    editor.m_strHeadword = m_strWord;
    if (const auto entry = m_mapWords.Find(kavrel::LowerCopy1254(m_strWord))) {
        const kavrel::EntryParts parts = kavrel::SplitEntry(*entry);
        editor.m_strHeadword = std::string(parts.headword);
        editor.m_strTranslations = std::string(parts.translations);
    }
    editor.DoModal(Hwnd());
    if (editor.m_strHeadword.empty() || editor.m_strTranslations.empty()) return;  // cancelled
    m_strWord = editor.m_strHeadword;
    try {
        m_mapWords.SetLine(m_strWord + "|" + OnOneLine(editor.m_strTranslations));
    } catch (const std::bad_alloc&) {
        ReportSaveProblem(Hwnd(), kavrel::SaveFailedMessage(m_strDataFile, ERROR_NOT_ENOUGH_MEMORY));
        return;
    } catch (const std::length_error&) {  // the table holds as many lines as it can address
        ReportSaveProblem(Hwnd(), kavrel::SaveFailedMessage(m_strDataFile, ERROR_FILE_TOO_LARGE));
        return;
    }
    SaveDictionary();
    UpdateData(false);
    LookupWord();
}

bool CLookupDlg::SaveDictionary() {
    if (IsLoading()) return false;
    if (m_strDataFile.empty() || !kavrel::SaveAllowedAfter(m_loadOutcome)) {
        ReportSaveProblem(Hwnd(), kavrel::SaveRefusedMessage(m_strDataFile, m_loadOutcome));
        return false;
    }
    const std::string before = kavrel::win::GetText(Hwnd());
    SetCaption(std::string(kavrel::captions::kSaveStarting));
    kavrel::win::WriteResult written{false, ERROR_NOT_ENOUGH_MEMORY};
    try {
        const std::string text = kavrel::BuildScrambledDictionaryText(
            m_mapWords, [this](int percent) { SetCaption(kavrel::captions::SaveProgress(percent)); });
        written = kavrel::WriteDataFile(m_strDataFile, text);
    } catch (const std::bad_alloc&) {
        written.error = ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::length_error&) {
        written.error = ERROR_FILE_TOO_LARGE;
    }
    SetCaption(before);
    if (!written.ok) {
        ReportSaveProblem(Hwnd(), kavrel::SaveFailedMessage(m_strDataFile, written.error));
        return false;
    }
    m_loadOutcome = kavrel::LoadOutcome::kWhole;  // the file now holds the whole table
    return true;
}

// Button 11 shows the editor with both texts empty; what it holds afterwards is not used.
void CLookupDlg::OnShowEntryEditor() {
    if (IsLoading()) return;
    CWordEntryDlg editor;
    editor.DoModal(Hwnd());
}
