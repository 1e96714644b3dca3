// The download's text work: the redirect target in raw header lines, the host setting and
// the download address.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "download/download_address.h"
#include "download/redirect_location.h"

namespace kavrel::download {
namespace {

TEST(DownloadText, RedirectLocationTakesTheLineAfterTheExactName) {
    const struct {
        const char* name;
        std::string headers;
        std::optional<std::string> location;
    } cases[] = {
        {"CR LF line", "HTTP/1.0 302 Found\r\nLocation: http://h/a?b\r\nServer: x\r\n\r\n", "http://h/a?b"},
        {"LF only", "HTTP/1.0 302 Found\nLocation: http://h/a\nX: y\n", "http://h/a"},
        {"last text, no line end", "HTTP/1.0 302 Found\r\nLocation: http://h/a", "http://h/a"},
        {"first of two", "Location: http://one/\r\nLocation: http://two/\r\n", "http://one/"},
        {"empty value", "Location: \r\nX: y\r\n", ""},
        {"line feed right after the name: taken whole", "Location: \nX: y\r\n", "\nX: y\r\n"},
        {"only one CR goes", "Location: http://h/a\r\r\n", "http://h/a\r"},
        {"lower-case name", "location: http://h/a\r\n", std::nullopt},
        {"no blank after the colon", "Location:http://h/a\r\n", std::nullopt},
        {"inside another header's name", "Content-Location: http://h/a\r\n", "http://h/a"},
        {"no headers", "", std::nullopt},
        {"name at the very end", "X: y\r\nLocation: ", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(RedirectLocation(c.headers), c.location) << c.name;
}

TEST(DownloadText, HostSettingNamesAHostOrFallsBack) {
    const struct {
        const char* setting;
        const char* host;
    } cases[] = {
        {"", "download.kavrel.example"},
        {"127.0.0.1:8080", "127.0.0.1:8080"},
        {"mirror.example.org", "mirror.example.org"},
        {"[::1]:81", "[::1]:81"},
        {"evil.example/path?x", "download.kavrel.example"},
        {"user@host", "download.kavrel.example"},
        {"host name", "download.kavrel.example"},
    };
    for (const auto& c : cases) EXPECT_EQ(DownloadHost(c.setting), c.host) << c.setting;
    EXPECT_EQ(DownloadAddress("h:1", "kavrel.008"), "http://h:1/cgi-bin/start_download.pl?kavrel.008");
}

}  // namespace
}  // namespace kavrel::download
