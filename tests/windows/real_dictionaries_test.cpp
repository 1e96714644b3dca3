// The dictionaries made from the packaged sources, in the real window: the English and
// the Italian direction load, and their translations show with their Turkish letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

// The folder the dictionaries were built into, as Wine sees the Unix path.
std::wstring DictionaryFolder() {
    wchar_t unixPath[1024] = {};
    if (GetEnvironmentVariableW(L"KAVREL_DICTIONARY_DIR", unixPath, 1024) == 0) return {};
    std::wstring path = std::wstring(L"Z:") + unixPath;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

std::vector<std::wstring> WideRows(HWND combo) {
    std::vector<std::wstring> rows;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(text.size() - 1);
        rows.push_back(text);
    }
    return rows;
}

class RealDictionaries : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        const std::wstring folder = DictionaryFolder();
        ASSERT_FALSE(folder.empty()) << "KAVREL_DICTIONARY_DIR is not set";
        for (int i = 1; i <= 8; ++i) {
            const std::wstring name = L"kavrel.00" + std::to_wstring(i);
            ASSERT_TRUE(CopyFileW((folder + L"\\" + name).c_str(), name.c_str(), FALSE)) << i;
        }
        OpenWindow();
    }
};

TEST_F(RealDictionaries, DirectionsTranslateWithTheirOwnLetters) {
    const struct { int listPosition; const char* file; const char* word; std::vector<std::wstring> rows; } cases[] = {
        {0, "kavrel.003", "ev", {L"house", L"home"}},  // Türkçe -> İngilizce
        {7, "kavrel.008", "scoprire", {L"a\u00e7\u0131\u011fa vurmak", L"\u00e7\u0131plakla\u015ft\u0131rmak"}},
    };
    for (const auto& c : cases) {
        ChooseDirection(*dialog_, c.listPosition);
        ASSERT_TRUE(WaitForLoad(*dialog_)) << c.file;
        ASSERT_GT(dialog_->Words().Count(), 5000u) << c.file << " is a real dictionary";
        EXPECT_EQ(dialog_->DataFile(), c.file);
        ReplaceWord(c.word);
        ASSERT_TRUE(IsWindowVisible(list_)) << c.word;
        const std::vector<std::wstring> rows = WideRows(list_);
        for (const std::wstring& row : c.rows) EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << c.word;
        Type(word_, "x");  // the word with an x is no word: the list goes away again
        EXPECT_FALSE(IsWindowVisible(list_)) << c.word;
    }
}

}  // namespace
}  // namespace kavrel::test
