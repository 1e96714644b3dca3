// The fixture HTTP server of the download tests (fixture_server.py), which
// with-fixture-server.sh starts around the test program: where it is, how to steer it and
// what it saw.
#pragma once

#include <string>
#include <vector>

namespace kavrel::test {

// Its "127.0.0.1:port"; "" when the test program runs without it.
std::string FixtureHost();
// "http://" + FixtureHost() + pathAndQuery.
std::string FixtureUrl(const std::string& pathAndQuery);
// A control request to the server (a GET, or a POST when body is given); its answer.
std::string FixtureControl(const std::string& path, const std::string* body = nullptr);
// What the server saw since its last reset: each request as its request line and header
// lines, and each answer the client cut off ("closed ... after N bytes").
std::vector<std::string> FixtureSeen();
// The request the program sends for pathAndQuery, as the server records it.
std::string ExpectedRequest(const std::string& pathAndQuery);

}  // namespace kavrel::test
