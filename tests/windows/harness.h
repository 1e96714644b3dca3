// What every Windows test shares: a private working directory, data files made from plain
// text, a message pump that runs the program's own loop, records of captions and of the
// messages a control got, and keys sent as the keyboard would. The main window, message
// boxes and the fixture HTTP server have harness files of their own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

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
// Presses keys (xdotool's names, such as "ctrl+shift+F11") on the X display with the X
// focus in the X window of focus, as a user at the keyboard would; then handles the
// hotkey message they caused and nothing else, so that whatever else waits (the end of a
// load) stays queued. False when no hotkey message came to this thread.
bool PressHotkeyFromX(HWND focus, const std::string& keys);
// True when a window or thread of some process holds the combination as a hotkey.
bool HotkeyHeld(UINT modifiers, UINT virtualKey);

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

// The settings profile's path in the Windows directory; every test starts without it.
std::string ProfilePath();

}  // namespace kavrel::test
