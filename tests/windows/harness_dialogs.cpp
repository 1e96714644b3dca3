// Finding, answering and driving the program's message boxes and dialogs.
#include "tests/windows/harness_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/window.h"
#include "resources/resource.h"

namespace kavrel::test {
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

MessageBoxCloser::MessageBoxCloser(Offers offers) : offers_(offers), thread_([this] { Watch(); }) {}

MessageBoxCloser::~MessageBoxCloser() {
    stop_ = true;
    thread_.join();
}

std::vector<AnsweredBox> MessageBoxCloser::Boxes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

std::vector<std::string> MessageBoxCloser::Texts() const {
    std::vector<std::string> texts;
    for (const AnsweredBox& box : Boxes()) texts.push_back(box.text);
    return texts;
}

void MessageBoxCloser::Watch() {
    while (!stop_) {
        if (offers_ == Offers::kDecline) {
            if (const HWND offer = FindOfferWindow()) Click(offer, IDC_CANCEL_DOWNLOAD);
        }
        OpenBoxes open;
        EnumWindows(CollectMessageBox, reinterpret_cast<LPARAM>(&open));
        for (const auto& [box, text] : open.boxes) {
            if (std::find(closed_.begin(), closed_.end(), box) != closed_.end()) continue;
            closed_.push_back(box);
            AnsweredBox answered{text, win::GetText(box), IconFlagOf(box)};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                boxes_.push_back(std::move(answered));
            }
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
    std::vector<AnsweredBox> answered;
    {
        const MessageBoxCloser closer;
        action();
        for (AnsweredBox& box : closer.Boxes()) {
            if (box.text == text1254) answered.push_back(std::move(box));
        }
    }
    return answered;
}

}  // namespace kavrel::test
