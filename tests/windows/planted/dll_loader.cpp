// Loads the DLL named on its command line by that bare name: with the platform's default
// search, as a program that trusts it would (the proof that a planted DLL is found and
// leaves its marker), or, given --restricted first, after restricting the search as the
// program does at start.
#include <windows.h>

#include <string>

#include "framework/system_library.h"

int wmain(int argc, wchar_t** argv) {
    const bool restricted = argc == 3 && std::wstring(argv[1]) == L"--restricted";
    if (argc != 2 && !restricted) return 2;
    if (restricted) kavrel::win::RestrictDllSearchToSystem();
    return LoadLibraryW(argv[argc - 1]) != nullptr ? 0 : 1;
}
