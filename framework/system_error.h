// The platform's text for an error number, as one line of Windows-1254 text.
#pragma once

#include <windows.h>

#include <string>

namespace kavrel::win {

// The message text for error, taken from module's message table (the system's when
// module is null), at most 1023 characters, without the line end the table ends it with.
// "" when there is no text for it.
std::string SystemErrorText(DWORD error, HMODULE module = nullptr);

}  // namespace kavrel::win
