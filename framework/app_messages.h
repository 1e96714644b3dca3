// Every private window message the program posts, in one place with its meaning.
#pragma once

#include <windows.h>

namespace kavrel::win {

// Loader -> main window: the load's percentage changed; wParam is the new percentage,
// lParam the load's id.
inline constexpr UINT kMsgLoadProgress = WM_APP + 1;
// Loader -> main window: the load has ended and its table is ready; lParam is the load's id.
inline constexpr UINT kMsgLoadDone = WM_APP + 2;

}  // namespace kavrel::win
