// The internet client library (WinInet) for HTTP: a session, its connections and
// requests, address parsing, and the library's failures as exceptions. Sending a request
// (connecting and waiting for the answer) runs through an InterruptibleCaller, so a
// thread asked to quit never stays stuck in it.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "framework/interruptible_call.h"

namespace kavrel::win {

// A library call that failed, with the platform error number.
class CInternetException : public std::runtime_error {
public:
    explicit CInternetException(DWORD error);
    DWORD m_dwError;
    // The library's text for the error (at most 1023 characters, no line end).
    std::string ErrorText() const { return what(); }
};

// An address taken apart: its scheme, the server and port (the scheme's default when it
// names none) and the object, the path with its query.
struct ParsedUrl {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::string server;
    INTERNET_PORT port = 0;
    std::string object;
    bool IsHttp() const { return scheme == INTERNET_SCHEME_HTTP; }
};
// Canonicalizes the address, then cracks it; nothing when either fails or it names no
// server.
std::optional<ParsedUrl> ParseUrl(const std::string& url);

// An open library handle, closed when the last owner lets go. A handle keeps its parent
// (request -> connection -> session) open, so they close children first, even when a left
// call holds the child longer.
struct InternetHandle;
using SharedInternetHandle = std::shared_ptr<InternetHandle>;

class CHttpFile {
public:
    CHttpFile(SharedInternetHandle request, std::shared_ptr<InterruptibleCaller> caller);
    CHttpFile(const CHttpFile&) = delete;
    CHttpFile& operator=(const CHttpFile&) = delete;
    // Adds headers (CR LF lines) with flags; the result is not looked at.
    void AddRequestHeaders(std::string_view headers, DWORD flags);
    // Sends the request and waits for the response headers; throws CallAbandoned when the
    // thread is asked to quit meanwhile.
    void SendRequest();
    DWORD QueryStatusCode();
    // A response header (or all of them, by level) as text; "" when there is none.
    std::string QueryInfo(DWORD level);
    // Reads at most size bytes of the body into buffer; 0 at its end.
    size_t Read(char* buffer, size_t size);
    // The platform's dialog for an error of this request (InternetErrorDlg).
    DWORD ErrorDialog(HWND owner, DWORD error, DWORD flags);
    void Close();

private:
    SharedInternetHandle request_;
    std::shared_ptr<InterruptibleCaller> caller_;
    struct Exchange;  // a send's result, shared with the call
    std::shared_ptr<Exchange> exchange_;
};

class CHttpConnection {
public:
    CHttpConnection(SharedInternetHandle connection, std::shared_ptr<InterruptibleCaller> caller);
    std::unique_ptr<CHttpFile> OpenRequest(const char* verb, const std::string& object, const char* version,
                                           DWORD flags, DWORD_PTR context);
    void Close();

private:
    SharedInternetHandle connection_;
    std::shared_ptr<InterruptibleCaller> caller_;
};

class CInternetSession {
public:
    // Opens the session (InternetOpenA); throws CInternetException when it cannot.
    CInternetSession(const char* agent, DWORD_PTR context, DWORD accessType, const char* proxy,
                     const char* proxyBypass, DWORD flags);
    virtual ~CInternetSession();
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A connection to an HTTP server (no network traffic yet).
    std::unique_ptr<CHttpConnection> GetHttpConnection(const std::string& server, INTERNET_PORT port,
                                                       const char* user = nullptr, const char* password = nullptr);
    void Close();

private:
    SharedInternetHandle session_;
    DWORD_PTR context_;
    std::shared_ptr<InterruptibleCaller> caller_;
};

}  // namespace kavrel::win
