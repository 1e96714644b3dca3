// The redirect target read from a server's raw header lines: found exactly when the headers
// hold "Location: ", taken from the text right after its first occurrence, cut at the
// line's end unless that end comes first, without the carriage return of the line end.
#include <string>
#include <string_view>

#include "download/redirect_location.h"
#include "tests/fuzz/fuzz_check.h"

using kavrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string headers = kavrel::fuzz::Bytes(data, size);
    const std::optional<std::string> target = kavrel::download::RedirectLocation(headers);
    const size_t at = headers.find("Location: ");
    Check(target.has_value() == (at != std::string::npos), "a target exactly when a location line is there");
    if (!target) return 0;
    // The line after the name, cut before its line feed (unless the feed comes first),
    // loses the one carriage return that ends a header line.
    std::string_view line = std::string_view(headers).substr(at + 10);
    const size_t lineFeed = line.find('\n');
    if (lineFeed != std::string_view::npos && lineFeed > 0) line = line.substr(0, lineFeed);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Check(*target == line, "the target is the location line without its line end");
    return 0;
}
