// Reading the text on the clipboard.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace kavrel::win {

// The clipboard's text (CF_UNICODETEXT, which the platform also makes from ANSI text), up
// to its first zero and at most maxChars characters; owner is the window that opens the
// clipboard. None when the clipboard holds no text (it is empty or holds only a picture)
// or stays held open by another program.
std::optional<std::u16string> ReadClipboardText(HWND owner, size_t maxChars);

}  // namespace kavrel::win
