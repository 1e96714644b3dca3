// The download address and the host setting's check.
#include "download/download_address.h"

namespace kavrel::download {
namespace {

// A host, an IPv4 or bracketed IPv6 address, or either with ":port": nothing that could
// add a path, a query or a user name to the address.
bool IsHostAndPort(std::string_view text) {
    if (text.empty() || text.size() > 255) return false;
    for (const char c : text) {
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '.' && c != '-' && c != ':' && c != '[' && c != ']') return false;
    }
    return true;
}

}  // namespace

std::string DownloadHost(std::string_view hostSetting) {
    return std::string(IsHostAndPort(hostSetting) ? hostSetting : kDefaultDownloadHost);
}

std::string DownloadAddress(std::string_view host, std::string_view dataFile) {
    std::string address = "http://";
    address.append(host).append("/cgi-bin/start_download.pl?").append(dataFile);
    return address;
}

}  // namespace kavrel::download
