// The one error type of the tool: a message for the user that already names the file and
// the place; main prints it and exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

namespace kavrel::tool {

class ToolError : public std::runtime_error {
public:
    explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kavrel::tool
