// Progress on stderr for work that runs longer than a second; quick runs print nothing.
#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

namespace kavrel::tool {

class Progress {
public:
    using Clock = std::chrono::steady_clock;

    Progress(std::ostream& log, std::string label);
    ~Progress();

    // Reports done out of total, at most a few times a second and only after the first second.
    void Update(size_t done, size_t total);

private:
    std::ostream& log_;
    std::string label_;
    Clock::time_point start_;
    Clock::time_point lastShown_;
    bool shown_ = false;
};

}  // namespace kavrel::tool
