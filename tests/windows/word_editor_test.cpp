// F6 and the word editor as the user meets them: the dialog, what a confirmation stores and
// writes, what a cancel leaves alone, the save's captions and file, and saves that must
// fail or be refused without harm to the dictionary on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "framework/handles.h"
#include "framework/window.h"
#include "resources/resource.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

const std::string kSaveStarting = Cp("Kavrel değişiklikleri saklanıyor (% 0) ...");
const std::string kChangeCaption = Cp("Kelime Değişikliği / Eklenmesi ...");
const std::string kNewCaption = Cp("Yeni Kelime Girişi ... iptal [ESC]");

// Every entry as key -> "headword|translations", the form a save writes.
std::map<std::string, std::string> Entries(const WordTable& table) {
    std::map<std::string, std::string> entries;
    table.ForEach([&](std::string_view line) {
        const EntryParts parts = SplitEntry(line);
        entries[LowerCopy1254(parts.headword)] = std::string(parts.headword) + "|" + std::string(parts.translations);
    });
    return entries;
}

// The data file's entries, read back as a load reads them.
std::map<std::string, std::string> FileEntries(const std::string& name = "kavrel.001") {
    std::string text = ReadRawFile(name);
    UnscrambleText(text);
    WordTable table;
    LoadDictionaryText(text, table, nullptr);
    return Entries(table);
}

// Editor actions, run inside its own message loop.
void Confirm(HWND editor, const std::string& translations) {
    win::SetText(GetDlgItem(editor, IDC_ENTRY_TRANSLATIONS), translations);
    PostMessageW(GetDlgItem(editor, IDC_ENTRY_TRANSLATIONS), WM_KEYDOWN, VK_RETURN, 1);
}

class WordEditor : public MainWindowTest {
protected:
    // Types word into the emptied word box, presses F6 and runs act in the editor; false
    // when no editor opened.
    bool EditWith(const std::string& word, const std::function<void(HWND)>& act) {
        ReplaceWord(word);
        return WithModalDialog([&] { PressKey(word_, VK_F6); }, act);
    }
};

TEST_F(WordEditor, ChangingAnEntryStoresItRewritesTheFileAndShowsIt) {
    Open("ev|house\n\rkedi|cat\n\r");
    std::string caption, headword, translations;
    bool headwordEnabled = true, translationsFocused = false;
    LRESULT limits[2] = {};
    ASSERT_TRUE(EditWith("ev", [&](HWND editor) {
        caption = TextOf(editor);
        headword = TextOf(GetDlgItem(editor, IDC_WORD));
        translations = TextOf(GetDlgItem(editor, IDC_ENTRY_TRANSLATIONS));
        headwordEnabled = IsWindowEnabled(GetDlgItem(editor, IDC_WORD));
        translationsFocused = GetFocus() == GetDlgItem(editor, IDC_ENTRY_TRANSLATIONS);
        limits[0] = SendDlgItemMessageW(editor, IDC_WORD, EM_GETLIMITTEXT, 0, 0);
        limits[1] = SendDlgItemMessageW(editor, IDC_ENTRY_TRANSLATIONS, EM_GETLIMITTEXT, 0, 0);
        Confirm(editor, "house, home");
    }));
    EXPECT_EQ(caption, kChangeCaption);
    EXPECT_EQ(headword, "ev");
    EXPECT_EQ(translations, "house");
    EXPECT_FALSE(headwordEnabled);
    EXPECT_TRUE(translationsFocused);
    EXPECT_EQ(limits[0], 1024);
    EXPECT_EQ(limits[1], 4048);
    EXPECT_EQ(dialog_->Words().Find("ev").value_or(""), "ev|house, home");
    EXPECT_EQ(FileEntries(), Entries(dialog_->Words()));
    EXPECT_EQ(ComboRows(list_), (std::vector<std::string>{"house", "home"}));
    EXPECT_NE(SendMessageW(list_, CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), FoundCaption(2));
}

TEST_F(WordEditor, NewWordIsStoredAsTypedUnderItsLowerCasedKey) {
    Open("kedi|cat\n\r");
    std::string caption, headword, translations = "?";
    ASSERT_TRUE(EditWith("Ev", [&](HWND editor) {
        caption = TextOf(editor);
        headword = TextOf(GetDlgItem(editor, IDC_WORD));
        translations = TextOf(GetDlgItem(editor, IDC_ENTRY_TRANSLATIONS));
        Confirm(editor, "house");
    }));
    EXPECT_EQ(caption, kNewCaption);
    EXPECT_EQ(headword, "Ev");
    EXPECT_EQ(translations, "");
    EXPECT_EQ(dialog_->Words().Find("ev").value_or(""), "Ev|house");
    EXPECT_EQ(dialog_->Words().Count(), 2u);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), FoundCaption(2));
    EXPECT_EQ(FileEntries().at("ev"), "Ev|house");
}

