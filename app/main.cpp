// The program's entry point.
#include <windows.h>

#include "app/lookup_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    CLookupApp app;
    if (!app.InitInstance(showCommand)) return 0;
    return app.Run();
}
