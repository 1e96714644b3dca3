// UTF-8 source text to Windows-1254 for imports: what the code page holds is kept, a Latin
// letter it lacks loses its diacritics (ā -> a, ł -> l, ő -> o), anything else is dropped,
// and every such change is counted for the report.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kavrel::tool {

struct ConversionCounts {
    size_t transliterated = 0;  // characters replaced by a Latin form
    size_t dropped = 0;         // characters left out
};

// The byte offset of the first malformed UTF-8 sequence, if any.
std::optional<size_t> FindMalformedUtf8(std::string_view text);

// The 1254 form of a code point that 1254 cannot hold ("" when there is none). Letters
// become their base letter, keeping a 1254 letter where one exists (ǘ -> ü).
std::string TransliterationOf(char32_t codePoint);

// Converts UTF-8 to 1254, adding to counts. A combining mark joins the letter before it
// when 1254 has the composed letter (e + U+0301 -> é), and is dropped otherwise. Control
// characters are dropped; tab and the Unicode spaces become a blank. Malformed bytes are
// dropped one by one (callers check with FindMalformedUtf8 first to report them).
std::string ConvertUtf8To1254Lenient(std::string_view utf8, ConversionCounts& counts);

}  // namespace kavrel::tool
