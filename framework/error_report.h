// What the program's entry points (the dialog procedure, the message loop, a thread's start)
// do with an exception that reaches them: tell the user in a message box with the stop
// icon and go on, instead of letting it unwind through the platform into termination.
#pragma once

#include <windows.h>

#include <string>

namespace kavrel::win {

// Call inside a catch block only: shows the exception being handled in a message box with
// the stop icon, owned by owner (may be null). An exception that arrives while this
// thread already shows such a box is not shown again; its own loop may meet the same fault.
void ReportCaughtException(HWND owner) noexcept;

// The text ReportCaughtException shows for the exception being handled.
std::string DescribeCaughtException();

}  // namespace kavrel::win
