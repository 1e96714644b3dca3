// Worker threads through the C runtime's thread start, so the runtime is set up for them;
// an exception that ends a worker's procedure is reported there.
#include "framework/thread.h"

#include <process.h>

#include <memory>

#include "framework/error_report.h"

namespace kavrel::win {
namespace {

// An exception must not leave the thread: it would end the whole process.
unsigned __stdcall ThreadEntry(void* parameter) {
    const std::unique_ptr<std::function<void()>> procedure(static_cast<std::function<void()>*>(parameter));
    try {
        (*procedure)();
        return 0;
    } catch (...) {
        ReportCaughtException(nullptr);
        return 1;
    }
}

}  // namespace

bool WorkerThread::Start(std::function<void()> procedure) {
    auto owned = std::make_unique<std::function<void()>>(std::move(procedure));
    unsigned id = 0;
    const uintptr_t handle = _beginthreadex(nullptr, 0, ThreadEntry, owned.get(), 0, &id);
    if (handle == 0) return false;
    owned.release();  // the thread owns it now
    handle_.Reset(reinterpret_cast<HANDLE>(handle));
    id_ = id;
    return true;
}

bool WorkerThread::Running() const {
    return handle_ && WaitForSingleObject(handle_.Get(), 0) == WAIT_TIMEOUT;
}

bool WorkerThread::WaitForEnd(DWORD milliseconds) const {
    return !handle_ || WaitForSingleObject(handle_.Get(), milliseconds) == WAIT_OBJECT_0;
}

void WorkerThread::PostQuit() const {
    if (id_ != 0) PostThreadMessageW(id_, WM_QUIT, 0, 0);
}

}  // namespace kavrel::win
