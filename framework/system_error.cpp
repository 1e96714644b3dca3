// Error texts through FormatMessageW, converted at the boundary.
#include "framework/system_error.h"

#include "framework/text.h"

namespace kavrel::win {

std::string SystemErrorText(DWORD error, HMODULE module) {
    wchar_t text[1024];
    const DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS | (module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    DWORD length = FormatMessageW(flags, module, error, 0, text, 1024, nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' ')) --length;
    return Narrow(std::wstring_view(text, length));
}

}  // namespace kavrel::win
