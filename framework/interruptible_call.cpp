// The helper thread of InterruptibleCaller and the caller's watchful wait.
#include "framework/interruptible_call.h"

#include <windows.h>

#include <utility>

namespace kavrel::win {
namespace {

// How often a waiting caller looks for a quit message; a call that returns is seen at once.
constexpr DWORD kQuitPollMs = 20;

}  // namespace

InterruptibleCaller::InterruptibleCaller() : state_(std::make_shared<State>()) {
    state_->done.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    std::shared_ptr<State> state = state_;
    helper_ = std::thread([state] { Serve(state); });
}

InterruptibleCaller::~InterruptibleCaller() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stop = true;
    }
    state_->wake.notify_one();
    if (abandoned_) {
        helper_.detach();
    } else {
        helper_.join();
    }
}

void InterruptibleCaller::Serve(const std::shared_ptr<State>& state) {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->wake.wait(lock, [&] { return state->job || state->stop; });
            if (!state->job) return;
            job = std::exchange(state->job, nullptr);
        }
        job();
        job = nullptr;  // what the job captured goes now, on this thread
        SetEvent(state->done.Get());
    }
}

void InterruptibleCaller::Run(std::function<void()> call) {
    if (abandoned_) throw CallAbandoned();
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->job = std::move(call);
    }
    state_->wake.notify_one();
    while (WaitForSingleObject(state_->done.Get(), kQuitPollMs) == WAIT_TIMEOUT) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            abandoned_ = true;
            throw CallAbandoned();
        }
    }
}

}  // namespace kavrel::win
