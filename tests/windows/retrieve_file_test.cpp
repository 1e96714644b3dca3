// The HTTP retrieval against the fixture server: what each kind of answer leaves behind
// (result, temporary file, captions, diagnostic lines, the requests the server saw), the
// real password dialog, the messages taken during the body, and leaving on Escape or quit.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>
#include <thread>

#include "download/retrieve_file.h"
#include "tests/windows/harness.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_server.h"

namespace kavrel::test {
namespace {

constexpr char kTemp[] = "kavrel.tmp";

// Byte i of every fixture body is i % 251.
std::string PatternBytes(size_t n) {
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

std::string Progress(const std::string& length, size_t received) {
    return Cp("Kavrel yükleniyor ... : ") + length + "/" + std::to_string(received) + Cp(" ... İptal etmek için [ESC]");
}

const std::string kConnecting = Cp("Internet sitemize bağlanılıyor");

// Percent-encodes an address for a query parameter.
std::string Encoded(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_') {
            out.push_back(static_cast<char>(c));
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

// A top-level window that counts what is dispatched to it.
struct ProbeWindow {
    static inline int paints = 0;
    static inline int others = 0;  // WM_USER and key-downs
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) ++paints;
        if (message == WM_USER || message == WM_KEYDOWN) ++others;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    ProbeWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KavrelRetrievalProbe";
        RegisterClassW(&windowClass);
        hwnd = CreateWindowExW(0, L"KavrelRetrievalProbe", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 100,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        PumpFor(0);  // the first paint and activation are over
        paints = others = 0;
    }
    ~ProbeWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

struct Outcome {
    bool result = false;
    std::optional<std::string> temp;  // the temporary file's bytes, if it exists
    std::vector<std::string> captions;
    std::string diagnostics;
};

class Retrieval : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(FixtureHost().empty()) << "run through with-fixture-server.sh";
        FixtureControl("/__reset");
    }

    Outcome Retrieve(const std::string& url) {
        Outcome outcome;
        DeleteFileW(L"kavrel.tmp");
        CaptionRecorder recorder(window_.hwnd);
        StderrCapture diagnostics;
        outcome.result = download::RetrieveFile(window_.hwnd, url, kTemp);
        outcome.captions = recorder.Captions();
        outcome.diagnostics = diagnostics.Text();
        if (GetFileAttributesW(L"kavrel.tmp") != INVALID_FILE_ATTRIBUTES) outcome.temp = ReadRawFile(kTemp);
        return outcome;
    }

    TempWorkDir dir_;
    ProbeWindow window_;
};

TEST_F(Retrieval, EachAnswerEndsAsItShould) {
    const std::string body10 = "/body?n=10";
    const std::string redirectTo200 = "/redirect?to=" + Encoded(FixtureUrl(body10));
    const std::string redirectTo302 = "/redirect?to=" + Encoded(FixtureUrl(redirectTo200));
    const std::string lowerCase = "/redirect?name=location&to=" + Encoded(FixtureUrl(body10));
    const struct Case {
        const char* name;
        std::string path;
        bool result;
        std::optional<std::string> temp;
        std::string diagnostics;
        std::vector<std::string> requests;
        std::string lastCaption;
    } cases[] = {
        {"200 with a length", "/body?n=5115", true, PatternBytes(5115), "Status Code is 200\n", {"/body?n=5115"},
         Progress("5115", 5115)},
        {"200 without a length", "/body?n=2046&cl=0", true, PatternBytes(2046), "Status Code is 200\n",
         {"/body?n=2046&cl=0"}, Progress("", 2046)},
        {"empty body", "/body?n=0", true, "", "Status Code is 200\n", {"/body?n=0"}, Progress("0", 0)},
        {"302 with CR LF, then 200", redirectTo200, true, PatternBytes(10), "Status Code is 200\n",
         {redirectTo200, body10}, Progress("10", 10)},
        {"302, then 302", redirectTo302, false, std::nullopt, "Error: Got status code 302\n",
         {redirectTo302, redirectTo200}, kConnecting},
        {"redirect to ftp", "/redirect?to=ftp%3A//127.0.0.1/kavrel.008", false, std::nullopt,
         "Error: the redirected URL does not reference a HTTP resource.\n",
         {"/redirect?to=ftp%3A//127.0.0.1/kavrel.008"}, kConnecting},
        {"lower-case location", lowerCase, false, std::nullopt, "Error: Site redirects with no new location\n",
         {lowerCase}, kConnecting},
        {"404", "/status?code=404", false, std::nullopt, "Status Code is 404\nError: Got status code 404\n",
         {"/status?code=404"}, kConnecting},
        {"dropped mid-body", "/drop?n=3000&cl=10000", false, std::nullopt,
         "Status Code is 200\nError: the body ended after 3000 of 10000 bytes\n", {"/drop?n=3000&cl=10000"},
         Progress("10000", 3000)},
    };
    for (const Case& c : cases) {
        FixtureControl("/__reset");
        const Outcome outcome = Retrieve(FixtureUrl(c.path));
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_EQ(outcome.temp, c.temp) << c.name;
        EXPECT_EQ(outcome.diagnostics, c.diagnostics) << c.name;
        std::vector<std::string> expected;
        for (const std::string& path : c.requests) expected.push_back(ExpectedRequest(path));
        EXPECT_EQ(FixtureSeen(), expected) << c.name;
        ASSERT_FALSE(outcome.captions.empty()) << c.name;
        EXPECT_EQ(outcome.captions.front(), kConnecting) << c.name;
        EXPECT_EQ(outcome.captions.back(), c.lastCaption) << c.name;
    }
}

TEST_F(Retrieval, AddressesThatNeverReachAnAnswer) {
    const struct {
        const char* name;
        std::string url;
        std::string diagnosticsStart;
    } cases[] = {
        {"no address", "kavrel.008", "Error: can only use URLs beginning with http://\n"},
        {"nobody listening", "http://127.0.0.1:1/kavrel.008", "Error: (12029) "},
        {"redirect that cannot be parsed", FixtureUrl("/redirect?to=%3A%2F%2F"),
         "Error: the redirected URL could not be parsed.\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Retrieve(c.url);
        EXPECT_FALSE(outcome.result) << c.name;
        EXPECT_FALSE(outcome.temp.has_value()) << c.name;
        EXPECT_EQ(outcome.diagnostics.substr(0, c.diagnosticsStart.size()), c.diagnosticsStart) << c.name;
    }
}

TEST_F(Retrieval, SeveralMegabytesArriveWhole) {
    const size_t size = 5'000'000;
    const Outcome outcome = Retrieve(FixtureUrl("/body?n=5000000"));
    EXPECT_TRUE(outcome.result);
    ASSERT_TRUE(outcome.temp.has_value());
    EXPECT_EQ(outcome.temp->size(), size);
    EXPECT_TRUE(*outcome.temp == PatternBytes(size)) << "the file holds the body byte for byte";
    EXPECT_EQ(outcome.captions.back(), Progress(std::to_string(size), size));
}

TEST_F(Retrieval, OneWaitingMessageIsTakenPerRead) {
    // A body of three full reads, then the read that gives 0 bytes: four passes.
    const auto key = [](WPARAM vk) { return [vk](HWND w) { PostMessageW(w, WM_KEYDOWN, vk, 1); }; };
    const auto user = [](HWND w) { PostMessageW(w, WM_USER, 0, 0); };
    const auto paint = [](HWND w) { InvalidateRect(w, nullptr, TRUE); };
    const struct Case {
        const char* name;
        std::vector<std::function<void(HWND)>> queued;
        bool result;
        std::vector<size_t> progress;  // the received counts the captions show
        int paints;
    } cases[] = {
        {"nothing waiting", {}, true, {1023, 2046, 3069, 3069}, 0},
        {"another key is dropped without a caption", {key('A')}, true, {2046, 3069, 3069}, 0},
        {"another message is dropped with a caption", {user}, true, {1023, 2046, 3069, 3069}, 0},
        {"a paint is dispatched without a caption", {paint}, true, {2046, 3069, 3069}, 1},
        {"Escape behind two messages cancels in the third pass", {user, key('A'), key(VK_ESCAPE)}, false, {1023}, 0},
    };
    for (const Case& c : cases) {
        ProbeWindow::paints = ProbeWindow::others = 0;
        for (const auto& queue : c.queued) queue(window_.hwnd);
        const Outcome outcome = Retrieve(FixtureUrl("/body?n=3069"));
        EXPECT_EQ(outcome.result, c.result) << c.name;
        std::vector<std::string> expected = {kConnecting};
        for (const size_t received : c.progress) expected.push_back(Progress("3069", received));
        EXPECT_EQ(outcome.captions, expected) << c.name;
        EXPECT_EQ(ProbeWindow::paints, c.paints) << c.name;
        EXPECT_EQ(ProbeWindow::others, 0) << c.name << ": nothing else is dispatched";
        EXPECT_EQ(outcome.temp.has_value(), c.result) << c.name;
        PumpFor(0);
    }
}

TEST_F(Retrieval, EscapeDuringASlowBodyClosesTheConnection) {
    const std::string path = "/trickle?chunks=200&size=1023&delay=0.03";
    PostMessageW(window_.hwnd, WM_USER, 0, 0);
    PostMessageW(window_.hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
    const Outcome outcome = Retrieve(FixtureUrl(path));
    EXPECT_FALSE(outcome.result);
    EXPECT_FALSE(outcome.temp.has_value());
    EXPECT_EQ(outcome.diagnostics, "Status Code is 200\n") << "a cancel writes no line";
    std::vector<std::string> seen;
    ASSERT_TRUE(PumpUntil([&] { return (seen = FixtureSeen()).size() == 2; }, 10000));
    EXPECT_EQ(seen[1].rfind("closed " + path + " after ", 0), 0u) << seen[1];
}

TEST_F(Retrieval, QuitMessageEndsAWaitingRequestAtOnce) {
    const DWORD thread = GetCurrentThreadId();
    std::thread quit([&] {
        for (int i = 0; i < 500 && FixtureSeen().empty(); ++i) Sleep(10);
        PostThreadMessageW(thread, WM_QUIT, 5, 0);
    });
    ResetQuitCode();
    const DWORD start = GetTickCount();
    const Outcome outcome = Retrieve(FixtureUrl("/hang"));
    const DWORD elapsed = GetTickCount() - start;
    quit.join();
    EXPECT_FALSE(outcome.result);
    EXPECT_LT(elapsed, 5000u) << "the server never answers";
    EXPECT_EQ(outcome.diagnostics, "");
    PumpFor(0);
    EXPECT_EQ(QuitCode(), 5) << "the quit message is posted again for the loops around";
    FixtureControl("/__reset");  // the left request ends
}

// Finds the password dialog (a dialog of this process with two edit boxes), fills in the
// user name and password and confirms or cancels it.
void AnswerPasswordDialog(bool confirm) {
    for (int i = 0; i < 1000; ++i) {
        const HWND dialog = FindOwnWindow([](HWND window) {
            const HWND first = FindWindowExW(window, nullptr, L"Edit", nullptr);
            return first != nullptr && FindWindowExW(window, first, L"Edit", nullptr) != nullptr;
        });
        if (dialog != nullptr) {
            const HWND user = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
            SetWindowTextW(user, L"user");
            SetWindowTextW(FindWindowExW(dialog, user, L"Edit", nullptr), L"secret");
            PostMessageW(dialog, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
            return;
        }
        Sleep(10);
    }
}

// The last test of the suite: the credentials it gives stay with the library.
TEST_F(Retrieval, PasswordDialogIsShownOnceFor401) {
    // Refused first: once given, the library keeps the credentials for the server.
    const struct {
        bool confirm;
        bool result;
        std::string diagnostics;
    } cases[] = {
        {false, false, "Access denied: Invalid password\n"},
        {true, true, "Status Code is 200\n"},
    };
    for (const auto& c : cases) {
        FixtureControl("/__reset");
        std::thread answer([&] { AnswerPasswordDialog(c.confirm); });
        const Outcome outcome = Retrieve(FixtureUrl("/auth?n=100"));
        answer.join();
        EXPECT_EQ(outcome.result, c.result) << c.confirm;
        EXPECT_EQ(outcome.diagnostics, c.diagnostics) << c.confirm;
        EXPECT_EQ(outcome.temp, c.result ? std::optional<std::string>(PatternBytes(100)) : std::nullopt);
        const std::vector<std::string> seen = FixtureSeen();
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), ExpectedRequest("/auth?n=100"));
        const bool sentCredentials = seen.back().find("Authorization: Basic dXNlcjpzZWNyZXQ=\r\n") != std::string::npos;
        EXPECT_EQ(sentCredentials, c.confirm) << "user:secret goes along only after a confirmation";
    }
}

}  // namespace
}  // namespace kavrel::test
