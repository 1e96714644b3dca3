// What the Windows tests share: a private working directory, data files made from plain
// text, a message pump that runs the program's own loop, and a record of every caption.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CLookupDlg;

namespace kavrel::test {

// A fresh directory made the current one for the test's lifetime, then removed.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;
    const std::wstring& Path() const { return path_; }

private:
    std::wstring previous_;
    std::wstring path_;
};

// Windows-1254 bytes from a UTF-8 literal, so tests can spell Turkish texts readably.
std::string Cp(const char* utf8);

// Writes plain scrambled into name, as the program stores a dictionary.
void WriteDictionary(const std::string& name, std::string plain);
// The raw bytes of a file; "" when it cannot be read.
std::string ReadRawFile(const std::string& name);
void WriteRawFile(const std::string& name, const std::string& bytes);

// Runs the program's message handling until done() holds or timeoutMs passes; false on
// timeout. A quit message ends the pump early and is recorded in QuitCode().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 90000);
// Runs the message handling for a while, for effects that have no end to wait for.
void PumpFor(DWORD milliseconds);
// The exit code of the last quit message the pump met, or -1.
int QuitCode();
// Forgets quit messages met or still waiting.
void ResetQuitCode();

// Every caption (WM_SETTEXT) a top-level window of this thread got since the recorder
// was made, in order.
class CaptionRecorder {
public:
    explicit CaptionRecorder(HWND onlyWindow = nullptr);
    ~CaptionRecorder();
    std::vector<std::string> Captions() const;
    void Clear();

private:
    HHOOK hook_;
};

// The wParam of every `message` sent to `window` on this thread since the recorder was
// made, in order: what the program asked of a control, whatever the control made of it.
class SentMessageRecorder {
public:
    SentMessageRecorder(HWND window, UINT message);
    ~SentMessageRecorder();
    std::vector<WPARAM> Values() const;

private:
    HHOOK hook_;
};

// The window's text in 1254.
std::string TextOf(HWND window);
// The rows of a combo box.
std::vector<std::string> ComboRows(HWND combo);

// Types text into a control the way the keyboard would: one WM_CHAR per character,
// posted to the queue and handled by the program's loop.
void Type(HWND control, const std::string& text1254);
// Posts a key-down (and key-up) of a virtual key and handles it.
void PressKey(HWND control, UINT virtualKey);

// The main window made in the current directory, its first load waited for.
std::unique_ptr<CLookupDlg> OpenMainWindow();
// True when the main window shows a finished load.
bool LoadFinished(const CLookupDlg& dialog);

// A visible top-level window of this process that match accepts, if one is open.
HWND FindOwnWindow(const std::function<bool(HWND)>& match);
// A message box of this process with the given text, if one is open.
HWND FindMessageBox(const std::string& text1254);
// The download offer, if one is open (on whichever thread).
HWND FindOfferWindow();
// Declines a download offer that is open ("İPTAL"), for tests of what follows it, and
// returns the message box with the given text if one is open.
HWND DeclineOfferAndFindMessageBox(const std::string& text1254);
// Clicks a dialog's button the way the platform reports it (posted, so any thread's
// dialog can take it).
void Click(HWND dialog, int buttonId);

// Everything written to the C runtime's standard error stream while it lives.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    std::string Text() const;

private:
    int saved_;
    int file_;
};

// The fixture HTTP server of the download tests (fixture_server.py), which
// with-fixture-server.sh starts around the test program: its "127.0.0.1:port".
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

// Closes with OK, from a thread of its own, every message box of this process that opens
// while it lives, and keeps their texts in order; a download offer it declines. For boxes
// that a call on the test's own thread shows and waits for (a failed save, a failed read).
class MessageBoxCloser {
public:
    MessageBoxCloser();
    ~MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
    std::vector<std::string> Texts() const;

private:
    void Watch();
    mutable std::mutex mutex_;
    std::vector<std::string> texts_;
    std::vector<HWND> closed_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Runs trigger(), which makes this thread show a modal dialog (a key, a button), and calls
// act(dialog) once from inside the dialog's own message loop as soon as it is visible.
// False when no dialog appeared. A dialog still open 5 s after act is closed as a failure.
bool WithModalDialog(const std::function<void()>& trigger, const std::function<void(HWND)>& act);

// A message box answered by AnswerMessageBoxes: its caption and its icon, as the MB_ICON
// flag that shows it (MB_ICONEXCLAMATION, MB_ICONSTOP, ...; 0 for none).
struct AnsweredBox {
    std::string caption;
    UINT icon = 0;
};
// Runs action while another thread answers OK to every message box with the given text,
// and returns those boxes in order.
std::vector<AnsweredBox> AnswerMessageBoxes(const std::string& text1254, const std::function<void()>& action);

// The settings profile's path in the Windows directory; every test starts without it.
std::string ProfilePath();

// True when a window or thread of some process holds the combination as a hotkey.
bool HotkeyHeld(UINT modifiers, UINT virtualKey);

// Presses keys (xdotool's names, such as "ctrl+shift+F11") on the X display with the X
// focus in the X window of focus, as a user at the keyboard would; then handles the
// hotkey message they caused and nothing else, so that whatever else waits (the end of a
// load) stays queued. False when no hotkey message came to this thread.
bool PressHotkeyFromX(HWND focus, const std::string& keys);

}  // namespace kavrel::test
