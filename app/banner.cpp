// The banner: three pictures in turn on the window's timer, a fourth while the pointer is
// over it, and the homepage opened by a double-click on it. The banner control has no
// notify style, so the pointer's messages over it reach the main window.
#include <string>
#include <string_view>

#include "app/lookup_dlg.h"
#include "framework/shell.h"
#include "framework/window.h"
#include "resources/resource.h"

namespace {

// The homepage's server, also the web address of the contact lines.
constexpr std::string_view kHomepageHost = "www.kavrel.example";
constexpr std::string_view kHomepagePath = "/pavelo/homepage.htm?";

constexpr int kFirstState = 1;
constexpr int kLastRotationState = 3;
constexpr int kHoverState = 4;

// The query's text with every byte outside the unreserved set percent-encoded. A stamp of
// twelve digits is unchanged; an edited profile cannot put a space or a quote into the
// command line the shell builds from the address.
std::string QueryText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string query;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            byte == '-' || byte == '.' || byte == '_' || byte == '~') {
            query += c;
        } else {
            query += '%';
            query += kHex[byte >> 4];
            query += kHex[byte & 15];
        }
    }
    return query;
}

// "Internet sayfası açılamadı." and "Lütfen bilgisayarınıza bir internet browser programı
// yükleyin.", then the contact lines and the maker.
std::string HomepageFailureText() {
    return std::string(
               "Internet sayfas\xFD a\xE7\xFDlamad\xFD.\n"
               "L\xFCtfen bilgisayar\xFDn\xFDza bir internet browser program\xFD y\xFCkleyin.\n"
               "\n"
               "Tel: +90 (000) 000 00 00\n"
               "Web: http://") +
           std::string(kHomepageHost) +
           "\n"
           "E-posta: bilgi@kavrel.example\n"
           "\n"
           "Kavrel Yaz\xFDl\xFDm";
}

}  // namespace

HBITMAP CLookupDlg::BannerBitmap(int id) const {
    const int index = id - IDB_BANNER_FIRST;
    if (index < 0 || index >= static_cast<int>(m_bmpBanner.size())) return nullptr;
    return m_bmpBanner[static_cast<size_t>(index)].Get();
}

// State 1 to 4 shows pictures 130 to 133; a picture that failed to load empties the banner.
void CLookupDlg::ShowBannerPicture(int state) {
    const HBITMAP picture = BannerBitmap(IDB_BANNER_FIRST + state - 1);
    const auto previous = reinterpret_cast<HBITMAP>(
        SendMessageW(m_stBanner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    // The picture the template loaded into the control is given back on the first change
    // and is nobody's after it.
    bool ours = false;
    for (const auto& bitmap : m_bmpBanner) ours = ours || bitmap.Get() == previous;
    if (previous != nullptr && !ours) DeleteObject(previous);
}

// The pointer resting over the banner holds the hover picture through any number of ticks.
void CLookupDlg::OnTimer(UINT_PTR id) {
    if (id != kBannerTimerId || m_nBannerState >= kHoverState) return;
    if (++m_nBannerState > kLastRotationState) m_nBannerState = kFirstState;
    ShowBannerPicture(m_nBannerState);
}

// The hover test uses the banner's rectangle, so it holds also where hidden buttons lie
// over the banner. Moving from the banner onto a control or off the window sends nothing
// here, so the hover picture stays until the pointer moves over the window elsewhere.
void CLookupDlg::OnMouseMove(POINT point) {
    GetWindowRect(m_stBanner, &m_rcBanner);
    ClientToScreen(Hwnd(), &point);
    m_nBannerState = PtInRect(&m_rcBanner, point) ? kHoverState : kFirstState;
    ShowBannerPicture(m_nBannerState);
}

// The child search takes hidden and disabled children too: over the hidden buttons'
// strip it finds a button, and nothing opens.
void CLookupDlg::OnLButtonDblClk(POINT point) {
    if (m_stBanner != nullptr && ChildWindowFromPoint(Hwnd(), point) == m_stBanner) OpenHomepage();
}

// The query is the first-use stamp followed at once by the number of earlier closed runs.
void CLookupDlg::OpenHomepage() {
    const std::string address =
        "http://" + std::string(kHomepageHost) + std::string(kHomepagePath) + QueryText(m_strUsedFirst) +
        std::to_string(m_nUsed);
    if (kavrel::win::ShellOpen(address) <= 32) {
        kavrel::win::ShowMessageBox(Hwnd(), HomepageFailureText(), MB_OK | MB_ICONEXCLAMATION);
    }
}
