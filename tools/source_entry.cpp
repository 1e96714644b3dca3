// Parsing of dictd articles and plain source lines into headword and translations.
#include "tools/source_entry.h"

#include <algorithm>
#include <cctype>

namespace kavrel::tool {

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        from = end + 1;
    }
    return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of a leading sense number "12." (with the blanks around it), or 0.
size_t LeadingSenseNumberLength(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t digits = i;
    while (i < line.size() && IsDigit(line[i])) ++i;
    if (i == digits || i >= line.size() || line[i] != '.') return 0;
    ++i;
    if (i < line.size() && !IsBlank(line[i])) return 0;  // "1.5 kg" is no sense number
    while (i < line.size() && IsBlank(line[i])) ++i;
    return i;
}

// Length of a trailing " 2." that some articles put at the end of a translation line to
// open the next sense, or 0.
size_t TrailingSenseNumberLength(std::string_view line) {
    size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) --end;
    if (end == 0 || line[end - 1] != '.') return 0;
    size_t i = end - 1;
    while (i > 0 && IsDigit(line[i - 1])) --i;
    if (i == end - 1) return 0;
    if (i > 0 && !IsBlank(line[i - 1])) return 0;
    return line.size() - i;
}


bool IsOpening(char c) { return c == '(' || c == '[' || c == '{'; }
bool IsClosing(char c) { return c == ')' || c == ']' || c == '}'; }

bool IsCrossReferenceLabel(std::string_view label) { return label == "bak." || label == "bkz." || label == "bak"; }

// Whether a line opens, after blanks, with a cross-reference label such as "(bak.) catch".
// The ")" is looked for only as far as the longest such label reaches: this runs at every
// opening bracket, and a search to the end of the line each time would take quadratic time.
bool OpensWithCrossReference(std::string_view line) {
    constexpr size_t kLongestLabel = 4;
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() != '(') return false;
    const size_t close = line.substr(0, kLongestLabel + 2).find(')');
    return close != std::string_view::npos && IsCrossReferenceLabel(line.substr(1, close - 1));
}

// The line without bracketed parts (nested brackets included; an unclosed bracket removes
// the rest of the line) and cut at a cross-reference written inside it. A stray closing
// bracket between a bracketed part and more text means that part was closed too early
// ("(pl.) teeth) tooth" for "(pl. teeth) tooth"): what lies between them goes too. At the
// end of the line it rather closes a gloss whose opening is missing, and keeps the text.
std::string WithoutBracketedParts(std::string_view line) {
    std::string out;
    int depth = 0;
    size_t afterLastPart = std::string::npos;
    const size_t lastText = line.find_last_not_of(" \t");
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (IsOpening(c)) {
            if (depth == 0 && OpensWithCrossReference(line.substr(i))) break;
            ++depth;
        } else if (IsClosing(c)) {
            const bool stray = depth == 0;
            const bool textFollows = lastText != std::string_view::npos && lastText > i;
            if (stray && textFollows && afterLastPart != std::string::npos) out.resize(afterLastPart);
            if (!stray) --depth;
            out += ' ';  // "a(b)c" must not glue a and c together
            if (!stray && depth == 0) afterLastPart = out.size();
        } else if (depth == 0) {
            out += c;
        }
    }
    return out;
}

// The headword of an article's first line: what precedes the pronunciation and the tags,
// without bracketed labels ("echo (2)", "jail, (ing.) gaol").
std::string HeadwordOfHeadline(std::string_view headline) {
    size_t end = headline.size();
    for (std::string_view marker : {" /", " <"}) {
        const size_t at = headline.find(marker);
        if (at != std::string_view::npos && at < end) end = at;
    }
    return CollapseSpaces(WithoutBracketedParts(headline.substr(0, end)));
}

// Cuts a line at the first sentence end ". " after a letter: in long articles what follows
// is a run-on list of derived phrases with their own translations.
std::string_view BeforeSentenceEnd(std::string_view line) {
    for (size_t at = line.find(". "); at != std::string_view::npos; at = line.find(". ", at + 1)) {
        if (at > 0 && line[at - 1] != '.' && !IsBlank(line[at - 1])) return line.substr(0, at);
    }
    return line;
}

bool IsSeparator(char c) { return c == ',' || c == ';'; }

bool IsRareLabel(std::string_view label) {
    label = TrimBlanks(label);
    if (!label.empty() && label.back() == '.') label.remove_suffix(1);
    for (std::string_view rare : kRareLabels) {
        const bool same = label.size() == rare.size() && std::equal(label.begin(), label.end(), rare.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        });
        if (same) return true;
    }
    return false;
}

