// A worker thread running one procedure; the owner can wait for it with a bound and wake
// a modal loop on it.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/handles.h"

namespace kavrel::win {

class WorkerThread {
public:
    WorkerThread() = default;
    // Starts procedure at once, normal priority, default stack. False when the thread
    // could not be started (the procedure then never runs).
    bool Start(std::function<void()> procedure);

    DWORD Id() const { return id_; }
    bool Running() const;
    // Waits at most milliseconds for the thread's end; true when it has ended.
    bool WaitForEnd(DWORD milliseconds) const;
    // Posts the quit message to the thread, which ends a message box or dialog it shows.
    void PostQuit() const;

private:
    UniqueHandle handle_;
    DWORD id_ = 0;
};

}  // namespace kavrel::win
