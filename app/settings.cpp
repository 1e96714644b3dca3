// The settings profile: where the window was, how many runs ended by closing it, when the
// program first ran and which direction was selected. Read once while the window
// initialises, written once while it is destroyed; a run that ends otherwise writes nothing.
#include <climits>
#include <string_view>

#include "app/lookup_dlg.h"
#include "core/hotkey.h"
#include "framework/profile.h"
#include "framework/text.h"
#include "framework/window.h"

namespace {

// Named after kavrel.exe and given without a directory, so the profile service keeps it
// in the Windows directory.
constexpr std::string_view kProfileFile = "kavrel.INI";
constexpr std::string_view kSection = "Settings";

// The direction of a profile that names none.
constexpr std::string_view kDefaultDirection = "T\xFCrk\xE7" "e -> Almanca";

}  // namespace

void CLookupDlg::LoadSettings() {
    using namespace kavrel::win;
    m_nXPos = ReadProfileInt(kProfileFile, kSection, "xpos", 0);
    m_nYPos = ReadProfileInt(kProfileFile, kSection, "ypos", 0);
    m_nUsed = ReadProfileInt(kProfileFile, kSection, "used", 0);
    m_strUsedFirst = ReadProfileText(kProfileFile, kSection, "usedfirst", "");
    // A first start's stamp reaches the file with the first save, so a run that does not
    // end by closing the window leaves no stamp behind.
    if (m_strUsedFirst.empty()) m_strUsedFirst = LocalTimeStamp();
    m_strDirection = ReadProfileText(kProfileFile, kSection, "direction", kDefaultDirection);
    // The combo box's exact search ignores case; starting after entry 0 and wrapping
    // round searches every entry. m_strDirection keeps the stored text: the catalogue
    // compares it exactly, so a name that differs in case selects a row but loads nothing.
    const LRESULT found =
        SendMessageW(m_cbDirection, CB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(Widen(m_strDirection).c_str()));
    SendMessageW(m_cbDirection, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : found, 0);
    // Read only: the user writes it to change the combination or to switch it "off".
    m_strHotkey = ReadProfileText(kProfileFile, kSection, "hotkey", kavrel::kDefaultHotkey);
}

// A failed write is not reported: the next run starts from what the file still holds.
void CLookupDlg::SaveSettings() {
    using namespace kavrel::win;
    WriteProfileInt(kProfileFile, kSection, "xpos", m_nXPos);
    WriteProfileInt(kProfileFile, kSection, "ypos", m_nYPos);
    if (m_nUsed < INT_MAX) ++m_nUsed;  // a counter edited up to the limit stays there
    WriteProfileInt(kProfileFile, kSection, "used", m_nUsed);
    WriteProfileText(kProfileFile, kSection, "usedfirst", m_strUsedFirst);
    const LRESULT selected = SendMessageW(m_cbDirection, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) m_strDirection = ComboItemText(m_cbDirection, static_cast<int>(selected));
    WriteProfileText(kProfileFile, kSection, "direction", m_strDirection);
}