// Whether a bracketed part of the line, at its outer level, holds a label of an archaic or
// rare sense, alone or among others ("(zam.), (eski)", "(Rare, Familier)"). Labels past a
// sentence end belong to the run-on phrases that BeforeSentenceEnd leaves out.
bool HasRareLabel(std::string_view line) {
    int depth = 0;
    size_t labelStart = 0;
    char before = ' ';  // the last character outside brackets; a bracketed part counts as a blank
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (depth == 0) {
            const bool sentenceEnd = c == '.' && i + 1 < line.size() && line[i + 1] == ' ';
            if (sentenceEnd && !IsBlank(before) && before != '.') return false;
            if (!IsOpening(c)) before = c;
        }
        if (IsOpening(c) && depth++ == 0) {
            labelStart = i + 1;
        } else if ((IsClosing(c) && depth > 0 && --depth == 0) || (IsSeparator(c) && depth == 1)) {
            if (IsRareLabel(line.substr(labelStart, i - labelStart))) return true;
            labelStart = i + 1;
            if (depth == 0) before = ' ';
        }
    }
    return false;
}

// Splits at "," and ";", trims each piece and its final periods, keeps non-empty pieces,
// each filed under the sense given.
void AppendTranslations(std::string_view text, size_t sense, SourceEntry& out, bool rare = false) {
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = from;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        std::string piece = CollapseSpaces(text.substr(from, end - from));
        while (!piece.empty() && piece.back() == '.') piece.pop_back();
        piece = CollapseSpaces(piece);
        if (!piece.empty()) {
            out.translations.push_back(std::move(piece));
            out.senses.push_back(sense);
            out.rare.push_back(rare);
        }
        from = end + 1;
    }
}

void AppendSenseTranslations(std::string_view firstLine, size_t sense, SourceEntry& out) {
    if (OpensWithCrossReference(firstLine)) return;
    const std::string withoutLabels = WithoutBracketedParts(firstLine);
    AppendTranslations(BeforeSentenceEnd(withoutLabels), sense, out, HasRareLabel(firstLine));
}

}  // namespace

std::string CollapseSpaces(std::string_view text) {
    std::string out;
    bool pendingBlank = false;
    for (char c : TrimBlanks(text)) {
        if (IsBlank(c)) {
            pendingBlank = true;
            continue;
        }
        if (pendingBlank) out += ' ';
        pendingBlank = false;
        out += c;
    }
    return out;
}

SourceEntry ParseDictdArticle(std::string_view article) {
    const std::vector<std::string_view> lines = SplitLines(article);
    SourceEntry entry;
    size_t i = 0;
    while (i < lines.size() && TrimBlanks(lines[i]).empty()) ++i;
    if (i == lines.size()) return entry;
    entry.headword = HeadwordOfHeadline(lines[i]);
    // Walk the senses: only the first line of each holds translations.
    bool expectTranslations = true;
    size_t sense = 0;  // senses that hold translations, counted from 1
    for (++i; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (const size_t number = LeadingSenseNumberLength(line); number > 0) {
            line.remove_prefix(number);
            // A number alone on its line opens a sense made of glosses only.
            expectTranslations = !TrimBlanks(line).empty();
        }
        const size_t trailing = TrailingSenseNumberLength(line);
        line.remove_suffix(trailing);
        if (expectTranslations && !TrimBlanks(line).empty()) {
            AppendSenseTranslations(line, ++sense, entry);
            expectTranslations = false;
        }
        // A trailing number opens a sense whose translation line was this one.
        if (trailing > 0) expectTranslations = false;
    }
    return entry;
}

SourceEntry ParsePlainLine(std::string_view line) {
    size_t split = line.find('\t');
    if (split == std::string_view::npos) split = line.find('|');
    SourceEntry entry;
    if (split == std::string_view::npos) {
        entry.headword = CollapseSpaces(line);
        return entry;
    }
    entry.headword = CollapseSpaces(line.substr(0, split));
    std::string current;
    int depth = 0;
    size_t sense = 1;
    for (char c : line.substr(split + 1)) {
        if (IsOpening(c)) ++depth;
        if (IsClosing(c) && depth > 0) --depth;
        if (IsSeparator(c) && depth == 0) {
            AppendTranslations(current, sense, entry);
            sense += c == ';';
            current.clear();
        } else if (IsSeparator(c)) {
            current += " /";
        } else {
            current += c == '\t' ? ' ' : c;
        }
    }
    AppendTranslations(current, sense, entry);
    return entry;
}

}  // namespace kavrel::tool
