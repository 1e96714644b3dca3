// Loading on the worker thread as the user sees it: the caption sequence, the entries the
// table ends with, hostile files, and keys or a close that arrive during a load.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "dictionary/loader.h"
#include "framework/handles.h"
#include "resources/resource.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

class Loader : public MainWindowTest {
protected:
    // Opens the window on plain as the German dictionary and returns the captions it showed.
    std::vector<std::string> LoadCaptions(const std::string& plain) {
        WriteDictionary("kavrel.001", plain);
        CaptionRecorder recorder;
        dialog_ = OpenMainWindow();
        std::vector<std::string> captions = recorder.Captions();
        captions.erase(captions.begin());  // "Kavrel v1.5" from the start-up
        return captions;
    }
};

std::string Loading(const std::string& percent) {
    return Cp("Türkçe -> Almanca kavrel yükleniyor (") + percent + ")...";
}

TEST_F(Loader, CaptionSequencesFollowTheLinesRead) {
    const struct { const char* name; std::string plain; std::vector<std::string> captions; } cases[] = {
        {"two 3-byte lines joined by LF CR", "a|b\n\rc|d",
         {Loading("0"), Loading("%62"), Loading("%125"), LoadedCaption(2)}},
        {"one line", "ev|Haus\n\r", {Loading("0"), Loading("%100"), LoadedCaption(1)}},
        {"one line without an end", "ev|Haus", {Loading("0"), Loading("%128"), LoadedCaption(1)}},
        {"zero byte ends the text", std::string("a|b\n\rc|d\0e|f\n\r", 15),
         {Loading("0"), Loading("%62"), Loading("%125"), LoadedCaption(2)}},
        {"empty file", "", {Loading("0"), LoadedCaption(0)}},
        {"only line ends", "\n\r\r\n\n", {Loading("0"), LoadedCaption(0)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadCaptions(c.plain), c.captions) << c.name;
        dialog_.reset();
    }
}

TEST_F(Loader, LineFeedOnlyLinesPassOneHundred) {
    std::string plain;
    for (int i = 0; i < 25; ++i) plain += "word" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "|abcdefghijklm\n";
    ASSERT_EQ(plain.size(), 25u * 21u);  // 20 bytes and one LF a line
    const std::vector<std::string> captions = LoadCaptions(plain);
    ASSERT_GE(captions.size(), 3u);
    EXPECT_EQ(captions[captions.size() - 2], Loading("%104"));
    EXPECT_EQ(captions.back(), LoadedCaption(25));
}

TEST_F(Loader, TableKeepsTheLaterLineAndEveryByteOfTheKey) {
    LoadCaptions(Cp("ev|home\n\rEv|house\n\r ev|blank\n\r|first\n\rno bar\n\rÇAY|tea\n\r"));
    const WordTable& words = dialog_->Words();
    EXPECT_EQ(words.Count(), 4u);
    EXPECT_EQ(words.Find("ev").value_or(""), "Ev|house");
    EXPECT_EQ(words.Find(" ev").value_or(""), " ev|blank");
    EXPECT_EQ(words.Find("").value_or(""), "no bar");
    EXPECT_EQ(words.Find(Cp("çay")).value_or(""), Cp("ÇAY|tea"));
}

TEST_F(Loader, MissingFileTellsTheUserAndEndsWithNoWords) {
    CaptionRecorder recorder;
    const auto dialog = StartMainWindow();
    EXPECT_EQ(WaitForLoadAnsweringBoxes(*dialog), std::vector<std::string>{LoadFailedText()});
    EXPECT_EQ(recorder.Captions().back(), LoadedCaption(0));
    EXPECT_EQ(dialog->Words().Count(), 0u);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog->Hwnd(), IDC_WORD)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog->Hwnd(), IDC_DIRECTION)));
}

TEST_F(Loader, ClosingWhileTheMissingFileMessageShowsEndsBoth) {
    const auto dialog = StartMainWindow();
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = DeclineOfferAndFindMessageBox(LoadFailedText())) != nullptr; }));
    EXPECT_LT(CloseMainWindow(*dialog), 3000u);
    EXPECT_FALSE(IsWindow(box)) << "the worker's message box is gone with the window";
}

TEST_F(Loader, HostileFilesLoadWithoutHarm) {
    std::mt19937 random(1);
    std::string randomBytes(1 << 20, '\0');
    for (char& c : randomBytes) c = static_cast<char>(random());
    std::string oneLongLine(1 << 20, 'x');
    std::string zeros(4096, '\0');
    std::string huge(100u << 20, '\0');  // 100 MB of lines, bars and noise
    for (size_t i = 0; i < huge.size(); ++i) huge[i] = "abcdefgh|ijk\n\xFE\xFD"[random() % 15];
    const struct { const char* name; std::string* plain; } cases[] = {
        {"random bytes", &randomBytes}, {"one line without bar or line end", &oneLongLine},
        {"zero bytes", &zeros}, {"100 MB", &huge},
    };
    for (const auto& c : cases) {
        WriteDictionary("kavrel.001", *c.plain);
        dialog_ = OpenMainWindow();
        EXPECT_TRUE(LoadFinished(*dialog_)) << c.name;
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog_->Hwnd(), IDC_WORD))) << c.name;
        dialog_.reset();
    }
}

