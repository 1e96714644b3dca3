// Conversions at the window boundary, on top of the core's code page tables.
#include "framework/text.h"

#include "core/cp1254.h"

namespace kavrel::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

std::wstring Widen(std::string_view text1254) {
    const std::u16string wide = Utf16From1254(text1254);
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(std::wstring_view text) {
    return Cp1254FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace kavrel::win
