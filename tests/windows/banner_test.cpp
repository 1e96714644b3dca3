// The banner in the real main window: the pictures' rotation on the timer, the hover
// picture, and the homepage a double-click hands to the shell (watched through its seam).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/shell.h"
#include "framework/window.h"
#include "resources/resource.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

class Banner : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WriteDictionary("kavrel.001", "ev|Haus\n\r");
        win::SetShellOpenForTesting([this](const std::string& target) {
            opened_.push_back(target);
            return shellResult_;
        });
    }
    void TearDown() override { win::SetShellOpenForTesting(nullptr); }

    void OpenWithBanner() {
        OpenWindow();
        window_ = dialog_->Hwnd();
        banner_ = GetDlgItem(window_, IDC_BANNER);
    }

    // The resource id of the picture the banner shows, 0 for none of the window's own.
    int Shown() const {
        const auto shown = reinterpret_cast<HBITMAP>(SendMessageW(banner_, STM_GETIMAGE, IMAGE_BITMAP, 0));
        for (int id = IDB_BANNER_FIRST; id <= IDB_BANNER_HOVER; ++id) {
            if (shown == dialog_->BannerBitmap(id)) return id;
        }
        return 0;
    }

    void Tick(UINT_PTR id = CLookupDlg::kBannerTimerId) { SendMessageW(window_, WM_TIMER, id, 0); }

    // The rectangle of a control in the main window's client coordinates.
    RECT ClientRectOf(HWND control) const {
        RECT rc;
        GetWindowRect(control, &rc);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    // A point on the banner inside the window's client area (the banner reaches below it),
    // clear of the hidden buttons over its top strip.
    POINT OnBanner() const {
        RECT client;
        GetClientRect(window_, &client);
        const RECT rc = ClientRectOf(banner_);
        return {rc.left + 5, std::min(rc.bottom, client.bottom) - 3};
    }
    void Send(UINT message, POINT client) { SendMessageW(window_, message, 0, MAKELPARAM(client.x, client.y)); }

    HWND window_ = nullptr;
    HWND banner_ = nullptr;
    std::vector<std::string> opened_;
    int shellResult_ = 42;
};

TEST_F(Banner, TimerTurnsThreePicturesOneStepPerTick) {
    OpenWithBanner();
    EXPECT_EQ(dialog_->BannerState(), 1);
    const int expected[] = {131, 132, 130, 131, 132, 130};
    for (int id : expected) {
        Tick();
        EXPECT_EQ(Shown(), id);
    }
    for (UINT_PTR other : {1u, 3u}) Tick(other);
    EXPECT_EQ(Shown(), 130) << "only the banner's timer turns it";
    EXPECT_EQ(dialog_->BannerState(), 1);
}

TEST_F(Banner, PointerOverTheBannerHoldsTheHoverPictureUntilItMovesOutside) {
    OpenWithBanner();
    const RECT rc = ClientRectOf(banner_);
    // Left and top edges belong to the banner, right and bottom ones do not.
    const struct { POINT at; int picture; } moves[] = {
        {{rc.left, rc.top}, 133},         {{rc.right, rc.top + 30}, 130},   {{rc.right - 1, rc.bottom - 1}, 133},
        {{rc.left + 9, rc.bottom}, 130},  {{rc.left - 1, rc.top + 30}, 130}, {{rc.left + 9, rc.top - 1}, 130},
    };
    for (const auto& m : moves) {
        Send(WM_MOUSEMOVE, m.at);
        EXPECT_EQ(Shown(), m.picture) << m.at.x << "," << m.at.y;
    }

    Send(WM_MOUSEMOVE, {rc.left + 20, rc.top + 20});
    for (int i = 0; i < 5; ++i) Tick();
    EXPECT_EQ(Shown(), 133);
    EXPECT_EQ(dialog_->BannerState(), 4);
    Send(WM_MOUSEMOVE, {0, 0});
    EXPECT_EQ(Shown(), 130) << "a move outside restarts the rotation";
    Tick();
    EXPECT_EQ(Shown(), 131);
}

TEST_F(Banner, DoubleClickOpensTheHomepageOnlyOnTheBannerItself) {
    WriteRawFile(ProfilePath(), "[Settings]\r\nused=7\r\nusedfirst=202401021530\r\n");
    OpenWithBanner();
    const RECT banner = ClientRectOf(banner_);
    const RECT ok = ClientRectOf(GetDlgItem(window_, IDOK));  // hidden, over the banner's top strip
    ASSERT_GT(ok.bottom, banner.top);
    const struct { const char* where; POINT at; size_t opened; } clicks[] = {
        {"hidden OK button over the banner", {(ok.left + ok.right) / 2, (banner.top + ok.bottom) / 2}, 0},
        {"word box", {ClientRectOf(GetDlgItem(window_, IDC_WORD)).left + 3, 5}, 0},
        {"window outside the controls", {0, 0}, 0},
        {"banner", OnBanner(), 1},
    };
    for (const auto& c : clicks) {
        opened_.clear();
        Send(WM_LBUTTONDBLCLK, c.at);
        EXPECT_EQ(opened_.size(), c.opened) << c.where;
    }
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], "http://www.kavrel.example/pavelo/homepage.htm?2024010215307");
}

TEST_F(Banner, StampFromAnEditedProfileCannotBreakOutOfTheAddress) {
    WriteRawFile(ProfilePath(), "[Settings]\r\nused=3\r\nusedfirst=1 \"x&y%\xFD\r\n");
    OpenWithBanner();
    Send(WM_LBUTTONDBLCLK, OnBanner());
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], "http://www.kavrel.example/pavelo/homepage.htm?1%20%22x%26y%25%FD3");
}

TEST_F(Banner, FailingShellShowsTheMessageBoxWithTheFailureLines) {
    OpenWithBanner();
    const std::string text = Cp("Internet sayfası açılamadı.\n"
                                "Lütfen bilgisayarınıza bir internet browser programı yükleyin.\n\n"
                                "Tel: +90 (000) 000 00 00\nWeb: http://www.kavrel.example\n"
                                "E-posta: bilgi@kavrel.example\n\nKavrel Yazılım");
    const POINT onBanner = OnBanner();
    const struct { int result; size_t boxes; } cases[] = {{0, 1}, {2, 1}, {32, 1}, {33, 0}};
    for (const auto& c : cases) {
        shellResult_ = c.result;
        const std::vector<AnsweredBox> boxes = AnswerMessageBoxes(text, [&] { Send(WM_LBUTTONDBLCLK, onBanner); });
        ASSERT_EQ(boxes.size(), c.boxes) << "shell result " << c.result;
        if (c.boxes == 0) continue;
        EXPECT_EQ(boxes[0].caption, win::ApplicationTitle());
        EXPECT_EQ(boxes[0].icon, static_cast<UINT>(MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(IsWindow(window_));
}

}  // namespace
}  // namespace kavrel::test