TEST_F(WordEditor, CancelsAndEmptyInputChangeNeitherTableNorFile) {
    Open("ev|house\n\r");
    const std::string bytes = ReadRawFile("kavrel.001");
    const struct { const char* name; std::function<void(HWND)> act; } cases[] = {
        {"Escape", [](HWND e) {
             win::SetText(GetDlgItem(e, IDC_ENTRY_TRANSLATIONS), "typed");
             PostMessageW(GetDlgItem(e, IDC_ENTRY_TRANSLATIONS), WM_KEYDOWN, VK_ESCAPE, 1);
         }},
        {"close box", [](HWND e) {
             win::SetText(GetDlgItem(e, IDC_ENTRY_TRANSLATIONS), "typed");
             PostMessageW(e, WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
        {"empty translations", [](HWND e) { Confirm(e, ""); }},
    };
    for (const auto& c : cases) {
        for (const char* word : {"ev", "yeni"}) {
            EXPECT_TRUE(EditWith(word, c.act)) << c.name;
            EXPECT_EQ(dialog_->Words().Count(), 1u) << c.name << " on " << word;
            EXPECT_EQ(dialog_->Words().Find("ev").value_or(""), "ev|house") << c.name;
            EXPECT_EQ(ReadRawFile("kavrel.001"), bytes) << c.name << " on " << word;
        }
    }
    SendMessageW(word_, EM_SETSEL, 0, -1);
    PressKey(word_, VK_BACK);
    EXPECT_FALSE(WithModalDialog([&] { PressKey(word_, VK_F6); }, [](HWND e) { Confirm(e, "x"); }))
        << "F6 on an empty word shows no editor";
    EXPECT_TRUE(WithModalDialog(
        [&] { SendMessageW(dialog_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), 0); },
        [&](HWND e) {
            EXPECT_EQ(TextOf(GetDlgItem(e, IDC_WORD)), "") << "button 11";
            Confirm(e, "x");
        }));
    EXPECT_EQ(Entries(dialog_->Words()), FileEntries()) << "button 11 changes nothing";
    EXPECT_EQ(ReadRawFile("kavrel.001"), bytes);
}

// Two entries of 3004 characters and the new one: the save text is exactly 10000 or 10001
// characters, one chunk that is flushed only in the second case.
TEST_F(WordEditor, SaveShowsItsProgressPerFlushedChunkAndRestoresTheCaption) {
    for (size_t length : {3988u, 3989u}) {
        Open("b|" + std::string(3000, 'x') + "\n\rc|" + std::string(3000, 'y') + "\n\r");
        const CaptionRecorder captions(dialog_->Hwnd());
        ASSERT_TRUE(EditWith("a", [&](HWND e) { Confirm(e, std::string(length, 'z')); }));
        std::vector<std::string> seen = captions.Captions();
        seen.erase(seen.begin(), std::find(seen.begin(), seen.end(), kSaveStarting));
        std::vector<std::string> expected = {kSaveStarting, NotFoundCaption(), FoundCaption(3)};
        if (length == 3989) expected.insert(expected.begin() + 1, Cp("Kavrel değişiklikleri saklanıyor (%100) ..."));
        EXPECT_EQ(seen, expected) << length;
        EXPECT_EQ(ReadRawFile("kavrel.001").size(), 10000 + length - 3988);
        dialog_.reset();
    }
}

// Lines end in LF CR, a bar-less entry is written back behind a "|", and every byte from
// 0x80 to 0xFF survives: the file loads back to the table that was saved.
TEST_F(WordEditor, SavedFileLoadsBackToTheSameTable) {
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<char>(b));
    std::replace(high.begin(), high.end(), '|', 'x');
    Open("ev|house\n\rbare entry\n\r" + Cp("Çay|tea\n\rh|") + high + "\n\r");
    ASSERT_TRUE(EditWith("ev", [](HWND e) { Confirm(e, Cp("ev, yuva, ÇĞİÖŞÜ")); }));
    std::string text = ReadRawFile("kavrel.001");
    UnscrambleText(text);
    EXPECT_NE(("\n\r" + text).find("\n\r|bare entry\n\r"), std::string::npos) << "a line of its own, first or later";
    size_t lineEnds = 0;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1), ++lineEnds) {
        EXPECT_EQ(text[at + 1], '\r');
    }
    EXPECT_EQ(lineEnds, 4u);
    EXPECT_EQ(FileEntries(), Entries(dialog_->Words()));
    EXPECT_EQ(FileEntries().at("h"), "h|" + high);
}

