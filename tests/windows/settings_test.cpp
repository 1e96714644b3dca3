// The settings profile with the real main window: what a first start writes, how the
// counter and the stamp go on, which direction a stored name selects and loads, where the
// window comes back, and the profile's bytes whatever the code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "app/lookup_dlg.h"
#include "framework/profile.h"
#include "framework/window.h"
#include "resources/resource.h"
#include "tests/windows/harness.h"

namespace kavrel::test {
namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        ResetQuitCode();
        WriteDictionary("kavrel.001", "ev|Haus\n\r");
    }

    // Closes the window as the close box does and waits for the program's end.
    static void Close(std::unique_ptr<CLookupDlg>& dialog) {
        PostMessageW(dialog->Hwnd(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(PumpUntil([] { return QuitCode() != -1; }));
        ResetQuitCode();
        dialog.reset();
    }

    static HWND List(const CLookupDlg& dialog) { return GetDlgItem(dialog.Hwnd(), IDC_DIRECTION); }

    static std::string Profile() { return ReadRawFile(ProfilePath()); }
    static void WriteProfile(const std::string& lines) { WriteRawFile(ProfilePath(), "[Settings]\r\n" + lines); }

    // The value of key in the profile file as stored bytes; "<none>" when it is missing.
    static std::string Stored(const std::string& key) {
        const std::string text = "\r\n" + Profile();
        const size_t at = text.find("\r\n" + key + "=");
        if (at == std::string::npos) return "<none>";
        const size_t begin = at + key.size() + 3;
        return text.substr(begin, text.find("\r\n", begin) - begin);
    }

    // A fresh stamp: twelve digits of the local time during the test.
    static void ExpectFreshStamp(const std::string& stamp, const std::string& before) {
        EXPECT_EQ(stamp.size(), 12u) << stamp;
        EXPECT_TRUE(std::all_of(stamp.begin(), stamp.end(), [](char c) { return std::isdigit(c) != 0; })) << stamp;
        EXPECT_LE(before, stamp);
        EXPECT_LE(stamp, win::LocalTimeStamp());
    }

    static POINT RestoredCorner(const CLookupDlg& dialog) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(dialog.Hwnd(), &placement);
        return {placement.rcNormalPosition.left, placement.rcNormalPosition.top};
    }

    TempWorkDir dir_;
};

