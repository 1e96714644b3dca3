// The translation list under the word box: a zero-width drop-down combo box whose list
// shows the rows of one entry.
#pragma once

#include <windows.h>

#include <string_view>

namespace kavrel {

// Fills the list with the rows of translations (split at "," and ";", trimmed), sets its
// dropped width to the widest row plus 40 pixels, drops it down and shows it. The keyboard
// focus stays where it is. No row is selected.
void ShowTranslationList(HWND list, std::string_view translations);

// Closes the drop-down and hides the list; its rows stay until the next fill.
void HideTranslationList(HWND list);

bool IsTranslationListDropped(HWND list);

}  // namespace kavrel
