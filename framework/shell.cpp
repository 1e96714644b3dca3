// The shell's open through the W function, the target converted from 1254 at the boundary.
#include "framework/shell.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

#include "framework/text.h"

namespace kavrel::win {
namespace {

std::function<int(const std::string&)>& Replacement() {
    static std::function<int(const std::string&)> replacement;
    return replacement;
}

}  // namespace

int ShellOpen(const std::string& target) {
    if (Replacement()) return Replacement()(target);
    const HINSTANCE result = ShellExecuteW(nullptr, nullptr, Widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

void SetShellOpenForTesting(std::function<int(const std::string&)> replacement) {
    Replacement() = std::move(replacement);
}

}  // namespace kavrel::win
