// The clipboard through its W functions.
#include "framework/clipboard.h"

#include <algorithm>

namespace kavrel::win {
namespace {

// The program that just copied may still hold the clipboard open for a moment.
constexpr int kOpenAttempts = 5;
constexpr DWORD kOpenRetryMs = 20;

bool OpenClipboardWithRetry(HWND owner) {
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(kOpenRetryMs);
    }
    return false;
}

// The text of a locked CF_UNICODETEXT handle; its size bounds the read, whether or not
// the text ends in a zero.
std::optional<std::u16string> CopyText(HANDLE data, size_t maxChars) {
    const auto* chars = static_cast<const char16_t*>(GlobalLock(data));
    if (chars == nullptr) return std::nullopt;
    const size_t limit = std::min<size_t>(GlobalSize(data) / sizeof(char16_t), maxChars);
    std::u16string text(chars, static_cast<size_t>(std::find(chars, chars + limit, u'\0') - chars));
    GlobalUnlock(data);
    return text;
}

}  // namespace

std::optional<std::u16string> ReadClipboardText(HWND owner, size_t maxChars) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardWithRetry(owner)) return std::nullopt;
    std::optional<std::u16string> text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) text = CopyText(data, maxChars);
    CloseClipboard();
    return text;
}

}  // namespace kavrel::win
