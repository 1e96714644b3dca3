// The order of an entry's translations and the noise left out of it. Translations from a
// source that has the headword come first, in that source's order of articles and senses
// (a source whose senses follow no order gives each article as one sense). Translations
// found by reversing a foreign-to-Turkish source follow, ranked by the sense of the foreign
// word's entry that gives the Turkish word (the first sense is the primary one), then by how
// common the foreign word is, then by the Turkish word's place in that entry, then by their
// bytes. Synonyms of one sense are equals in a source (many list them alphabetically), so
// within a sense of a direct source the rows that pivot languages give come first, then
// those a reversed source gives in a better sense of the foreign word, then the more common.
// Before all that, a reversed row counts its independent witnesses: the reversed source and
// each pivot language that gives it too; more witnesses rank first. A row that only pivot
// languages give needs two of them, and follows the reversed rows with as many witnesses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/commonness.h"

namespace kavrel::tool {

// How the translations' language uses capital letters, which decides what a capital means.
enum class CaseRule {
    kNouns,         // German: every noun is capitalised, so a capital says nothing (the default)
    kProperWords,   // English: names, and also months, days, nationalities and languages
    kNamesOnly,     // French, Italian: only names, as in Turkish
};

// A translation of a single word with more words than this is a phrase or a sentence that a
// source split at its commas ("Baba, Oğul ve Kutsal Ruh adına"), not the word's translation.
inline constexpr size_t kMostWordsForOneWord = 4;

struct DirectTranslation {
    std::string text;
    size_t sense = 0;  // the article and sense it came from, numbered in the order seen
    CommonnessScore commonness;
    size_t pivots = 0;  // pivot languages that give it too: within a sense they outweigh commonness
    // The sense of the foreign entry in which a reversed source gives the headword for it too
    // (see ReversedTranslation), 0 for none: within a sense and after the pivots, a row whose
    // foreign word has the headword as a primary sense comes first ("take" before "have").
    size_t reversedSense = 0;
};

struct ReversedTranslation {
    std::string text;           // the foreign headword (1254)
    size_t sense = 0;           // 1-based sense of that foreign entry giving the Turkish word
    size_t position = 0;        // 1-based place of the Turkish word in that foreign entry
    bool viaMainForm = true;    // it came through the headword's main form (see below)
    CommonnessScore commonness;
    size_t pivots = 0;          // pivot languages that give it too (triangulation.h)
    bool rare = false;          // the foreign entry labels that sense archaic or rare
};

// A row no source gives, found through pivot languages; it needs this many of them.
inline constexpr size_t kLeastPivotsAlone = 2;

struct TriangulatedTranslation {
    std::string text;
    size_t pivots = 0;
    CommonnessScore commonness;
};

struct RankingInput {
    std::vector<DirectTranslation> direct;      // in the order seen, no exact duplicates
    std::vector<ReversedTranslation> reversed;  // any order; texts distinct
    // The form most sources write the Turkish word in is lower case: a common word. Turkish
    // capitalises names, nationalities and languages, so "Deniz" (a name) and "deniz" (sea),
    // or "Mısır" (Egypt) and "mısır" (maize), share one entry; the main form's rows lead.
    bool lowerCaseHeadword = true;
    bool oneWordHeadword = true;
    CaseRule caseRule = CaseRule::kNouns;
    std::vector<TriangulatedTranslation> triangulated = {};  // texts distinct from all other rows
};

// The rows of the entry, best first: direct rows; reversed rows that came through the main
// form, by witnesses, with the rows of at least kLeastPivotsAlone pivot languages after the
// reversed rows with as many witnesses (more pivots first, then the more common); then
// reversed rows of archaic or rare senses; then reversed rows that came only through the
// other form. A reversed or pivot row is noise when
// it is a phrase in a single word's entry, or (kNamesOnly) is capitalised in a common word's
// entry: a name or a capitalised form; noise is left out when the entry keeps any other row. Rows that differ
// only in letter case become one, at the better rank: a direct row keeps its form; of two
// reversed ones English keeps the capitalised form, French and Italian the form whose case
// matches the headword's, German the better ranked.
std::vector<std::string> RankTranslations(RankingInput input);

// True when the first letter of a 1254 text is a capital (the dotted capital I included).
bool StartsWithCapital1254(std::string_view text);

// The words of a text up to its first " / " (which joins the spellings of one translation).
size_t WordCount(std::string_view text);

}  // namespace kavrel::tool
