// A private profile (INI) file through the platform's profile service. Values are the
// program's Windows-1254 bytes and are stored as those same bytes, whatever the machine's
// code page. A file name without a directory lives in the Windows directory.
#pragma once

#include <string>
#include <string_view>

namespace kavrel::win {

// The integer of key in section, as the platform parses it; fallback when the key is missing.
int ReadProfileInt(std::string_view file, std::string_view section, std::string_view key, int fallback);

// The text of key in section; fallback when the key is missing.
std::string ReadProfileText(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view fallback);

// Writes key = value into section; false when the platform refused the write.
bool WriteProfileText(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value);

// Writes key = value as signed decimal text.
bool WriteProfileInt(std::string_view file, std::string_view section, std::string_view key, int value);

}  // namespace kavrel::win
