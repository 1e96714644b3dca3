// The application object: starts the main window and runs the message loop.
#pragma once

#include <windows.h>

#include "app/lookup_dlg.h"
#include "framework/dialog.h"

class CLookupApp {
public:
    // Creates and shows the main window; TRUE when the message loop should run. When the
    // window cannot be created the user is told and the result is FALSE.
    BOOL InitInstance(int showCommand);
    // Runs the message loop until the quit message; returns the process's exit code.
    int Run();

private:
    kavrel::win::DialogPtr<CLookupDlg> m_pMainWnd;
};
