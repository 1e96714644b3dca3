// The WinInet wrappers. Texts cross as the A functions take them (addresses and header
// lines are ASCII); error texts come from the library's own message table. Only the send
// goes through the helper thread: it holds the connect and the wait for the answer, while
// a read returns as soon as bytes arrive, and handing every read to another thread would
// add two thread switches to each pass of the body loop.
#include "framework/internet.h"

#include <algorithm>
#include <utility>

#include "framework/system_error.h"
#include "framework/system_library.h"

namespace kavrel::win {
namespace {

// Longer header texts and addresses than this are refused: a server's answer must not
// make the program copy without bound.
constexpr DWORD kTextLimit = 64 * 1024;

// The library's functions, from wininet.dll in the system directory, loaded at first use:
// imported statically, the DLL would be looked for beside the program first, where a
// planted one would run (it is not one of the system's known DLLs).
#define KAVREL_WININET_FUNCTIONS(X)                                                               \
    X(InternetOpenA) X(InternetConnectA) X(HttpOpenRequestA) X(HttpAddRequestHeadersA)            \
    X(HttpSendRequestA) X(HttpQueryInfoA) X(InternetReadFile) X(InternetCloseHandle)              \
    X(InternetErrorDlg) X(InternetCanonicalizeUrlA) X(InternetCrackUrlA)

struct WinInet {
#define KAVREL_DECLARE(name) decltype(&::name) name = nullptr;
    KAVREL_WININET_FUNCTIONS(KAVREL_DECLARE)
#undef KAVREL_DECLARE
    DWORD loadError = ERROR_SUCCESS;
};

// The loaded functions; loadError tells why they are missing. The module stays loaded for
// the process's life.
const WinInet& Library() {
    static const WinInet library = [] {
        WinInet loaded;
        const HMODULE module = LoadSystemLibrary(L"wininet.dll");
        if (module == nullptr) {
            loaded.loadError = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_MOD_NOT_FOUND;
            return loaded;
        }
#define KAVREL_LOOK_UP(name)                                                                        \
    loaded.name = reinterpret_cast<decltype(&::name)>(reinterpret_cast<void (*)()>(GetProcAddress(module, #name))); \
    if (loaded.name == nullptr) loaded.loadError = ERROR_PROC_NOT_FOUND;
        KAVREL_WININET_FUNCTIONS(KAVREL_LOOK_UP)
#undef KAVREL_LOOK_UP
        return loaded;
    }();
    return library;
}

std::string LibraryErrorText(DWORD error) {
    std::string text = SystemErrorText(error, GetModuleHandleW(L"wininet.dll"));
    return text.empty() ? SystemErrorText(error) : text;
}

}  // namespace

struct InternetHandle {
    InternetHandle(HINTERNET h, SharedInternetHandle owner) : handle(h), parent(std::move(owner)) {}
    ~InternetHandle() { Library().InternetCloseHandle(handle); }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET handle;
    SharedInternetHandle parent;
};

struct CHttpFile::Exchange {
    BOOL ok = FALSE;
    DWORD error = ERROR_SUCCESS;
};

CInternetException::CInternetException(DWORD error) : std::runtime_error(LibraryErrorText(error)), m_dwError(error) {}

std::optional<ParsedUrl> ParseUrl(const std::string& url) {
    if (url.size() > kTextLimit || Library().loadError != ERROR_SUCCESS) return std::nullopt;
    // Escaping can make the address up to three times as long.
    DWORD size = static_cast<DWORD>(url.size()) * 3 + 16;
    std::string canonical(size, '\0');
    if (!Library().InternetCanonicalizeUrlA(url.c_str(), canonical.data(), &size, 0)) return std::nullopt;
    canonical.resize(size);

    // Null pointers with non-zero lengths ask for pointers into canonical.
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!Library().InternetCrackUrlA(canonical.c_str(), static_cast<DWORD>(canonical.size()), 0, &parts)) return std::nullopt;
    if (parts.lpszHostName == nullptr || parts.dwHostNameLength == 0) return std::nullopt;
    ParsedUrl parsed;
    parsed.scheme = parts.nScheme;
    parsed.port = parts.nPort;
    parsed.server.assign(parts.lpszHostName, parts.dwHostNameLength);
    if (parts.lpszUrlPath != nullptr) parsed.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo != nullptr) parsed.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (parsed.object.empty()) parsed.object = "/";
    return parsed;
}

// ---- Session ----

CInternetSession::CInternetSession(const char* agent, DWORD_PTR context, DWORD accessType, const char* proxy,
                                   const char* proxyBypass, DWORD flags)
    : context_(context), caller_(std::make_shared<InterruptibleCaller>()) {
    if (Library().loadError != ERROR_SUCCESS) throw CInternetException(Library().loadError);
    const HINTERNET session = Library().InternetOpenA(agent, accessType, proxy, proxyBypass, flags);
    if (session == nullptr) throw CInternetException(GetLastError());
    session_ = std::make_shared<InternetHandle>(session, nullptr);
}

CInternetSession::~CInternetSession() = default;

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const std::string& server, INTERNET_PORT port,
                                                                     const char* user, const char* password) {
    if (!session_) throw CInternetException(ERROR_INVALID_HANDLE);
    const HINTERNET connection =
        Library().InternetConnectA(session_->handle, server.c_str(), port, user, password, INTERNET_SERVICE_HTTP, 0, context_);
    if (connection == nullptr) throw CInternetException(GetLastError());
    return std::make_unique<CHttpConnection>(std::make_shared<InternetHandle>(connection, session_), caller_);
}

void CInternetSession::Close() {
    session_.reset();
}

// ---- Connection ----

CHttpConnection::CHttpConnection(SharedInternetHandle connection, std::shared_ptr<InterruptibleCaller> caller)
    : connection_(std::move(connection)), caller_(std::move(caller)) {}

std::unique_ptr<CHttpFile> CHttpConnection::OpenRequest(const char* verb, const std::string& object,
                                                        const char* version, DWORD flags, DWORD_PTR context) {
    if (!connection_) throw CInternetException(ERROR_INVALID_HANDLE);
    const HINTERNET request =
        Library().HttpOpenRequestA(connection_->handle, verb, object.c_str(), version, nullptr, nullptr, flags, context);
    if (request == nullptr) throw CInternetException(GetLastError());
    return std::make_unique<CHttpFile>(std::make_shared<InternetHandle>(request, connection_), caller_);
}

void CHttpConnection::Close() {
    connection_.reset();
}

// ---- Request ----

CHttpFile::CHttpFile(SharedInternetHandle request, std::shared_ptr<InterruptibleCaller> caller)
    : request_(std::move(request)), caller_(std::move(caller)), exchange_(std::make_shared<Exchange>()) {}

void CHttpFile::AddRequestHeaders(std::string_view headers, DWORD flags) {
    Library().HttpAddRequestHeadersA(request_->handle, headers.data(), static_cast<DWORD>(headers.size()), flags);
}

void CHttpFile::SendRequest() {
    caller_->Run([request = request_, exchange = exchange_] {
        exchange->ok = Library().HttpSendRequestA(request->handle, nullptr, 0, nullptr, 0);
        exchange->error = GetLastError();
    });
    if (!exchange_->ok) throw CInternetException(exchange_->error);
}

DWORD CHttpFile::QueryStatusCode() {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!Library().HttpQueryInfoA(request_->handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        throw CInternetException(GetLastError());
    }
    return status;
}

std::string CHttpFile::QueryInfo(DWORD level) {
    DWORD size = 0;
    if (Library().HttpQueryInfoA(request_->handle, level, nullptr, &size, nullptr)) return {};
    const DWORD error = GetLastError();
    if (error == ERROR_HTTP_HEADER_NOT_FOUND) return {};
    if (error != ERROR_INSUFFICIENT_BUFFER) throw CInternetException(error);
    if (size > kTextLimit) throw CInternetException(ERROR_INSUFFICIENT_BUFFER);
    std::string text(size, '\0');
    if (!Library().HttpQueryInfoA(request_->handle, level, text.data(), &size, nullptr)) throw CInternetException(GetLastError());
    text.resize(size < text.size() ? size : text.size());
    return text;
}

size_t CHttpFile::Read(char* buffer, size_t size) {
    DWORD got = 0;
    if (!Library().InternetReadFile(request_->handle, buffer, static_cast<DWORD>(size), &got)) {
        throw CInternetException(GetLastError());
    }
    return got < size ? got : size;
}

DWORD CHttpFile::ErrorDialog(HWND owner, DWORD error, DWORD flags) {
    return Library().InternetErrorDlg(owner, request_->handle, error, flags, nullptr);
}

void CHttpFile::Close() {
    request_.reset();  // a send left behind holds a reference of its own
}

}  // namespace kavrel::win
