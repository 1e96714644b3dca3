// The settings profile with the real main window: what a first start writes, how the
// counter and the stamp go on, which direction a stored name selects and loads, where the
// window comes back, and the profile's bytes whatever the code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "framework/profile.h"
#include "framework/window.h"
#include "resources/resource.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

class Settings : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteDictionary("kavrel.001", "ev|Haus\n\r");
    }

    // Closes the window as the close box does and waits for the program's end.
    static void Close(MainWindowPtr& dialog) {
        CloseMainWindow(*dialog);
        dialog.reset();
    }
    static LRESULT SelectedRow(const CLookupDlg& dialog) {
        return SendDlgItemMessageW(dialog.Hwnd(), IDC_DIRECTION, CB_GETCURSEL, 0, 0);
    }
    static std::pair<int, int> RestoredCorner(const CLookupDlg& dialog) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(dialog.Hwnd(), &placement);
        return {placement.rcNormalPosition.left, placement.rcNormalPosition.top};
    }

    static std::string Profile() { return ReadRawFile(ProfilePath()); }
    static void WriteProfile(const std::string& lines) { WriteRawFile(ProfilePath(), "[Settings]\r\n" + lines); }
    // The stored bytes of key; "<none>" when it is missing.
    static std::string Stored(const std::string& key) {
        const std::string text = "\r\n" + Profile();
        const size_t at = text.find("\r\n" + key + "=");
        if (at == std::string::npos) return "<none>";
        const size_t begin = at + key.size() + 3;
        return text.substr(begin, text.find("\r\n", begin) - begin);
    }
    // A stamp made during the test: twelve digits of the local time.
    static void ExpectFreshStamp(const std::string& stamp, const std::string& before) {
        EXPECT_EQ(stamp.size(), 12u) << stamp;
        EXPECT_LE(before, stamp);
        EXPECT_LE(stamp, win::LocalTimeStamp());
    }
};

TEST_F(Settings, FirstRunWritesTheProfileAtCloseAndEachClosedRunCounts) {
    const std::string before = win::LocalTimeStamp();
    auto dialog = OpenMainWindow();
    EXPECT_EQ(RestoredCorner(*dialog), std::make_pair(0, 0));
    EXPECT_EQ(SelectedRow(*dialog), 2);
    EXPECT_EQ(dialog->Words().Count(), 1u) << "kavrel.001 loaded";
    EXPECT_EQ(Profile(), "") << "nothing is written before the window closes";
    Close(dialog);
    const std::string stamp = Stored("usedfirst");
    ExpectFreshStamp(stamp, before);
    EXPECT_EQ(Profile(), "[Settings]\r\nxpos=0\r\nypos=0\r\nused=1\r\nusedfirst=" + stamp + "\r\ndirection=" +
                             Cp("Türkçe -> Almanca") + "\r\n");

    dialog = OpenMainWindow();
    Close(dialog);
    EXPECT_EQ(Stored("used"), "2");
    EXPECT_EQ(Stored("usedfirst"), stamp) << "the stamp never changes";
}

TEST_F(Settings, CounterAndStampGoOnFromTheStoredValues) {
    const struct { const char* stored; const char* used; const char* stamp; } cases[] = {  // stamp nullptr: new
        {"used=41\r\nusedfirst=202001020304\r\n", "42", "202001020304"},
        {"used=5\r\nusedfirst=\r\n", "6", nullptr},
        {"usedfirst=   \r\n", "1", nullptr},  // the profile service trims blanks
        {"used=2147483647\r\nusedfirst=199912312359\r\n", "2147483647", "199912312359"},
    };
    for (const auto& c : cases) {
        WriteProfile(c.stored);
        const std::string before = win::LocalTimeStamp();
        auto dialog = OpenMainWindow();
        Close(dialog);
        EXPECT_EQ(Stored("used"), c.used) << c.stored;
        if (c.stamp != nullptr) {
            EXPECT_EQ(Stored("usedfirst"), c.stamp) << c.stored;
        } else {
            ExpectFreshStamp(Stored("usedfirst"), before);
        }
    }
}

