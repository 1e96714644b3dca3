// Start-up: the three-dimensional control look, the main window, the message loop.
#include "app/lookup_app.h"

#include "framework/handles.h"
#include "framework/message_loop.h"

namespace {

// Old systems give dialogs their raised look through CTL3D32.DLL; where it is present it
// is registered for this process, elsewhere the templates' 3-D style does the work.
void EnableThreeDimensionalLook() {
    static kavrel::win::UniqueModule ctl3d(LoadLibraryW(L"CTL3D32.DLL"));
    if (ctl3d.Get() == nullptr) return;
    using Ctl3dCall = BOOL(WINAPI*)(HINSTANCE);
    const auto registerLook = reinterpret_cast<Ctl3dCall>(reinterpret_cast<void (*)()>(GetProcAddress(ctl3d.Get(), "Ctl3dRegister")));
    const auto autoSubclass = reinterpret_cast<Ctl3dCall>(reinterpret_cast<void (*)()>(GetProcAddress(ctl3d.Get(), "Ctl3dAutoSubclass")));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (registerLook != nullptr && registerLook(instance) && autoSubclass != nullptr) autoSubclass(instance);
}

}  // namespace

BOOL CLookupApp::InitInstance(int showCommand) {
    EnableThreeDimensionalLook();
    m_pMainWnd = std::make_unique<CLookupDlg>(nullptr);
    ShowWindow(m_pMainWnd->Hwnd(), showCommand);
    return TRUE;
}

int CLookupApp::Run() {
    const int exitCode = kavrel::win::RunMessageLoop();
    m_pMainWnd.reset();
    return exitCode;
}
