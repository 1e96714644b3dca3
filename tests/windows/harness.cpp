// The Windows tests' shared helpers.
#include "tests/windows/harness.h"

#include <winsock2.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "app/lookup_dlg.h"
#include "core/cp1254.h"
#include "core/scramble.h"
#include "framework/message_loop.h"
#include "framework/text.h"
#include "framework/window.h"
#include "resources/resource.h"

namespace kavrel::test {
namespace {

int lastQuitCode = -1;

std::mutex captionMutex;
std::vector<std::string> recordedCaptions;
HWND recordedWindow = nullptr;

LRESULT CALLBACK RecordCaption(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SETTEXT &&
        (GetWindowLongW(message->hwnd, GWL_STYLE) & WS_CHILD) == 0 &&
        (recordedWindow == nullptr || recordedWindow == message->hwnd)) {
        std::lock_guard<std::mutex> lock(captionMutex);
        recordedCaptions.push_back(win::Narrow(reinterpret_cast<const wchar_t*>(message->lParam)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND sentWindow = nullptr;
UINT sentMessage = 0;
std::vector<WPARAM> sentValues;

LRESULT CALLBACK RecordSentMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->hwnd == sentWindow && message->message == sentMessage) {
        sentValues.push_back(message->wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TempWorkDir::TempWorkDir() {
    wchar_t buffer[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buffer);
    previous_ = buffer;
    GetTempPathW(MAX_PATH, buffer);
    static int serial = 0;
    path_ = std::wstring(buffer) + L"kavrel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial);
    CreateDirectoryW(path_.c_str(), nullptr);
    SetCurrentDirectoryW(path_.c_str());
}

TempWorkDir::~TempWorkDir() {
    SetCurrentDirectoryW(previous_.c_str());
    RemoveTree(path_);
}

std::string Cp(const char* utf8) {
    const Utf8Conversion converted = Utf8To1254(utf8);
    return converted.ok ? converted.text : std::string("<not 1254>");
}

void WriteRawFile(const std::string& name, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(win::Widen(name)), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteDictionary(const std::string& name, std::string plain) {
    ScrambleText(plain);
    WriteRawFile(name, plain);
}

std::string ReadRawFile(const std::string& name) {
    std::ifstream in(std::filesystem::path(win::Widen(name)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        int exitCode = 0;
        if (!win::PumpWaitingMessages(&exitCode)) lastQuitCode = exitCode;
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= milliseconds; }, milliseconds + 1000);
}

int QuitCode() { return lastQuitCode; }
void ResetQuitCode() {
    win::PumpWaitingMessages();  // a window closed by an earlier test may have posted one
    lastQuitCode = -1;
}

CaptionRecorder::CaptionRecorder(HWND onlyWindow)
    : hook_(SetWindowsHookExW(WH_CALLWNDPROC, RecordCaption, nullptr, GetCurrentThreadId())) {
    std::lock_guard<std::mutex> lock(captionMutex);
    recordedCaptions.clear();
    recordedWindow = onlyWindow;
}

CaptionRecorder::~CaptionRecorder() {
    UnhookWindowsHookEx(hook_);
}

std::vector<std::string> CaptionRecorder::Captions() const {
    std::lock_guard<std::mutex> lock(captionMutex);
    return recordedCaptions;
}

void CaptionRecorder::Clear() {
    std::lock_guard<std::mutex> lock(captionMutex);
    recordedCaptions.clear();
}

SentMessageRecorder::SentMessageRecorder(HWND window, UINT message)
    : hook_(SetWindowsHookExW(WH_CALLWNDPROC, RecordSentMessage, nullptr, GetCurrentThreadId())) {
    sentWindow = window;
    sentMessage = message;
    sentValues.clear();
}

SentMessageRecorder::~SentMessageRecorder() {
    UnhookWindowsHookEx(hook_);
}

std::vector<WPARAM> SentMessageRecorder::Values() const {
    return sentValues;
}

std::string TextOf(HWND window) {
    return win::GetText(window);
}

std::vector<std::string> ComboRows(HWND combo) {
    std::vector<std::string> rows;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) rows.push_back(win::ComboItemText(combo, i));
    return rows;
}

void Type(HWND control, const std::string& text1254) {
    for (wchar_t c : win::Widen(text1254)) {
        PostMessageW(control, WM_CHAR, c, 1);
        PumpFor(0);
    }
}

void PressKey(HWND control, UINT virtualKey) {
    PostMessageW(control, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(control, WM_KEYUP, virtualKey, 0xC0000001);
    PumpFor(0);
}

bool LoadFinished(const CLookupDlg& dialog) {
    return !dialog.IsLoading() && TextOf(dialog.Hwnd()).rfind("Kavrel v1.5 (", 0) == 0;
}

std::unique_ptr<CLookupDlg> OpenMainWindow() {
    auto dialog = std::make_unique<CLookupDlg>(nullptr);
    PumpUntil([&] { return !dialog->IsLoading(); });
    PumpFor(0);
    return dialog;
}

namespace {

struct WindowSearch {
    const std::function<bool(HWND)>* match;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || !(*search->match)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

struct OpenBoxes {
    std::vector<std::pair<HWND, std::string>> boxes;
};

BOOL CALLBACK CollectMessageBox(HWND window, LPARAM parameter) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (const HWND label = GetDlgItem(window, 0xFFFF)) {
        reinterpret_cast<OpenBoxes*>(parameter)->boxes.emplace_back(window, win::GetText(label));
    }
    return TRUE;
}

// The modal dialog WithModalDialog waits for: the windows that were there before, and the
// action for the new one.
struct ModalScript {
    std::vector<HWND> before;
    std::function<void(HWND)> act;
    HWND acted = nullptr;
    DWORD actedAt = 0;
    bool overdue = false;
};
ModalScript* activeScript = nullptr;

BOOL CALLBACK FindNewDialog(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<HWND*>(parameter);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (!IsWindowVisible(window) || std::wstring(className) != L"#32770") return TRUE;
    const auto& before = activeScript->before;
    if (std::find(before.begin(), before.end(), window) != before.end()) return TRUE;
    *found = window;
    return FALSE;
}

BOOL CALLBACK ListWindow(HWND window, LPARAM parameter) {
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

void CALLBACK OnModalTimer(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = activeScript;
    if (script == nullptr) return;
    if (script->acted != nullptr) {
        if (IsWindow(script->acted) && GetTickCount() - script->actedAt > 5000 && !script->overdue) {
            script->overdue = true;
            DestroyWindow(script->acted);
        }
        return;
    }
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindNewDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    script->acted = dialog;
    script->actedAt = GetTickCount();
    script->act(dialog);
}

// The icon control of a message box (its id differs between platforms).
HWND IconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return child;
    }
    return nullptr;
}

// The MB_ICON flag whose shared system icon a message box shows, or 0.
UINT IconFlagOf(HWND box) {
    const HWND icon = IconOf(box);
    if (icon == nullptr) return 0;
    const auto shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
    const struct { const wchar_t* system; UINT flag; } icons[] = {
        {IDI_HAND, MB_ICONSTOP}, {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
        {IDI_ASTERISK, MB_ICONINFORMATION}, {IDI_QUESTION, MB_ICONQUESTION},
    };
    for (const auto& i : icons) {
        if (LoadIconW(nullptr, i.system) == shown) return i.flag;
    }
    return 0;
}

}  // namespace

HWND FindOwnWindow(const std::function<bool(HWND)>& match) {
    WindowSearch search{&match};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMessageBox(const std::string& text1254) {
    return FindOwnWindow([&](HWND window) {
        const HWND label = GetDlgItem(window, 0xFFFF);  // a message box's text
        return label != nullptr && win::GetText(label) == text1254;
    });
}

HWND FindOfferWindow() {
    return FindOwnWindow([](HWND window) {
        return GetDlgItem(window, IDC_DOWNLOAD) != nullptr && GetDlgItem(window, IDC_CANCEL_DOWNLOAD) != nullptr;
    });
}

HWND DeclineOfferAndFindMessageBox(const std::string& text1254) {
    if (const HWND offer = FindOfferWindow()) Click(offer, IDC_CANCEL_DOWNLOAD);
    return FindMessageBox(text1254);
}

void Click(HWND dialog, int buttonId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

StderrCapture::StderrCapture() {
    std::fflush(stderr);
    saved_ = _dup(2);
    file_ = _open("stderr-capture.txt", _O_CREAT | _O_TRUNC | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
    _dup2(file_, 2);
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    _dup2(saved_, 2);
    _close(saved_);
    _close(file_);
    DeleteFileW(L"stderr-capture.txt");
}

std::string StderrCapture::Text() const {
    std::fflush(stderr);
    return ReadRawFile("stderr-capture.txt");
}

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

MessageBoxCloser::MessageBoxCloser() : thread_([this] { Watch(); }) {}

MessageBoxCloser::~MessageBoxCloser() {
    stop_ = true;
    thread_.join();
}

std::vector<std::string> MessageBoxCloser::Texts() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return texts_;
}

void MessageBoxCloser::Watch() {
    while (!stop_) {
        if (const HWND offer = FindOfferWindow()) Click(offer, IDC_CANCEL_DOWNLOAD);
        OpenBoxes open;
        EnumWindows(CollectMessageBox, reinterpret_cast<LPARAM>(&open));
        for (const auto& [box, text] : open.boxes) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (std::find(closed_.begin(), closed_.end(), box) != closed_.end()) continue;
            closed_.push_back(box);
            texts_.push_back(text);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(10);
    }
}

bool WithModalDialog(const std::function<void()>& trigger, const std::function<void(HWND)>& act) {
    ModalScript script;
    script.act = act;
    EnumThreadWindows(GetCurrentThreadId(), ListWindow, reinterpret_cast<LPARAM>(&script.before));
    activeScript = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, OnModalTimer);
    trigger();
    KillTimer(nullptr, timer);
    activeScript = nullptr;
    EXPECT_FALSE(script.overdue) << "the dialog did not end after the test's action";
    return script.acted != nullptr;
}

std::vector<AnsweredBox> AnswerMessageBoxes(const std::string& text1254, const std::function<void()>& action) {
    std::vector<AnsweredBox> boxes;
    std::atomic<bool> done{false};
    std::thread answerer([&] {
        while (!done) {
            if (const HWND box = FindMessageBox(text1254)) {
                boxes.push_back({win::GetText(box), IconFlagOf(box)});
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                while (!done && IsWindow(box)) Sleep(5);
            }
            Sleep(5);
        }
    });
    action();
    done = true;
    answerer.join();
    return boxes;
}

std::string ProfilePath() {
    wchar_t directory[MAX_PATH] = {};
    GetWindowsDirectoryW(directory, MAX_PATH);
    return win::Narrow(directory) + "\\kavrel.INI";
}

bool HotkeyHeld(UINT modifiers, UINT virtualKey) {
    constexpr int kProbeId = 0xBFFF;
    if (RegisterHotKey(nullptr, kProbeId, modifiers, virtualKey)) {
        UnregisterHotKey(nullptr, kProbeId);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

bool PressHotkeyFromX(HWND focus, const std::string& keys) {
    SetForegroundWindow(focus);
    // Wine runs a Unix program named by its path; the window's X id is Wine's property.
    const auto xWindow = reinterpret_cast<uintptr_t>(GetPropW(focus, L"__wine_x11_whole_window"));
    std::wstring command =
        L"/usr/bin/xdotool windowfocus --sync " + std::to_wstring(xWindow) + L" key " + win::Widen(keys);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "xdotool did not start: " << GetLastError();
        return false;
    }
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 20000) {
        if (PeekMessageW(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
            win::ProcessMessage(msg);
            return true;
        }
        Sleep(10);
    }
    return false;
}

namespace {

// Every test starts without a settings profile: the tests of a suite share one prefix.
class ProfileRemover : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { DeleteFileW(win::Widen(ProfilePath()).c_str()); }
};

const bool profileRemoverAdded = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProfileRemover);  // the list owns it
    return true;
}();

}  // namespace

}  // namespace kavrel::test
