// Reading what a dialog template itself says, for the cases the platform leaves to us.
#pragma once

#include <windows.h>

#include <optional>

namespace kavrel::win {

// The character set of the font an extended dialog template names; nothing for a template
// without a font or one that cannot be read.
std::optional<BYTE> TemplateFontCharset(HINSTANCE instance, int templateId);

}  // namespace kavrel::win
