// Driving the real main window in a test.
#include "tests/windows/harness_main_window.h"

#include "resources/resource.h"
#include "tests/windows/harness_dialogs.h"

namespace kavrel::test {

MainWindowPtr StartMainWindow() {
    return win::MakeDialog<CLookupDlg>(nullptr);
}

MainWindowPtr OpenMainWindow() {
    MainWindowPtr dialog = StartMainWindow();
    PumpUntil([&] { return !dialog->IsLoading(); });
    PumpFor(0);
    return dialog;
}

bool LoadFinished(const CLookupDlg& dialog) {
    return !dialog.IsLoading() && TextOf(dialog.Hwnd()).rfind("Kavrel v1.5 (", 0) == 0;
}

bool WaitForLoad(const CLookupDlg& dialog, DWORD timeoutMs) {
    return PumpUntil([&] { return LoadFinished(dialog); }, timeoutMs);
}

std::vector<std::string> WaitForLoadAnsweringBoxes(const CLookupDlg& dialog, bool declineOffer, DWORD timeoutMs) {
    const MessageBoxCloser boxes(declineOffer ? MessageBoxCloser::Offers::kDecline : MessageBoxCloser::Offers::kLeave);
    EXPECT_TRUE(WaitForLoad(dialog, timeoutMs)) << "the load did not end";
    return boxes.Texts();
}

void ChooseDirection(const CLookupDlg& dialog, int listPosition) {
    const HWND list = GetDlgItem(dialog.Hwnd(), IDC_DIRECTION);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(listPosition), 0);
    SendMessageW(dialog.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_DIRECTION, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

DWORD CloseMainWindow(const CLookupDlg& dialog, UINT message, WPARAM wParam) {
    const HWND window = dialog.Hwnd();
    const DWORD start = GetTickCount();
    PostMessageW(window, message, wParam, 0);
    EXPECT_TRUE(PumpUntil([] { return QuitCode() != -1; })) << "the program did not quit";
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(QuitCode(), 0);
    EXPECT_FALSE(IsWindow(window));
    ResetQuitCode();
    return elapsed;
}

std::string LoadedCaption(size_t words) {
    return "Kavrel v1.5 (" + std::to_string(words) + Cp(" kelime) ... yardım için F1");
}

std::string FoundCaption(size_t words) {
    return "Kavrel v1.5 (" + std::to_string(words) + Cp(" kelime) ... yardım [F1] ... ekleme/değişiklik [F6]");
}

std::string NotFoundCaption() {
    return Cp("kelime bulunamadı ... yardım [F1] ... ekleme [F6]");
}

std::string LoadFailedText() {
    return Cp("Talep ettiğiniz kavrel malesef yüklenemedi !");
}

void MainWindowTest::Open(const std::string& plain) {
    WriteDictionary("kavrel.001", plain);
    OpenWindow();
}

void MainWindowTest::OpenWindow() {
    dialog_ = OpenMainWindow();
    EXPECT_TRUE(LoadFinished(*dialog_));
    word_ = GetDlgItem(dialog_->Hwnd(), IDC_WORD);
    list_ = GetDlgItem(dialog_->Hwnd(), IDC_TRANSLATIONS);
    direction_ = GetDlgItem(dialog_->Hwnd(), IDC_DIRECTION);
    SetFocus(word_);
    PumpFor(0);
}

void MainWindowTest::ReplaceWord(const std::string& text1254) {
    SendMessageW(word_, EM_SETSEL, 0, -1);
    Type(word_, text1254);
}

bool MainWindowTest::ListShown() const {
    return IsWindowVisible(list_) && SendMessageW(list_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

}  // namespace kavrel::test
