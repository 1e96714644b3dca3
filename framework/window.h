// Small window chores, each with one job, in the program's Windows-1254 text.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kavrel::win {

// The window's text (caption or control text) as 1254 bytes.
std::string GetText(HWND window);
// Sets the window's text.
void SetText(HWND window, std::string_view text);
// Sets the text only when it differs, so an edit control sends a change notification
// only for a real change; returns true when it set it.
bool SetTextIfDifferent(HWND window, std::string_view text);

// The text of a combo box's item; "" for an index that is no item.
std::string ComboItemText(HWND combo, int index);

// A message box owned by owner (may be null), captioned with the application's title.
int ShowMessageBox(HWND owner, std::string_view text, UINT flags);

// The executable's base name without directory and extension: the application's title.
std::string ApplicationTitle();

// The module that holds the program's resources.
HINSTANCE ResourceInstance();

// The local time as "%Y%m%d%H%M": twelve digits.
std::string LocalTimeStamp();

}  // namespace kavrel::win