// The load is held at its failure message (the file is locked meanwhile), so it outlasts
// the keys however busy the machine is.
TEST_F(Loader, KeysDuringALoadChangeNothing) {
    WriteDictionary("kavrel.001", "word1|translation\n\r");
    win::UniqueHandle holder(CreateFileW(L"kavrel.001", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    CaptionRecorder recorder;
    dialog_ = StartMainWindow();
    const HWND word = GetDlgItem(dialog_->Hwnd(), IDC_WORD);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = DeclineOfferAndFindMessageBox(LoadFailedText())) != nullptr; }));
    Type(word, "word1");
    PressKey(word, VK_RETURN);
    PostMessageW(GetFocus(), WM_CHAR, L'q', 1);
    PumpFor(50);
    EXPECT_TRUE(dialog_->IsLoading());
    holder.Reset();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitForLoad(*dialog_));
    EXPECT_EQ(TextOf(word), "");
    const std::vector<std::string> captions = recorder.Captions();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), NotFoundCaption()), 0);
    EXPECT_EQ(captions.back(), LoadedCaption(0));
    EXPECT_EQ(GetFocus(), word) << "the focus is back in the word box";
    Type(word, "word7");
    EXPECT_EQ(TextOf(word), "word7");
}

TEST_F(Loader, MillionEntriesKeepTheCaptionsFew) {
    std::string plain;
    plain.reserve(34'000'000);
    for (int i = 0; i < 1'000'000; ++i) plain += "headword" + std::to_string(i) + "|translation, two\n\r";
    const std::vector<std::string> captions = LoadCaptions(plain);
    EXPECT_LE(captions.size(), 103u);  // the start, one per percent, the end
    EXPECT_EQ(captions[1], Loading("%0"));
    EXPECT_EQ(captions[captions.size() - 2], Loading("%100"));
    EXPECT_EQ(captions.back(), LoadedCaption(1'000'000));
}

// Files of very many lines and few entries, loaded by the 32-bit program: they end with the
// entries they hold and no failure message, and the table costs about the file.
TEST_F(Loader, ManyLinesWithFewEntriesLoadWhatTheyHold) {
    const struct { const char* name; std::string unit; size_t repeat; size_t words; } cases[] = {
        {"60 MB of bare line feeds", "\n", 60u << 20, 0},
        {"20 MB of one-letter lines", "a\n", 10u << 20, 1},
    };
    for (const auto& c : cases) {
        std::string plain;
        plain.reserve(c.unit.size() * c.repeat);
        for (size_t i = 0; i < c.repeat; ++i) plain += c.unit;
        const size_t bytes = plain.size();
        WriteDictionary("kavrel.001", std::move(plain));
        dialog_ = StartMainWindow();
        EXPECT_TRUE(WaitForLoadAnsweringBoxes(*dialog_, true, 60000).empty()) << c.name;
        EXPECT_EQ(dialog_->Words().Count(), c.words) << c.name;
        EXPECT_LE(dialog_->Words().MemoryBytes(), 2 * bytes) << c.name;
        dialog_.reset();
    }
}

// The messages of a load that was replaced before the window handled them: the window takes
// the table of the load it waits for, not the end of the earlier one.
TEST_F(Loader, MessagesOfAReplacedLoadAreIgnored) {
    WriteDictionary("kavrel.001", "ev|Haus\n\r");
    std::string english;
    for (int i = 0; i < 300'000; ++i) english += "word" + std::to_string(i) + "|translation\n\r";
    WriteDictionary("kavrel.003", english);
    dialog_ = StartMainWindow();
    // The first load ends; its messages wait in the queue, unhandled.
    MSG done;
    const DWORD start = GetTickCount();
    while (!PeekMessageW(&done, dialog_->Hwnd(), kMsgLoadDone, kMsgLoadDone, PM_NOREMOVE)) {
        ASSERT_LT(GetTickCount() - start, 20000u) << "the first load never ended";
        Sleep(10);
    }
    ChooseDirection(*dialog_, 0);  // Türkçe -> İngilizce
    ASSERT_TRUE(WaitForLoad(*dialog_));
    EXPECT_EQ(dialog_->Words().Count(), 300'000u);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), LoadedCaption(300'000));
}

// Dropping a load while its file is still being read and filed (as closing the window does)
// stops the worker between lines: it never gets to announce the end of that load.
TEST_F(Loader, ADroppedLoadStopsBeforeItsEnd) {
    std::string plain;
    plain.reserve(2'000'000 * 16);
    for (int i = 0; i < 2'000'000; ++i) plain += "w" + std::to_string(i) + "|x\n\r";
    WriteDictionary("kavrel.001", std::move(plain));
    const HWND notify = CreateWindowExW(0, L"Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(notify, nullptr);
    {
        const auto loader = DictionaryLoader::Start(notify, "kavrel.001", "test");
        ASSERT_NE(loader, nullptr);
    }  // cancels and waits for the worker's end
    MSG done;
    EXPECT_FALSE(PeekMessageW(&done, notify, kMsgLoadDone, kMsgLoadDone, PM_REMOVE));
    DestroyWindow(notify);
}

TEST_F(Loader, ClosingDuringALoadEndsPromptly) {
    std::string plain;
    for (int i = 0; i < 1'000'000; ++i) plain += "headword" + std::to_string(i) + "|translation, two\n\r";
    WriteDictionary("kavrel.001", plain);
    const auto dialog = StartMainWindow();
    PumpFor(30);
    ASSERT_TRUE(dialog->IsLoading());
    EXPECT_LT(CloseMainWindow(*dialog), 3000u);
    EXPECT_FALSE(IsWindow(dialog->Hwnd()));
    PumpFor(100);  // messages the stopped worker might still post go nowhere
}

}  // namespace
}  // namespace kavrel::test
