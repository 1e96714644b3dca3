// Handing a document or an address to the shell, to open with its default action.
#pragma once

#include <functional>
#include <string>

namespace kavrel::win {

// Asks the shell to open target (a file path or an address) with its default action, no
// parameters, no working directory, the normal show state. Returns the shell's result:
// greater than 32 on success, 32 or less on failure.
int ShellOpen(const std::string& target);

// Replaces what ShellOpen does, so a test can see what would be opened without starting
// a browser or a help viewer; an empty function restores the real shell.
void SetShellOpenForTesting(std::function<int(const std::string&)> replacement);

}  // namespace kavrel::win
