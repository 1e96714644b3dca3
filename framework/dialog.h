// Dialogs from resource templates, modeless or modal: one trampoline stores the object with
// the window and forwards every message to its HandleMessage; data exchange moves texts
// between controls and members; the message loop (the program's, or the modal loop here)
// hands them their keys through PreTranslateMessage.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "framework/handles.h"

namespace kavrel::win {

class Dialog;

// One pass of data exchange: towards the controls (save == false) or into the members
// (save == true), stopping at the first value that fails its validation.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool save) : dialog_(dialog), save_(save) {}

    bool Saving() const { return save_; }
    bool Failed() const { return failed_; }

    // A text bound to an edit control, at most maxChars characters: moving towards the
    // control sets the control's limit; moving into the member rejects a longer text with
    // the validation message and leaves the focus in the control.
    void Text(int controlId, std::string& value, size_t maxChars);
    // A control bound to a handle member.
    void Control(int controlId, HWND& control);

private:
    Dialog& dialog_;
    bool save_;
    bool failed_ = false;
};

class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window from the template at once (modeless); OnInitDialog runs inside.
    bool Create(HWND parent);
    // Destroys a modeless dialog's window now, while the whole object still handles its
    // last messages; nothing when the window is gone already. A modeless dialog's owner
    // does this before the object goes (DialogPtr does it for them).
    void Destroy();

    // Runs the dialog modally on the calling thread: the owner (by default the thread's
    // active window) is disabled, a loop of its own runs until EndDialog, then the window
    // is destroyed and the owner enabled again. Returns EndDialog's result, or -1 when
    // the window could not be created. A quit message ends the loop with IDCANCEL and is
    // posted again, so the loops around it end too.
    INT_PTR DoModal(HWND owner = nullptr);
    // Ends the dialog with result: a modal dialog's loop ends; a modeless window is
    // destroyed.
    void EndDialog(INT_PTR result);
    bool IsModal() const { return modal_; }

    HWND Hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // Moves data between the controls and the members; false when a validation failed.
    bool UpdateData(bool saveAndValidate);

    // Sees every queued message for this dialog or its controls before it is translated
    // and dispatched; true means consumed. The default gives the dialog keyboard handling.
    virtual bool PreTranslateMessage(MSG& msg);

    // The dialog whose window (or one of whose controls) receives msg, when it is a live
    // dialog of this thread.
    static Dialog* FromMessage(const MSG& msg);

protected:
    // One switch over the dialog's messages; returns what a dialog procedure returns
    // (FALSE for the default handling).
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void DoDataExchange(DataExchange&) {}
    // Fills controls from the template's initial data, then moves the members to the
    // controls. Returns TRUE to let the platform place the focus.
    virtual BOOL OnInitDialog();
    // The OK and Cancel commands (Enter, Escape, the close box); both end the dialog,
    // with IDOK and IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();
    // The window is gone; the object may now be released.
    virtual void PostNcDestroy() {}

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Parts the window from the object: later messages get the default handling.
    void Detach();
    void ApplyTemplateCharset();
    void FillFromInitialData();
    void RunModalLoop();

    int templateId_;
    HWND hwnd_ = nullptr;
    GdiObject<HFONT> charsetFont_;  // the controls' font, when the platform's lacked the charset
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
};

// Owns a modeless dialog and destroys its window before the object: a destructor runs
// from the derived class down, so a window destroyed by Dialog's own destructor would
// send its last messages (WM_DESTROY) to an object whose derived part is already gone.
struct DialogDeleter {
    void operator()(Dialog* dialog) const {
        dialog->Destroy();
        delete dialog;
    }
};
template <class D>
using DialogPtr = std::unique_ptr<D, DialogDeleter>;

// Makes a modeless dialog (its constructor creates the window) owned by a DialogPtr.
template <class D, class... Args>
DialogPtr<D> MakeDialog(Args&&... args) {
    return DialogPtr<D>(std::make_unique<D>(std::forward<Args>(args)...).release());
}

}  // namespace kavrel::win
