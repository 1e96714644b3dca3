// Turning one source entry into a headword and its translations (still UTF-8): the dictd
// article formats of the freedict databases, and the plain "headword<TAB>translations" line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavrel::tool {

struct SourceEntry {
    std::string headword;
    std::vector<std::string> translations;
    std::vector<size_t> senses;  // the sense of each translation, counted from 1 in the entry
    std::vector<bool> rare;      // of a dictd article: its sense is labelled archaic or rare
};

// A dictd article: the first line is the headword, optionally followed by a pronunciation
// ("/.../" or "//...//") and part-of-speech tags ("<n, masc>"), which are left out with any
// bracketed label in the headword ("echo (2)"). The
// other lines hold senses, numbered ("1. ...") or not. The first line of a sense holds its
// translations; further lines of the sense are glosses in the source language and are left
// out, as are bracketed labels and glosses ("(bot.)", "[Sport]"), cross-references
// ("(bak.) catch") and run-on derived phrases after a sentence end. Translations are split
// at "," and ";"; the senses that hold translations are counted from 1. A sense with a
// bracketed label of RareLabels is marked rare, each of its translations with it.
SourceEntry ParseDictdArticle(std::string_view article);

// The labels of archaic or rare senses in the sources: gtksozluk's "(eski)" and "(nad.)",
// WikDict's "(Vieilli)", "(Rare)" and "(raro)"; compared without the final period and, for
// ASCII letters, without case.
inline constexpr std::string_view kRareLabels[] = {"eski", "nad", "vieilli", "rare", "raro"};

// A plain line: the headword up to the first TAB (or, without any TAB, the first "|", as
// exported), then translations separated by "," or ";" (which also starts a new sense). A
// separator inside brackets does not split: it becomes " /", so "(a, b)" stays one
// translation "(a / b)". Whitespace collapses.
SourceEntry ParsePlainLine(std::string_view line);

// Runs of blanks and tabs made one blank, and both ends trimmed.
std::string CollapseSpaces(std::string_view text);

}  // namespace kavrel::tool
