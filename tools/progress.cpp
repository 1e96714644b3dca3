// Throttled percent progress on one stderr line.
#include "tools/progress.h"

#include <ostream>

namespace kavrel::tool {

Progress::Progress(std::ostream& log, std::string label)
    : log_(log), label_(std::move(label)), start_(Clock::now()), lastShown_(start_) {}

Progress::~Progress() {
    if (shown_) log_ << '\n';
}

void Progress::Update(size_t done, size_t total) {
    using std::chrono::milliseconds;
    const Clock::time_point now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || (shown_ && now - lastShown_ < milliseconds(250))) return;
    const size_t percent = total == 0 ? 100 : done * 100 / total;
    log_ << '\r' << label_ << ": " << percent << "%" << std::flush;
    lastShown_ = now;
    shown_ = true;
}

}  // namespace kavrel::tool
