// Loading DLLs from the system directory only. A program started from a downloads folder
// would otherwise look for a DLL there too (beside the program, and in the current
// directory), and a file planted under the DLL's name would run inside the process.
#pragma once

#include <windows.h>

namespace kavrel::win {

// Restricts every later DLL search of this process to the system directory. Call first
// thing at start. Where the system lacks that restriction, the current directory at least
// leaves the search.
void RestrictDllSearchToSystem();

// Loads the DLL name (a bare file name) from the system directory, or nothing when it is not
// there. The caller owns the module (framework/handles.h UniqueModule).
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace kavrel::win
