// Blocking calls that a thread asked to quit can walk away from. A call runs on a helper
// thread while the calling thread waits for it, watching only for a quit message: when
// one comes first, it is posted again for the loops around, and the call is left to
// finish on its own, keeping alive whatever it captured.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "framework/handles.h"

namespace kavrel::win {

// A quit message came while a call was waiting; the call was left behind.
class CallAbandoned : public std::runtime_error {
public:
    CallAbandoned() : std::runtime_error("the thread was asked to quit") {}
};

class InterruptibleCaller {
public:
    InterruptibleCaller();
    // An idle helper is stopped and joined; one still busy with a left call goes on alone.
    ~InterruptibleCaller();
    InterruptibleCaller(const InterruptibleCaller&) = delete;
    InterruptibleCaller& operator=(const InterruptibleCaller&) = delete;

    // Runs call on the helper thread and returns once it has returned. Throws
    // CallAbandoned when a quit message arrives first, and for every call after that.
    // call must own (or share) everything it touches.
    void Run(std::function<void()> call);

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        std::function<void()> job;
        bool stop = false;
        UniqueHandle done;  // auto-reset: set when a job has returned
    };
    static void Serve(const std::shared_ptr<State>& state);

    std::shared_ptr<State> state_;
    std::thread helper_;
    bool abandoned_ = false;
};

}  // namespace kavrel::win
