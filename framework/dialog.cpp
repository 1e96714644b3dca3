// The dialog trampoline, data exchange and the dialog's initial control data.
#include "framework/dialog.h"

#include <cstring>
#include <unordered_map>

#include "framework/text.h"
#include "framework/window.h"

namespace kavrel::win {
namespace {

// The live dialogs of each thread by window, so the message loop can find the dialog a
// queued message belongs to without trusting a foreign window's user data.
thread_local std::unordered_map<HWND, Dialog*> liveDialogs;

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

Dialog::~Dialog() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
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
    if (msg.hwnd == nullptr || liveDialogs.empty()) return nullptr;
    for (HWND window = msg.hwnd; window != nullptr; window = GetParent(window)) {
        const auto found = liveDialogs.find(window);
        if (found != liveDialogs.end()) return found->second;
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
    if (UpdateData(true)) DestroyWindow(hwnd_);
}

void Dialog::OnCancel() {
    DestroyWindow(hwnd_);
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
        liveDialogs[hwnd] = dialog;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (dialog == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        liveDialogs.erase(hwnd);
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        dialog->hwnd_ = nullptr;
        dialog->PostNcDestroy();
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

}  // namespace kavrel::win
