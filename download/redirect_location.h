// The target of an HTTP redirect, found in the response's raw header lines. Portable (no
// platform header), so it can be tested and fuzzed natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavrel::download {

// The text after the first "Location: " (exact case, one blank) in rawHeaders, up to the
// line feed that ends it, without the carriage return before that line feed. A text that
// starts with its line feed or holds none is taken whole. Nothing when rawHeaders holds no
// "Location: ".
std::optional<std::string> RedirectLocation(std::string_view rawHeaders);

}  // namespace kavrel::download
