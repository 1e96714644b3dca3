// Finding the redirect target in raw header text.
#include "download/redirect_location.h"

namespace kavrel::download {

std::optional<std::string> RedirectLocation(std::string_view rawHeaders) {
    constexpr std::string_view kName = "Location: ";
    const size_t at = rawHeaders.find(kName);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view target = rawHeaders.substr(at + kName.size());
    const size_t lineFeed = target.find('\n');
    if (lineFeed != std::string_view::npos && lineFeed > 0) target = target.substr(0, lineFeed);
    // Header lines end in CR LF; the CR is no part of the address.
    if (!target.empty() && target.back() == '\r') target.remove_suffix(1);
    return std::string(target);
}

}  // namespace kavrel::download
