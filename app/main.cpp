// The program's entry point.
#include <windows.h>

#include "app/lookup_app.h"
#include "framework/error_report.h"
#include "framework/system_library.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    kavrel::win::RestrictDllSearchToSystem();  // before anything loads a DLL by name
    try {
        CLookupApp app;
        if (!app.InitInstance(showCommand)) return 1;
        return app.Run();
    } catch (...) {
        kavrel::win::ReportCaughtException(nullptr);
        return 1;
    }
}