TEST_F(Settings, FirstRunWritesTheProfileAtCloseAndEachClosedRunCounts) {
    const std::string before = win::LocalTimeStamp();
    auto dialog = OpenMainWindow();
    const POINT corner = RestoredCorner(*dialog);
    EXPECT_EQ(corner.x, 0);
    EXPECT_EQ(corner.y, 0);
    EXPECT_EQ(SendMessageW(List(*dialog), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(dialog->DataFile(), "kavrel.001");
    EXPECT_EQ(dialog->Words().Count(), 1u);
    EXPECT_EQ(Profile(), "") << "nothing is written before the window closes";
    Close(dialog);

    const std::string stamp = Stored("usedfirst");
    ExpectFreshStamp(stamp, before);
    const std::string direction = Cp("Türkçe -> Almanca");
    EXPECT_EQ(Profile(), "[Settings]\r\nxpos=0\r\nypos=0\r\nused=1\r\nusedfirst=" + stamp + "\r\ndirection=" +
                             direction + "\r\n");

    dialog = OpenMainWindow();
    Close(dialog);
    EXPECT_EQ(Stored("used"), "2");
    EXPECT_EQ(Stored("usedfirst"), stamp) << "the stamp never changes";
    EXPECT_EQ(Stored("direction"), direction);
}

TEST_F(Settings, CounterAndStampGoOnFromTheStoredValues) {
    const struct {
        const char* stored;
        const char* used;
        const char* stamp;  // nullptr: a new stamp
    } cases[] = {
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
    const struct {
        std::string stored;
        int row;
        const char* file;
        std::string written;
    } cases[] = {
        {Cp("İngilizce -> Türkçe"), 1, "kavrel.004", Cp("İngilizce -> Türkçe")},
        {Cp("türkçe -> almanca"), 2, "", Cp("Türkçe -> Almanca")},
        {Cp("İTALYANCA -> TÜRKÇE"), 7, "", Cp("İtalyanca -> Türkçe")},
        {"Klingonca", -1, "", "Klingonca"},
    };
    for (const auto& c : cases) {
        WriteProfile("direction=" + c.stored + "\r\n");
        auto dialog = OpenMainWindow();
        EXPECT_EQ(SendMessageW(List(*dialog), CB_GETCURSEL, 0, 0), c.row) << c.stored;
        EXPECT_EQ(dialog->DirectionName(), c.stored) << "the stored text is kept";
        EXPECT_EQ(dialog->DataFile(), c.file) << c.stored;
        EXPECT_EQ(dialog->Words().Count(), *c.file ? 1u : 0u) << c.stored;
        if (c.row < 0) {
            EXPECT_EQ(TextOf(List(*dialog)), "") << c.stored;
        }
        Close(dialog);
        EXPECT_EQ(Stored("direction"), c.written) << c.stored;
    }
}

TEST_F(Settings, WindowClosedMinimisedComesBackAtItsRestoredCorner) {
    WriteProfile("xpos=40\r\nypos=50\r\n");
    auto dialog = OpenMainWindow();
    POINT corner = RestoredCorner(*dialog);
    EXPECT_EQ(corner.x, 40);
    EXPECT_EQ(corner.y, 50);
    SetWindowPos(dialog->Hwnd(), nullptr, 130, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(dialog->Hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dialog->Hwnd()));
    Close(dialog);
    EXPECT_EQ(Stored("xpos"), "130");
    EXPECT_EQ(Stored("ypos"), "90");

    dialog = OpenMainWindow();
    corner = RestoredCorner(*dialog);
    EXPECT_EQ(corner.x, 130);
    EXPECT_EQ(corner.y, 90);
    EXPECT_FALSE(IsIconic(dialog->Hwnd()));
}

// Also run under a Western code page, where "İ" has no place in the system's own.
TEST_F(Settings, DirectionIsStoredAsTurkishBytesWhateverTheCodePage) {
    WriteDictionary("kavrel.008", "casa|ev\n\r");
    auto dialog = OpenMainWindow();
    SendMessageW(List(*dialog), CB_SETCURSEL, 7, 0);
    SendMessageW(dialog->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_DIRECTION, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(List(*dialog)));
    ASSERT_TRUE(PumpUntil([&] { return LoadFinished(*dialog); }));
    Close(dialog);
    EXPECT_EQ(Stored("direction"), "\xDDtalyanca -> T\xFCrk\xE7" "e");

    dialog = OpenMainWindow();
    EXPECT_EQ(SendMessageW(List(*dialog), CB_GETCURSEL, 0, 0), 7);
    EXPECT_EQ(dialog->DataFile(), "kavrel.008");
}

TEST_F(Settings, ProfileKeepsTextsOfAnyLengthUpToItsBoundAndSignedIntegers) {
    const std::string file = "kavrel.INI";
    const std::string texts[] = {"", Cp("İğüşöçı ĞÜŞÖÇ"), std::string(300, 'a'), std::string(5000, '\xFD')};
    for (const std::string& text : texts) {
        ASSERT_TRUE(win::WriteProfileText(file, "Settings", "t", text));
        EXPECT_EQ(win::ReadProfileText(file, "Settings", "t", "fallback"), text) << text.size() << " bytes";
    }
    ASSERT_TRUE(win::WriteProfileText(file, "Settings", "t", std::string(70000, 'b')));
    EXPECT_EQ(win::ReadProfileText(file, "Settings", "t", ""), std::string(65535, 'b')) << "read cut at its bound";
    EXPECT_EQ(win::ReadProfileText(file, "Settings", "missing", Cp("Türkçe")), Cp("Türkçe"));

    for (int value : {-30, 0, 2147483647}) {
        ASSERT_TRUE(win::WriteProfileInt(file, "Settings", "n", value));
        EXPECT_EQ(win::ReadProfileInt(file, "Settings", "n", 5), value);
    }
    EXPECT_EQ(win::ReadProfileInt(file, "Settings", "missing", 5), 5);
}

}  // namespace
}  // namespace kavrel::test
