// Lenient UTF-8 -> Windows-1254 conversion with transliteration of Latin letters.
#include "tools/convert.h"

#include <algorithm>
#include <iterator>

#include "core/cp1254.h"
#include "tools/convert_tables.h"

namespace kavrel::tool {

namespace {

using convert_tables::Composition;
using convert_tables::kCompositions;
using convert_tables::kLatinLetters;
using convert_tables::kPunctuation;
using convert_tables::Transliteration;

constexpr bool IsCombiningMark(char32_t cp) {
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) || (cp >= 0x1DC0 && cp <= 0x1DFF) ||
           (cp >= 0x20D0 && cp <= 0x20FF) || (cp >= 0xFE20 && cp <= 0xFE2F);
}

// What the tables must keep, checked when this file compiles: the transliterations are
// found by binary search, and whatever a table writes must be a character 1254 defines.
template <size_t N>
constexpr bool SortedWithoutRepeats(const Transliteration (&table)[N]) {
    for (size_t i = 1; i < N; ++i) {
        if (table[i - 1].codePoint >= table[i].codePoint) return false;
    }
    return true;
}

template <size_t N>
constexpr bool SortedWithoutRepeats(const Composition (&table)[N]) {
    for (size_t i = 1; i < N; ++i) {
        const Composition& a = table[i - 1];
        const Composition& b = table[i];
        if (a.base > b.base || (a.base == b.base && a.mark >= b.mark)) return false;
    }
    return true;
}

// Each key is a character 1254 lacks (the converter never looks up the others) and each
// replacement is a non-empty run of characters 1254 holds.
template <size_t N>
constexpr bool ReplacesOnlyWith1254(const Transliteration (&table)[N]) {
    for (const Transliteration& t : table) {
        if (Cp1254Holds(t.codePoint) || t.replacement == nullptr || t.replacement[0] == 0) return false;
        for (const char32_t* p = t.replacement; *p != 0; ++p) {
            if (!Cp1254Holds(*p)) return false;
        }
    }
    return true;
}

template <size_t N>
constexpr bool ComposesOnly1254(const Composition (&table)[N]) {
    for (const Composition& c : table) {
        if (!Cp1254Holds(c.base) || !Cp1254Holds(c.composed) || !IsCombiningMark(c.mark)) return false;
    }
    return true;
}

static_assert(SortedWithoutRepeats(kLatinLetters), "kLatinLetters: out of order or a key twice");
static_assert(SortedWithoutRepeats(kPunctuation), "kPunctuation: out of order or a key twice");
static_assert(SortedWithoutRepeats(kCompositions), "kCompositions: out of order or a pair twice");
static_assert(ReplacesOnlyWith1254(kLatinLetters), "kLatinLetters: a key 1254 holds or a replacement it lacks");
static_assert(ReplacesOnlyWith1254(kPunctuation), "kPunctuation: a key 1254 holds or a replacement it lacks");
static_assert(ComposesOnly1254(kCompositions), "kCompositions: a letter 1254 lacks or not a combining mark");

template <size_t N>
const char32_t* FindReplacement(const Transliteration (&table)[N], char32_t codePoint) {
    const auto* found = std::lower_bound(std::begin(table), std::end(table), codePoint,
                                         [](const Transliteration& t, char32_t cp) { return t.codePoint < cp; });
    return found != std::end(table) && found->codePoint == codePoint ? found->replacement : nullptr;
}

std::optional<char32_t> Compose(char32_t base, char32_t mark) {
    for (const Composition& c : kCompositions) {
        if (c.base == base && c.mark == mark) return c.composed;
    }
    return std::nullopt;
}

bool IsUnicodeSpace(char32_t cp) {
    return cp == '\t' || cp == '\v' || cp == '\f' || cp == 0x00A0 || (cp >= 0x2000 && cp <= 0x200A) ||
           cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

// Builds the output one code point at a time, remembering the last letter written so a
// following combining mark can merge into it.
class Converter {
public:
    explicit Converter(ConversionCounts& counts) : counts_(counts) {}

    void Add(char32_t cp) {
        if (IsUnicodeSpace(cp)) return Put(' ', ' ');
        if (IsControl(cp)) return Drop();
        if (IsCombiningMark(cp)) return AddMark(cp);
        if (const int byte = UnicodeToCp1254(cp); byte >= 0) return Put(static_cast<char>(byte), cp);
        const std::string replacement = TransliterationOf(cp);
        if (replacement.empty()) return Drop();
        ++counts_.transliterated;
        out_ += replacement;
        last_ = 0;
    }

    void Drop() {
        ++counts_.dropped;
        last_ = 0;
    }

    std::string Take() { return std::move(out_); }

private:
    void Put(char byte, char32_t cp) {
        out_ += byte;
        last_ = cp;
    }

    void AddMark(char32_t mark) {
        const auto composed = last_ == 0 ? std::nullopt : Compose(last_, mark);
        if (!composed) return Drop();
        out_.back() = static_cast<char>(UnicodeToCp1254(*composed));
        last_ = *composed;
    }

    ConversionCounts& counts_;
    std::string out_;
    char32_t last_ = 0;  // code point of the last byte written, 0 after anything else
};

}  // namespace

std::optional<size_t> FindMalformedUtf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        if (DecodeUtf8(text, pos) < 0) return start;
    }
    return std::nullopt;
}

std::string TransliterationOf(char32_t codePoint) {
    const char32_t* replacement = FindReplacement(kLatinLetters, codePoint);
    if (replacement == nullptr) replacement = FindReplacement(kPunctuation, codePoint);
    std::string bytes;
    for (const char32_t* p = replacement; p != nullptr && *p != 0; ++p) {
        bytes += static_cast<char>(UnicodeToCp1254(*p));
    }
    return bytes;
}

std::string ConvertUtf8To1254Lenient(std::string_view utf8, ConversionCounts& counts) {
    Converter converter(counts);
    for (size_t pos = 0; pos < utf8.size();) {
        const long cp = DecodeUtf8(utf8, pos);
        if (cp < 0) {
            converter.Drop();
            ++pos;
            continue;
        }
        converter.Add(static_cast<char32_t>(cp));
    }
    return converter.Take();
}

}  // namespace kavrel::tool
