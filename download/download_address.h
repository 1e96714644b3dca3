// Where a missing data file is downloaded from. Portable (no platform header).
#pragma once

#include <string>
#include <string_view>

namespace kavrel::download {

// The download server used when KAVREL_DOWNLOAD_HOST names none (a reserved name: there
// is no such server until one is set up).
inline constexpr std::string_view kDefaultDownloadHost = "download.kavrel.example";

// The host to download from: hostSetting (the value of KAVREL_DOWNLOAD_HOST) when it is a
// host name or address with an optional ":port", otherwise the default host.
std::string DownloadHost(std::string_view hostSetting);

// "http://" + host + "/cgi-bin/start_download.pl?" + dataFile.
std::string DownloadAddress(std::string_view host, std::string_view dataFile);

}  // namespace kavrel::download
