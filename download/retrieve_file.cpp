// The retrieval: request (with password and redirect), then the body loop.
#include "download/retrieve_file.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

#include "download/redirect_location.h"
#include "framework/output_file.h"
#include "framework/window.h"

namespace kavrel::download {
namespace {

constexpr std::string_view kConnectingCaption = "Internet sitemize ba\xF0lan\xFDl\xFDyor";
constexpr std::string_view kProgressCaption = "Kavrel y\xFCkleniyor ... : ";
constexpr std::string_view kProgressCaptionEnd = " ... \xDDptal etmek i\xE7in [ESC]";
constexpr std::string_view kHeaderBlock = "Accept: text/*\r\nUser-Agent: Kavrel_Retrieval\r\n";
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT;
static_assert(kRequestFlags == 0xA0200000);
constexpr DWORD_PTR kContext = 1;
constexpr size_t kReadSize = 1023;
constexpr DWORD kPasswordDialogFlags = FLAGS_ERROR_UI_FLAGS_GENERATE_DATA | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS;

// One diagnostic line on the standard error stream; a text with its own line feed gets
// no second one.
void Diagnose(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    if (line.empty() || line.back() != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool IsRedirect(DWORD status) {
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT || status == HTTP_STATUS_REDIRECT_METHOD;
}

std::string StatusText(std::string_view prefix, DWORD status) {
    return std::string(prefix) + std::to_string(status);
}

// What one pass of the body loop does after its read, decided by at most one message.
enum class Pass { ShowProgress, Quiet, Cancel };

// Takes at most one waiting message of the window: a paint is dispatched, Escape cancels,
// another key is dropped, anything else is dropped undispatched. A quit message for the
// thread cancels too and is posted again, so the modal loops around end as well.
Pass TakeOneMessage(HWND window) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return Pass::Cancel;
    }
    if (!PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) return Pass::ShowProgress;
    switch (msg.message) {
        case WM_PAINT:
            DispatchMessageW(&msg);
            return Pass::Quiet;
        case WM_KEYDOWN:
            return msg.wParam == VK_ESCAPE ? Pass::Cancel : Pass::Quiet;
        default:
            return Pass::ShowProgress;
    }
}

// The Content-Length text as a number; nothing when it is no plain decimal number.
std::optional<uint64_t> DeclaredLength(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

class Retrieval {
public:
    explicit Retrieval(HWND window) : window_(window) {}
    // Sends the request for url, through a password and a redirect, and returns the
    // Content-Length text of the final answer, whose status is 200.
    std::string Request(const std::string& url);
    // Streams the body into tempFile; false on cancel or when the file cannot be created.
    bool ReceiveBody(const std::string& tempFile, const std::string& contentLength);

private:
    [[noreturn]] void Fail(std::string_view diagnostic, int code);
    DWORD Open(const win::ParsedUrl& target);
    DWORD AskPasswordAndResend();
    DWORD FollowRedirect();
    bool ReceiveInto(win::OutputFile& file, const std::string& contentLength, uint64_t& received);

    HWND window_;
    // Declared in this order so that the request closes first and the session last.
    CDownloadSession session_;
    std::unique_ptr<win::CHttpConnection> connection_;
    std::unique_ptr<win::CHttpFile> file_;
};

void Retrieval::Fail(std::string_view diagnostic, int code) {
    Diagnose(diagnostic);
    throw CTearException(code);
}

std::string Retrieval::Request(const std::string& url) {
    const std::optional<win::ParsedUrl> target = win::ParseUrl(url);
    if (!target) Fail("Error: can only use URLs beginning with http://", CTearException::kRequestedAddress);
    DWORD status = Open(*target);
    if (status == HTTP_STATUS_DENIED) status = AskPasswordAndResend();
    if (IsRedirect(status)) status = FollowRedirect();
    Diagnose(StatusText("Status Code is ", status));
    // Any other answer (an error page, a second 401) must never be stored as a dictionary.
    if (status != HTTP_STATUS_OK) Fail(StatusText("Error: Got status code ", status), CTearException::kRequestedAddress);
    return file_->QueryInfo(HTTP_QUERY_CONTENT_LENGTH);
}

// Connects, opens the GET with its header block and sends it; returns the status.
DWORD Retrieval::Open(const win::ParsedUrl& target) {
    connection_ = session_.GetHttpConnection(target.server, target.port);
    file_ = connection_->OpenRequest("GET", target.object, "HTTP/1.0", kRequestFlags, kContext);
    file_->AddRequestHeaders(kHeaderBlock, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    file_->SendRequest();
    return file_->QueryStatusCode();
}

// One password dialog; confirmed, the same request goes again with the credentials.
DWORD Retrieval::AskPasswordAndResend() {
    const DWORD answer = file_->ErrorDialog(GetDesktopWindow(), ERROR_INTERNET_INCORRECT_PASSWORD, kPasswordDialogFlags);
    if (answer != ERROR_INTERNET_FORCE_RETRY) Fail("Access denied: Invalid password\n", CTearException::kRequestedAddress);
    file_->SendRequest();
    return file_->QueryStatusCode();
}

// Follows one redirect; its answer must be 200.
DWORD Retrieval::FollowRedirect() {
    const std::optional<std::string> location = RedirectLocation(file_->QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF));
    if (!location) Fail("Error: Site redirects with no new location", CTearException::kRedirect);
    file_.reset();
    connection_.reset();
    const std::optional<win::ParsedUrl> target = win::ParseUrl(*location);
    if (!target) Fail("Error: the redirected URL could not be parsed.", CTearException::kRedirect);
    if (!target->IsHttp()) Fail("Error: the redirected URL does not reference a HTTP resource.", CTearException::kRedirect);
    const DWORD status = Open(*target);
    if (status != HTTP_STATUS_OK) Fail(StatusText("Error: Got status code ", status), CTearException::kRedirect);
    return status;
}

bool Retrieval::ReceiveBody(const std::string& tempFile, const std::string& contentLength) {
    win::OutputFile file;
    if (!file.Create(tempFile)) return false;
    uint64_t received = 0;
    try {
        if (!ReceiveInto(file, contentLength, received)) {
            file.Discard();
            return false;
        }
        file.Close();
    } catch (...) {
        file.Discard();  // nothing half-written may ever be renamed into a data file
        throw;
    }
    const std::optional<uint64_t> declared = DeclaredLength(contentLength);
    if (declared && received < *declared) {
        file.Discard();
        Diagnose("Error: the body ended after " + std::to_string(received) + " of " + contentLength + " bytes");
        return false;
    }
    return true;
}

// The body loop: one read, its bytes written, at most one message, the caption; until a
// read gives nothing. False when cancelled.
bool Retrieval::ReceiveInto(win::OutputFile& file, const std::string& contentLength, uint64_t& received) {
    std::array<char, kReadSize + 1> buffer;
    size_t got = 0;
    do {
        got = file_->Read(buffer.data(), kReadSize);
        file.Write(buffer.data(), got);
        received += got;
        const Pass pass = TakeOneMessage(window_);
        if (pass == Pass::Cancel) return false;
        if (pass == Pass::ShowProgress) {
            win::SetText(window_, std::string(kProgressCaption) + contentLength + "/" + std::to_string(received) +
                                      std::string(kProgressCaptionEnd));
        }
    } while (got > 0);
    return true;
}

}  // namespace

CDownloadSession::CDownloadSession()
    : CInternetSession("List E-Mailings", kContext, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0) {}

bool RetrieveFile(HWND window, std::string url, std::string tempFile) {
    win::SetText(window, kConnectingCaption);
    Retrieval retrieval(window);
    try {
        const std::string contentLength = retrieval.Request(url);
        return retrieval.ReceiveBody(tempFile, contentLength);
    } catch (const CTearException&) {
        return false;  // its diagnostic is written
    } catch (const win::CInternetException& e) {
        Diagnose("Error: (" + std::to_string(e.m_dwError) + ") " + e.ErrorText());
        return false;
    } catch (const win::CallAbandoned&) {
        return false;  // the thread is quitting: a cancel, like Escape
    }
}

}  // namespace kavrel::download
