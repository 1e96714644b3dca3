// The global hotkey: pressed anywhere, it brings the main window up with the word on the
// clipboard written into the word box and looked up, as if the user had typed it. It is
// registered while the window initialises and released when it is destroyed; a
// combination that another program holds leaves the window working without it.
#include <optional>
#include <string>
#include <utility>

#include "app/lookup_dlg.h"
#include "core/hotkey.h"
#include "framework/clipboard.h"
#include "framework/window.h"

namespace {

constexpr int kLookupHotkeyId = 1;

// The clipboard is read this far: room for a first line of a word box's length after any
// sensible run of blank lines, without copying a huge text whole.
constexpr size_t kClipboardReadChars = 1u << 16;

static_assert(kavrel::kHotkeyAlt == MOD_ALT && kavrel::kHotkeyControl == MOD_CONTROL &&
              kavrel::kHotkeyShift == MOD_SHIFT && kavrel::kHotkeyWin == MOD_WIN);

std::optional<std::string> ClipboardWord(HWND owner) {
    const std::optional<std::u16string> text = kavrel::win::ReadClipboardText(owner, kClipboardReadChars);
    if (!text) return std::nullopt;
    return kavrel::WordFromClipboardText(*text, CLookupDlg::kMaxWordChars);
}

}  // namespace

void CLookupDlg::RegisterLookupHotkey() {
    const std::optional<kavrel::Hotkey> hotkey = kavrel::ParseHotkey(m_strHotkey);
    if (!hotkey) return;  // switched off, or a text that names no combination
    // Refused (another program holds the combination): the window works on without it.
    m_hotkey.Register(Hwnd(), kLookupHotkeyId, hotkey->modifiers, hotkey->virtualKey);
}

void CLookupDlg::ReleaseLookupHotkey() {
    m_hotkey.Release();
}

void CLookupDlg::OnHotkey(int id) {
    if (id != kLookupHotkeyId) return;
    // A dialog of the window's own is open (the window is disabled meanwhile): that dialog
    // comes up, and the word box is left alone until it closes.
    if (!IsWindowEnabled(Hwnd())) {
        BringToFront(GetLastActivePopup(Hwnd()));
        return;
    }
    // The hidden word box and the table being filled are the loader's until it ends.
    if (IsLoading()) {
        BringToFront(Hwnd());
        return;
    }
    const std::optional<std::string> word = ClipboardWord(Hwnd());
    // The focus coming back would look the old text up first; the new word follows at once.
    const bool restoring = std::exchange(m_bRestoringFocus, word.has_value());
    BringToFront(Hwnd());
    SetFocus(m_edWord);
    m_bRestoringFocus = restoring;
    if (word && !kavrel::win::SetTextIfDifferent(m_edWord, *word)) LookupWord();
    // Selected, so that typing replaces it.
    SendMessageW(m_edWord, EM_SETSEL, 0, -1);
}

// Restores the main window when it is minimised and makes target the foreground window.
void CLookupDlg::BringToFront(HWND target) {
    if (IsIconic(Hwnd())) ShowWindow(Hwnd(), SW_RESTORE);
    SetForegroundWindow(target);
}
