// The Windows tests' shared basics.
#include "tests/windows/harness.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "core/cp1254.h"
#include "core/scramble.h"
#include "framework/message_loop.h"
#include "framework/text.h"
#include "framework/window.h"

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
