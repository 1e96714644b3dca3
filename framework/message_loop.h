// The thread's message loop: every queued message passes its dialog's PreTranslateMessage
// before it is translated and dispatched.
#pragma once

#include <windows.h>

namespace kavrel::win {

// Runs until the quit message arrives; returns its exit code.
int RunMessageLoop();

// Hands one message taken from the queue to its dialog, then translates and dispatches it.
void ProcessMessage(MSG& msg);

// Processes the messages waiting now, without waiting for more; false when a quit message
// was among them (its exit code goes to *exitCode when given).
bool PumpWaitingMessages(int* exitCode = nullptr);

}  // namespace kavrel::win
