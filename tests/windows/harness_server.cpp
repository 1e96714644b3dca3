// Talking to the fixture HTTP server over a plain socket.
#include "tests/windows/harness_server.h"

#include <winsock2.h>
#include <windows.h>

namespace kavrel::test {

std::string FixtureHost() {
    char value[64] = {};
    const DWORD length = GetEnvironmentVariableA("KAVREL_FIXTURE_SERVER", value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string FixtureUrl(const std::string& pathAndQuery) {
    return "http://" + FixtureHost() + pathAndQuery;
}

std::string FixtureControl(const std::string& path, const std::string* body) {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    const std::string host = FixtureHost();
    const size_t colon = host.find(':');
    if (!started || colon == std::string::npos) return {};
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(std::stoi(host.substr(colon + 1))));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string request = (body ? "POST " : "GET ") + path + " HTTP/1.0\r\n";
    if (body) request += "Content-Length: " + std::to_string(body->size()) + "\r\n\r\n" + *body;
    else request += "\r\n";
    std::string answer;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(s, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size())) {
        char buffer[4096];
        for (int got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<size_t>(got));
    }
    closesocket(s);
    const size_t bodyStart = answer.find("\r\n\r\n");
    return bodyStart == std::string::npos ? std::string() : answer.substr(bodyStart + 4);
}

std::vector<std::string> FixtureSeen() {
    const std::string record = FixtureControl("/__seen");
    std::vector<std::string> entries;
    for (size_t at = 0; at < record.size();) {
        const size_t end = record.find("\r\n\r\n", at);
        const size_t next = end == std::string::npos ? record.size() : end + 4;
        entries.push_back(record.substr(at, next - at));
        at = next;
    }
    return entries;
}

std::string ExpectedRequest(const std::string& pathAndQuery) {
    return "GET " + pathAndQuery + " HTTP/1.0\r\nAccept: text/*\r\nUser-Agent: Kavrel_Retrieval\r\nHost: " +
           FixtureHost() + "\r\n\r\n";
}

}  // namespace kavrel::test
