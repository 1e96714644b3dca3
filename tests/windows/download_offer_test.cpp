// The download offer with the real main window: a missing dictionary leads to the offer on
// the loader thread; "YÜKLE" fetches it from the fixture server and the load goes on,
// "İPTAL" makes no request, and closing the main window ends whatever is open.
#include <gtest/gtest.h>

#include "framework/text.h"
#include "resources/resource.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"
#include "tests/windows/harness_server.h"

namespace kavrel::test {
namespace {

constexpr int kItalianToTurkish = 7;  // list position of "İtalyanca -> Türkçe", kavrel.008
const std::string kRequest = "/cgi-bin/start_download.pl?kavrel.008";

std::string Scrambled(std::string plain) {
    WriteDictionary("scrambled", std::move(plain));
    std::string bytes = ReadRawFile("scrambled");
    DeleteFileW(L"scrambled");
    return bytes;
}

bool Exists(const wchar_t* name) {
    return GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES;
}

class DownloadOffer : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_FALSE(FixtureHost().empty()) << "run through with-fixture-server.sh";
        FixtureControl("/__reset");
        SetEnvironmentVariableW(L"KAVREL_DOWNLOAD_HOST", win::Widen(FixtureHost()).c_str());
        // Every direction loads at start-up, whichever the profile names; then the
        // Italian dictionary goes missing.
        for (int i = 1; i <= 8; ++i) WriteDictionary("kavrel.00" + std::to_string(i), "ev|x\n\r");
        dialog_ = OpenMainWindow();
        DeleteFileW(L"kavrel.008");
    }

    void TearDown() override { SetEnvironmentVariableW(L"KAVREL_DOWNLOAD_HOST", nullptr); }

    // Chooses the Italian direction and waits for its offer.
    HWND OpenOffer() {
        ChooseDirection(*dialog_, kItalianToTurkish);
        HWND offer = nullptr;
        PumpUntil([&] { return (offer = FindOfferWindow()) != nullptr; });
        return offer;
    }

    // Pumps until the load has ended, answering its message boxes and leaving the offer
    // to the test; the number of boxes, each of which must be the load's failure.
    size_t FinishLoad() {
        const std::vector<std::string> boxes = WaitForLoadAnsweringBoxes(*dialog_, false);
        for (const std::string& text : boxes) EXPECT_EQ(text, LoadFailedText());
        return boxes.size();
    }

    // Closes the main window; the process's message loop gets its quit soon, and the
    // offer is gone with the loader.
    void ExpectClosingEndsPromptly(HWND offer) {
        EXPECT_LT(CloseMainWindow(*dialog_), 3000u);
        EXPECT_FALSE(IsWindow(offer));
    }
};

TEST_F(DownloadOffer, NamesTheDirectionAndWaitsOnDownload) {
    const HWND offer = OpenOffer();
    ASSERT_NE(offer, nullptr);
    const std::string text = TextOf(GetDlgItem(offer, IDC_WORD));
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 12u) << "ten lines and the empty lines after lines 1 and 8";
    EXPECT_EQ(lines[0], Cp("Sayın Kullanıcı,"));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], Cp("talep ettiğiniz 'İtalyanca -> Türkçe' kavrelü şu an bilgisayarınızda mevcut değil."));
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], Cp("Saygılarımızla"));
    EXPECT_EQ(TextOf(GetDlgItem(offer, IDC_CANCEL_DOWNLOAD)), Cp("İPTAL"));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(offer, nullptr), &info));
    EXPECT_EQ(info.hwndFocus, GetDlgItem(offer, IDC_DOWNLOAD));
    EXPECT_EQ(GetWindow(offer, GW_OWNER), nullptr) << "the offer has no owner";
    EXPECT_TRUE(IsWindowEnabled(dialog_->Hwnd())) << "the main window goes on running";
    Click(offer, IDC_CANCEL_DOWNLOAD);
    FinishLoad();
}

