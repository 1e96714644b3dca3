// The one crossing between the program's Windows-1254 byte strings and the UTF-16 of the
// W window functions, so Turkish shows right whatever the machine's code page is.
#pragma once

#include <string>
#include <string_view>

namespace kavrel::win {

std::wstring Widen(std::string_view text1254);
std::string Narrow(std::wstring_view text);

}  // namespace kavrel::win
