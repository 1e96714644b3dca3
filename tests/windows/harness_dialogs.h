// Windows the program opens besides the main window, as a test meets them: finding them,
// clicking their buttons, closing message boxes from a thread of their own, and acting
// inside a modal dialog's loop.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kavrel::test {

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

// A message box as it was answered: its text, its caption and its icon, as the MB_ICON
// flag that shows it (MB_ICONEXCLAMATION, MB_ICONSTOP, ...; 0 for none).
struct AnsweredBox {
    std::string text;
    std::string caption;
    UINT icon = 0;
};

// Closes with OK, from a thread of its own, every message box of this process that opens
// while it lives, and keeps them in order; a download offer it declines unless told to
// leave offers alone. For boxes that a call on the test's own thread shows and waits for
// (a failed save, a failed read) and for those a worker shows.
class MessageBoxCloser {
public:
    enum class Offers { kDecline, kLeave };
    explicit MessageBoxCloser(Offers offers = Offers::kDecline);
    ~MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;
    std::vector<AnsweredBox> Boxes() const;
    std::vector<std::string> Texts() const;

private:
    void Watch();
    const Offers offers_;
    mutable std::mutex mutex_;
    std::vector<AnsweredBox> boxes_;
    std::vector<HWND> closed_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Runs action while every message box is answered OK, and returns those with the given
// text, in order.
std::vector<AnsweredBox> AnswerMessageBoxes(const std::string& text1254, const std::function<void()>& action);

// Runs trigger(), which makes this thread show a modal dialog (a key, a button), and calls
// act(dialog) once from inside the dialog's own message loop as soon as it is visible.
// False when no dialog appeared. A dialog still open 5 s after act is closed as a failure.
bool WithModalDialog(const std::function<void()>& trigger, const std::function<void(HWND)>& act);

}  // namespace kavrel::test
