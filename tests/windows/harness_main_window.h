// The real main window in a test: opening it on dictionaries made by the test, waiting for
// its loads, choosing a direction and closing it as the user does, the captions the user
// reads, and a fixture for the tests that drive it.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lookup_dlg.h"
#include "framework/dialog.h"
#include "tests/windows/harness.h"

namespace kavrel::test {

using MainWindowPtr = win::DialogPtr<CLookupDlg>;

// The main window made in the current directory; its first load may still run.
MainWindowPtr StartMainWindow();
// The main window made in the current directory, its first load waited for.
MainWindowPtr OpenMainWindow();
// True when the main window shows a finished load.
bool LoadFinished(const CLookupDlg& dialog);
// Pumps until the window shows a finished load; false when it did not within timeoutMs.
bool WaitForLoad(const CLookupDlg& dialog, DWORD timeoutMs = 90000);
// The same while every message box is answered OK from another thread (and a download
// offer declined, unless told otherwise); the boxes' texts in order.
std::vector<std::string> WaitForLoadAnsweringBoxes(const CLookupDlg& dialog, bool declineOffer = true,
                                                   DWORD timeoutMs = 90000);
// Selects the direction list's row at listPosition and tells the window, as a user's
// choice does; the load it starts is not waited for.
void ChooseDirection(const CLookupDlg& dialog, int listPosition);
// Closes the main window with message (the close box's WM_CLOSE, or a command) and pumps
// until the program's quit message, which must carry 0 and leave the window gone. Returns
// the milliseconds it took; the quit is forgotten afterwards.
DWORD CloseMainWindow(const CLookupDlg& dialog, UINT message = WM_CLOSE, WPARAM wParam = 0);

// The captions the user reads, spelled out here rather than taken from the program.
// "Kavrel v1.5 (<n> kelime) ... yardım için F1" after a load.
std::string LoadedCaption(size_t words);
// "Kavrel v1.5 (<n> kelime) ... yardım [F1] ... ekleme/değişiklik [F6]" on a hit.
std::string FoundCaption(size_t words);
// "kelime bulunamadı ... yardım [F1] ... ekleme [F6]" on a miss.
std::string NotFoundCaption();
// The message box of a dictionary that could not be loaded.
std::string LoadFailedText();

// A test of the main window in a working directory of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ResetQuitCode(); }

    // Writes plain as the dictionary of the default direction (kavrel.001) and opens the
    // window on it.
    void Open(const std::string& plain);
    // Opens the window on the files as they are, waits for its load and puts the focus in
    // the word box.
    void OpenWindow();
    // Replaces the word box's text as a paste would (select all, then type) and so looks
    // it up.
    void ReplaceWord(const std::string& text1254);
    // The translation list is shown and dropped down.
    bool ListShown() const;
    std::string Caption() const { return TextOf(dialog_->Hwnd()); }

    TempWorkDir dir_;
    MainWindowPtr dialog_;
    HWND word_ = nullptr;
    HWND list_ = nullptr;
    HWND direction_ = nullptr;
};

}  // namespace kavrel::test