TEST_F(Settings, StoredDirectionSelectsItsRowAndOnlyAnExactNameLoads) {
    WriteDictionary("kavrel.004", "house|ev\n\r");
    WriteDictionary("kavrel.008", "casa|ev\n\r");
    const struct { std::string stored; int row; size_t words; std::string written; } cases[] = {
        {Cp("İngilizce -> Türkçe"), 1, 1, Cp("İngilizce -> Türkçe")},
        {Cp("türkçe -> almanca"), 2, 0, Cp("Türkçe -> Almanca")},
        {Cp("İTALYANCA -> TÜRKÇE"), 7, 0, Cp("İtalyanca -> Türkçe")},
        {"Klingonca", -1, 0, "Klingonca"},
    };
    for (const auto& c : cases) {
        WriteProfile("direction=" + c.stored + "\r\n");
        auto dialog = OpenMainWindow();
        EXPECT_EQ(SelectedRow(*dialog), c.row) << c.stored;
        EXPECT_EQ(dialog->DirectionName(), c.stored) << "the stored text is kept";
        EXPECT_EQ(dialog->Words().Count(), c.words) << c.stored;
        if (c.row < 0) {
            EXPECT_EQ(TextOf(GetDlgItem(dialog->Hwnd(), IDC_DIRECTION)), "") << c.stored;
        }
        Close(dialog);
        EXPECT_EQ(Stored("direction"), c.written) << c.stored;
    }
}

TEST_F(Settings, WindowClosedMinimisedComesBackAtItsRestoredCorner) {
    WriteProfile("xpos=40\r\nypos=50\r\n");
    auto dialog = OpenMainWindow();
    EXPECT_EQ(RestoredCorner(*dialog), std::make_pair(40, 50));
    SetWindowPos(dialog->Hwnd(), nullptr, 130, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(dialog->Hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog->Hwnd()));
    Close(dialog);
    dialog = OpenMainWindow();
    EXPECT_EQ(RestoredCorner(*dialog), std::make_pair(130, 90));
    EXPECT_FALSE(IsIconic(dialog->Hwnd()));
}

// Also run under a Western code page, which has no place for "İ".
TEST_F(Settings, DirectionIsStoredAsTurkishBytesWhateverTheCodePage) {
    WriteDictionary("kavrel.008", "casa|ev\n\r");
    auto dialog = OpenMainWindow();
    ChooseDirection(*dialog, 7);
    ASSERT_TRUE(WaitForLoad(*dialog));
    Close(dialog);
    EXPECT_EQ(Stored("direction"), "\xDDtalyanca -> T\xFCrk\xE7" "e");
    dialog = OpenMainWindow();
    EXPECT_EQ(SelectedRow(*dialog), 7);
    EXPECT_EQ(dialog->DataFile(), "kavrel.008");
}

// The hotkey's key is only read: the five keys are written as before, and a line the user
// wrote stays as it was.
TEST_F(Settings, HotkeyKeyPicksTheCombinationOrSwitchesItOff) {
    const UINT ctrlShift = MOD_CONTROL | MOD_SHIFT;
    const UINT altShift = MOD_ALT | MOD_SHIFT;
    const struct { const char* line; bool defaultHeld; bool otherHeld; } cases[] = {
        {"", true, false},
        {"hotkey=off\r\n", false, false},
        {"hotkey=Alt+Shift+F9\r\n", false, true},
        {"hotkey=Ctrl+Shift+F12\r\n", false, false},  // names no usable combination
    };
    for (const auto& c : cases) {
        WriteProfile(std::string(c.line) + "usedfirst=202001020304\r\n");
        auto dialog = OpenMainWindow();
        EXPECT_EQ(HotkeyHeld(ctrlShift, VK_F11), c.defaultHeld) << c.line;
        EXPECT_EQ(HotkeyHeld(altShift, VK_F9), c.otherHeld) << c.line;
        Close(dialog);
        EXPECT_FALSE(HotkeyHeld(ctrlShift, VK_F11) || HotkeyHeld(altShift, VK_F9)) << "released at the end";
        EXPECT_EQ(Profile(), "[Settings]\r\n" + std::string(c.line) + "usedfirst=202001020304\r\n" +
                                 "xpos=0\r\nypos=0\r\nused=1\r\ndirection=" + Cp("Türkçe -> Almanca") + "\r\n")
            << c.line;
    }
}

// Reading grows its buffer for a long text, but only up to a bound.
TEST_F(Settings, ProfileTextsGrowToTheirBoundAndIntegersKeepTheirSign) {
    const std::string file = "kavrel.INI";
    for (const size_t length : {300u, 5000u, 70000u}) {
        ASSERT_TRUE(win::WriteProfileText(file, "Settings", "t", std::string(length, '\xFD')));
        EXPECT_EQ(win::ReadProfileText(file, "Settings", "t", ""), std::string(std::min<size_t>(length, 65535), '\xFD'));
    }
    ASSERT_TRUE(win::WriteProfileInt(file, "Settings", "n", -30));
    EXPECT_EQ(win::ReadProfileInt(file, "Settings", "n", 5), -30);
}

}  // namespace
}  // namespace kavrel::test
