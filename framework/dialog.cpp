// The dialog trampoline, data exchange and the dialog's initial control data.
#include "framework/dialog.h"

#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "framework/dialog_template.h"
#include "framework/error_report.h"
#include "framework/message_loop.h"
#include "framework/text.h"
#include "framework/window.h"

namespace kavrel::win {
namespace {

// The live dialogs by window, so the message loop can find the dialog a queued message
// belongs to without trusting a foreign window's user data. One map for the process under
// a lock: a thread_local one, once used on a worker thread (a dialog a worker shows), was seen
// to corrupt the heap when that thread ended (MinGW under Wine).
std::mutex liveDialogsMutex;
std::unordered_map<HWND, Dialog*> liveDialogs;

// Resource type of a dialog's initial control data (the strings of list and combo boxes).
constexpr WORD kDialogInitType = 240;
// The record message for "add this string" in that data.
constexpr WORD kInitAddString = 0x0403;

}  // namespace

void DataExchange::Text(int controlId, std::string& value, size_t maxChars) {
    if (failed_) return;
    const HWND control = dialog_.Item(controlId);
    if (!save_) {
        SetTextIfDifferent(control, value);
        SendMessageW(control, EM_LIMITTEXT, maxChars, 0);
        return;
    }
    value = GetText(control);
    if (value.size() > maxChars) {
        ShowMessageBox(dialog_.Hwnd(),
                       "Please enter no more than " + std::to_string(maxChars) + " characters.",
                       MB_OK | MB_ICONEXCLAMATION);
        SetFocus(control);
        failed_ = true;
    }
}

void DataExchange::Control(int controlId, HWND& control) {
    control = dialog_.Item(controlId);
}

// A window its owner left standing (see DialogPtr) is parted from the object before it is
// destroyed, so none of its last messages reaches a derived part that is already gone.
Dialog::~Dialog() {
    const HWND hwnd = hwnd_;
    if (hwnd == nullptr) return;
    Detach();
    DestroyWindow(hwnd);
}

void Dialog::Destroy() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void Dialog::Detach() {
    {
        std::lock_guard<std::mutex> lock(liveDialogsMutex);
        liveDialogs.erase(hwnd_);
    }
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    hwnd_ = nullptr;
}

bool Dialog::Create(HWND parent) {
    hwnd_ = nullptr;
    CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId_), parent, DialogProc,
                       reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange exchange(*this, saveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

bool Dialog::PreTranslateMessage(MSG& msg) {
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

Dialog* Dialog::FromMessage(const MSG& msg) {
    if (msg.hwnd == nullptr) return nullptr;
    for (HWND window = msg.hwnd; window != nullptr; window = GetParent(window)) {
        {
            std::lock_guard<std::mutex> lock(liveDialogsMutex);
            const auto found = liveDialogs.find(window);
            if (found != liveDialogs.end()) return found->second;
        }
        if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return nullptr;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
                OnOK();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
                OnCancel();
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

BOOL Dialog::OnInitDialog() {
    FillFromInitialData();
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (!modal_) Destroy();
}

INT_PTR Dialog::DoModal(HWND owner) {
    if (owner == nullptr) owner = GetActiveWindow();
    if (owner != nullptr) owner = GetAncestor(owner, GA_ROOT);
    modal_ = true;
    ended_ = false;
    result_ = -1;
    // The owner is disabled first, as the platform's modal dialogs do, so that it is
    // already out of reach while the dialog initialises.
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (!Create(owner)) {
        if (ownerWasEnabled) EnableWindow(owner, TRUE);
        modal_ = false;
        return -1;
    }
    if (!ended_) {
        // A template without WS_VISIBLE is shown here, as the platform's modal loop does.
        if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNORMAL);
        RunModalLoop();
    }
    // The owner is enabled before the dialog goes, so the activation returns to it.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    modal_ = false;
    return result_;
}

void Dialog::RunModalLoop() {
    MSG msg;
    while (!ended_ && hwnd_ != nullptr) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            result_ = IDCANCEL;
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ProcessMessage(msg);
    }
}

// Windows makes a template's font in the character set the template names; Wine makes it in
// the default set, in which a Western system may draw the Turkish letters with wrong glyphs.
// The controls then get the same font in the template's set.
void Dialog::ApplyTemplateCharset() {
    const std::optional<BYTE> charset = TemplateFontCharset(ResourceInstance(), templateId_);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    LOGFONTW logFont;
    if (!charset || font == nullptr || GetObjectW(font, sizeof logFont, &logFont) != sizeof logFont ||
        logFont.lfCharSet == *charset) {
        return;
    }
    logFont.lfCharSet = *charset;
    charsetFont_ = GdiObject<HFONT>(CreateFontIndirectW(&logFont));
    if (charsetFont_.Get() == nullptr) return;
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(charsetFont_.Get()), FALSE);
    }
}

void Dialog::FillFromInitialData() {
    const HINSTANCE instance = ResourceInstance();
    const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(templateId_), MAKEINTRESOURCEW(kDialogInitType));
    if (resource == nullptr) return;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, resource)));
    const DWORD size = SizeofResource(instance, resource);
    if (data == nullptr) return;
    // Records: control id (WORD), message (WORD), length (DWORD), the text's bytes.
    for (DWORD at = 0; at + 8 <= size;) {
        WORD controlId, message;
        DWORD length;
        std::memcpy(&controlId, data + at, 2);
        if (controlId == 0) break;
        std::memcpy(&message, data + at + 2, 2);
        std::memcpy(&length, data + at + 4, 4);
        at += 8;
        if (length > size - at) break;
        std::string text(reinterpret_cast<const char*>(data + at), length);
        at += length;
        text.resize(std::strlen(text.c_str()));  // the record's text carries its terminator
        if (message == kInitAddString) {
            SendDlgItemMessageW(hwnd_, controlId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
        }
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<Dialog*>(lParam);
        dialog->hwnd_ = hwnd;
        std::lock_guard<std::mutex> lock(liveDialogsMutex);
        liveDialogs[hwnd] = dialog;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (dialog == nullptr) return FALSE;
    // An exception must not unwind through the platform's frames: it is reported here, the
    // message gets the default handling and the dialog goes on.
    try {
        if (message == WM_NCDESTROY) {
            dialog->Detach();
            dialog->charsetFont_.Reset();  // the controls that used it are gone
            dialog->PostNcDestroy();
            return FALSE;
        }
        if (message == WM_INITDIALOG) dialog->ApplyTemplateCharset();
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCaughtException(IsWindow(hwnd) ? hwnd : nullptr);
        return FALSE;
    }
}

}  // namespace kavrel::win