TEST_F(WordEditor, SaveThatCannotReplaceTheFileTellsTheUserAndKeepsTheChange) {
    Open("ev|house\n\r");
    const std::string bytes = ReadRawFile("kavrel.001");
    win::UniqueHandle holder(CreateFileW(L"kavrel.001", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    {
        const MessageBoxCloser boxes;
        ASSERT_TRUE(EditWith("kedi", [](HWND e) { Confirm(e, "cat"); }));
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_NE(boxes.Texts()[0].find("kavrel.001"), std::string::npos) << boxes.Texts()[0];
        EXPECT_NE(boxes.Texts()[0].find(Cp("başka bir program tarafından kullanılıyor")), std::string::npos);
    }
    EXPECT_EQ(dialog_->Words().Find("kedi").value_or(""), "kedi|cat") << "the change stays in memory";
    EXPECT_EQ(TextOf(dialog_->Hwnd()), FoundCaption(2));
    holder.Reset();
    EXPECT_EQ(ReadRawFile("kavrel.001"), bytes);
    EXPECT_EQ(GetFileAttributesW(L"kavrel.001.save.tmp"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(EditWith("ev", [](HWND e) { Confirm(e, "home"); }));
    EXPECT_EQ(FileEntries(), (std::map<std::string, std::string>{{"ev", "ev|home"}, {"kedi", "kedi|cat"}}))
        << "the next save writes both changes";
}

TEST_F(WordEditor, DictionaryLockedDuringTheLoadIsNeverOverwritten) {
    WriteDictionary("kavrel.001", "ev|house\n\rkedi|cat\n\r");
    const std::string bytes = ReadRawFile("kavrel.001");
    const MessageBoxCloser boxes;
    {
        win::UniqueHandle holder(CreateFileW(L"kavrel.001", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        OpenWindow();
    }
    EXPECT_EQ(dialog_->Words().Count(), 0u);
    ASSERT_TRUE(EditWith("su", [](HWND e) { Confirm(e, "water"); }));
    EXPECT_EQ(ReadRawFile("kavrel.001"), bytes);
    const std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(texts.size(), 2u) << "the load's failure, then the refused save";
    EXPECT_NE(texts[1].find("kavrel.001"), std::string::npos) << texts[1];
    EXPECT_NE(texts[1].find(Cp("kullanılıyordu")), std::string::npos) << texts[1];
    EXPECT_EQ(dialog_->Words().Find("su").value_or(""), "su|water");
}

TEST_F(WordEditor, MissingDictionaryIsCreatedByTheFirstSave) {
    const MessageBoxCloser boxes;  // the load's failure message
    OpenWindow();
    ASSERT_TRUE(EditWith(Cp("Şeker"), [](HWND e) { Confirm(e, "sugar"); }));
    EXPECT_EQ(FileEntries(), (std::map<std::string, std::string>{{Cp("şeker"), Cp("Şeker|sugar")}}));
    EXPECT_EQ(boxes.Texts().size(), 1u);
}

TEST_F(WordEditor, NothingEditsOrSavesWhileALoadRuns) {
    Open("ev|house\n\r");
    std::string plain;
    for (int i = 0; i < 300'000; ++i) plain += "word" + std::to_string(i) + "|translation, another one\n\r";
    WriteDictionary("kavrel.002", plain);
    Type(word_, "ev");
    ChooseDirection(*dialog_, 3);  // Almanca -> Türkçe, kavrel.002
    ASSERT_TRUE(dialog_->IsLoading());
    const auto noEditor = [&](const std::function<void()>& trigger) {
        return !WithModalDialog(trigger, [](HWND e) { Confirm(e, "x"); });
    };
    EXPECT_TRUE(noEditor([&] { PressKey(GetFocus(), VK_F6); }));
    EXPECT_TRUE(noEditor([&] { PressKey(dialog_->Hwnd(), VK_F6); }));
    EXPECT_TRUE(noEditor([&] { SendMessageW(dialog_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), 0); }));
    EXPECT_FALSE(dialog_->SaveDictionary());
    EXPECT_TRUE(dialog_->IsLoading()) << "the load should outlast the keys";
    ASSERT_TRUE(WaitForLoad(*dialog_));
    EXPECT_EQ(dialog_->Words().Count(), 300'000u);
    EXPECT_EQ(ReadRawFile("kavrel.002").size(), plain.size());
}

}  // namespace
}  // namespace kavrel::test
