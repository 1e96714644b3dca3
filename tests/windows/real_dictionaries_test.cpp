// The dictionaries made from the packaged sources, in the real window: the English and
// the Italian direction load, and their translations show with their Turkish letters.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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

    void Choose(int listPosition) {
        ChooseDirection(*dialog_, listPosition);
        ASSERT_TRUE(WaitForLoad(*dialog_));
        ASSERT_GT(dialog_->Words().Count(), 5000u) << "a real dictionary";
    }
};

TEST_F(RealDictionaries, TurkishToEnglishTranslatesEv) {
    Choose(0);
    EXPECT_EQ(dialog_->DataFile(), "kavrel.003");
    Type(word_, "ev");
    ASSERT_TRUE(IsWindowVisible(list_));
    const std::vector<std::wstring> rows = WideRows(list_);
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"house"), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"home"), rows.end());
}

TEST_F(RealDictionaries, ItalianToTurkishShowsTurkishLetters) {
    Choose(7);
    EXPECT_EQ(dialog_->DataFile(), "kavrel.008");
    Type(word_, "scoprire");
    ASSERT_TRUE(IsWindowVisible(list_));
    const std::vector<std::wstring> rows = WideRows(list_);
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"a\u00e7\u0131\u011fa vurmak"), rows.end());  // açığa vurmak
    EXPECT_NE(std::find(rows.begin(), rows.end(), L"\u00e7\u0131plakla\u015ft\u0131rmak"), rows.end());  // çıplaklaştırmak
    Type(word_, "x");  // "scoprirex" is no word: the list goes away again
    EXPECT_FALSE(IsWindowVisible(list_));
}

}  // namespace
}  // namespace kavrel::test
