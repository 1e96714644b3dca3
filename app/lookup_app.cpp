// Start-up: the three-dimensional control look, the main window, the message loop.
#include "app/lookup_app.h"

#include "framework/handles.h"
#include "framework/message_loop.h"
#include "framework/system_library.h"
#include "framework/window.h"

namespace {

constexpr std::string_view kMainWindowFailed = "The main window could not be created.";

// Old systems give dialogs their raised look through CTL3D32.DLL; where the system has it
// it is registered for this process, elsewhere the templates' 3-D style does the work.
void EnableThreeDimensionalLook() {
    static kavrel::win::UniqueModule ctl3d(kavrel::win::LoadSystemLibrary(L"CTL3D32.DLL"));
    if (ctl3d.Get() == nullptr) return;
    using Ctl3dCall = BOOL(WINAPI*)(HINSTANCE);
    const auto registerLook = reinterpret_cast<Ctl3dCall>(reinterpret_cast<void (*)()>(GetProcAddress(ctl3d.Get(), "Ctl3dRegister")));
    const auto autoSubclass = reinterpret_cast<Ctl3dCall>(reinterpret_cast<void (*)()>(GetProcAddress(ctl3d.Get(), "Ctl3dAutoSubclass")));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (registerLook != nullptr && registerLook(instance) && autoSubclass != nullptr) autoSubclass(instance);
}

}  // namespace

// Without its window the program could only wait, unseen, for a quit that never comes.
BOOL CLookupApp::InitInstance(int showCommand) {
    EnableThreeDimensionalLook();
    m_pMainWnd = kavrel::win::MakeDialog<CLookupDlg>(nullptr);
    if (m_pMainWnd->Hwnd() == nullptr) {
        m_pMainWnd.reset();
        kavrel::win::ShowMessageBox(nullptr, kMainWindowFailed, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    ShowWindow(m_pMainWnd->Hwnd(), showCommand);
    return TRUE;
}

int CLookupApp::Run() {
    const int exitCode = kavrel::win::RunMessageLoop();
    m_pMainWnd.reset();
    return exitCode;
}