TEST_F(DownloadOffer, DownloadRenamesTheFileAndTheLoadGoesOn) {
    const std::string served = Scrambled("ciao|merhaba\n\rcasa|ev\n\rgatto|kedi\n\r");
    FixtureControl("/__serve", &served);
    const HWND offer = OpenOffer();
    ASSERT_NE(offer, nullptr);
    Click(offer, IDC_DOWNLOAD);
    EXPECT_EQ(FinishLoad(), 0u);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), LoadedCaption(3));
    EXPECT_EQ(ReadRawFile("kavrel.008"), served);
    EXPECT_FALSE(Exists(L"kavrel.tmp"));
    EXPECT_EQ(FixtureSeen(), std::vector<std::string>{ExpectedRequest(kRequest)});
}

TEST_F(DownloadOffer, CancelMakesNoRequestAndTheLoadEndsEmpty) {
    Click(OpenOffer(), IDC_CANCEL_DOWNLOAD);
    EXPECT_EQ(FinishLoad(), 1u);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), LoadedCaption(0));
    EXPECT_TRUE(FixtureSeen().empty());
}

TEST_F(DownloadOffer, FailedDownloadLeavesNothingAndTheLoadEndsEmpty) {
    FixtureControl("/__arm?mode=status&code=404");
    Click(OpenOffer(), IDC_DOWNLOAD);
    EXPECT_EQ(FinishLoad(), 1u);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), LoadedCaption(0));
    EXPECT_FALSE(Exists(L"kavrel.008"));
    EXPECT_FALSE(Exists(L"kavrel.tmp"));
}

TEST_F(DownloadOffer, FileCopiedInWhileTheOfferShowsIsReadAfterCancel) {
    const HWND offer = OpenOffer();
    WriteDictionary("kavrel.008", "ciao|merhaba\n\rcasa|ev\n\r");
    Click(offer, IDC_CANCEL_DOWNLOAD);
    EXPECT_EQ(FinishLoad(), 0u);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), LoadedCaption(2));
}

TEST_F(DownloadOffer, TargetThatExistsKeepsTheTemporaryFileAndTheOffer) {
    const std::string served = Scrambled("ciao|merhaba\n\r");
    FixtureControl("/__serve", &served);
    const HWND offer = OpenOffer();
    WriteDictionary("kavrel.008", "casa|ev\n\rgatto|kedi\n\r");
    Click(offer, IDC_DOWNLOAD);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        return (box = FindOwnWindow([](HWND w) {
                    const HWND label = GetDlgItem(w, 0xFFFF);
                    return label != nullptr && TextOf(label).rfind("kavrel.tmp -> kavrel.008: ", 0) == 0;
                })) != nullptr;
    }));
    EXPECT_EQ(GetWindow(box, GW_OWNER), offer);
    EXPECT_EQ(ReadRawFile("kavrel.tmp"), served);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpFor(100);
    EXPECT_TRUE(IsWindowVisible(offer)) << "the offer stays open";
    Click(offer, IDC_CANCEL_DOWNLOAD);
    EXPECT_EQ(FinishLoad(), 0u);
    EXPECT_EQ(TextOf(dialog_->Hwnd()), LoadedCaption(2)) << "the file that was there is read";
}

TEST_F(DownloadOffer, ClosingTheMainWindowEndsTheOffer) {
    const HWND offer = OpenOffer();
    ASSERT_NE(offer, nullptr);
    ExpectClosingEndsPromptly(offer);
}

TEST_F(DownloadOffer, ClosingTheMainWindowEndsARequestWaitingForItsAnswer) {
    FixtureControl("/__arm?mode=hang");
    const HWND offer = OpenOffer();
    ASSERT_NE(offer, nullptr);
    Click(offer, IDC_DOWNLOAD);
    ASSERT_TRUE(PumpUntil([] { return !FixtureSeen().empty(); }));
    ExpectClosingEndsPromptly(offer);
    FixtureControl("/__reset");  // the left request ends
}

}  // namespace
}  // namespace kavrel::test
