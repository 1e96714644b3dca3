// The translation list under the word box: a zero-width drop-down combo box whose list
// shows the rows of one entry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kavrel {

// Fills the list with rows, in their order, sets its dropped width to the widest row plus
// 40 pixels, drops it down and shows it. The keyboard focus stays where it is. No row is
// selected.
void ShowTranslationList(HWND list, const std::vector<std::string>& rows);

// Closes the drop-down and hides the list; its rows stay until the next fill.
void HideTranslationList(HWND list);

bool IsTranslationListDropped(HWND list);

}  // namespace kavrel
