// Headword and translations of the dictd article formats met in the freedict databases, and
// of plain source lines.
#include <gtest/gtest.h>

#include "tools/source_entry.h"

namespace kavrel::tool {
namespace {

using Rows = std::vector<std::string>;

TEST(DictdArticle, PronunciationAndTagsLeaveTheHeadword) {
    EXPECT_EQ(ParseDictdArticle("Britanya /britanj\xCB\x88" "a/\nBritain, GreatBritain\n").headword, "Britanya");
    EXPECT_EQ(ParseDictdArticle("Braten /br\xCB\x88" "a:t\xC9\x99n/ <m>\nk\xC4\xB1zartma\n").headword, "Braten");
    EXPECT_EQ(ParseDictdArticle("golfe du Mexique /g/ <pn, masc>\nMeksika K\xC3\xB6rfezi\n").headword, "golfe du Mexique");
    EXPECT_EQ(ParseDictdArticle("CEO //'tSeo///\nYKB\n").headword, "CEO");
    EXPECT_EQ(ParseDictdArticle("plain  headword \nx\n").headword, "plain headword");
    EXPECT_EQ(ParseDictdArticle("and/or /x/\ny\n").headword, "and/or");
    EXPECT_EQ(ParseDictdArticle("echo (2) /x/\ny\n").headword, "echo");
    EXPECT_EQ(ParseDictdArticle("jail, (yng.) gaol /x/\ny\n").headword, "jail, gaol");
    EXPECT_EQ(ParseDictdArticle("aaron(s.)rod /x/\ny\n").headword, "aaron rod");
}

TEST(DictdArticle, OneLineOfTranslationsSplitsAtCommasAndSemicolons) {
    const SourceEntry entry = ParseDictdArticle("bro\xC5\x9F\xC3\xBCr /x/\nleaflet, pamphlet;paperback\n");
    EXPECT_EQ(entry.translations, (Rows{"leaflet", "pamphlet", "paperback"}));
    EXPECT_TRUE(ParseDictdArticle("bare headword\n").translations.empty());
    EXPECT_TRUE(ParseDictdArticle("").headword.empty());
}

TEST(DictdArticle, NumberedSensesLoseNumbersLabelsAndRunOnPhrases) {
    const SourceEntry entry = ParseDictdArticle(
        "caulk /k/\n"
        "1. (den.) kalafat etmek, pencere  kenarlar\xC4\xB1n\xC4\xB1 t\xC4\xB1kamak\n"
        "2. buz m\xC4\xB1h\xC4\xB1 \xC3\xA7" "akmak. caulk'er  kalafat\xC3\xA7\xC4\xB1.\n"
        "3. macun.\n");
    EXPECT_EQ(entry.translations,
              (Rows{"kalafat etmek", "pencere kenarlar\xC4\xB1n\xC4\xB1 t\xC4\xB1kamak",
                    "buz m\xC4\xB1h\xC4\xB1 \xC3\xA7" "akmak", "macun"}));
}

TEST(DictdArticle, ALabelOfAnArchaicOrRareSenseMarksItsTranslations) {
    using Marks = std::vector<bool>;
    const struct {
        const char* line;
        Marks expected;
    } cases[] = {
        {"1. (zam.), (eski) (-in hali thy) sen.", {true}},
        {"1. (eski.) (sen) -sin", {true}},
        {"(k. dili) (NAD.) a, b", {true, true}},
        {" [Rare, Familier] mot", {true}},
        {"1. itaatli. your servant (eski) kulunuz", {false}},  // a label of the run-on phrase
        {"1. (eski ismi) Siyam", {false}},
        {"1. a\n2. (raro) b", {false, true}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDictdArticle(std::string("w /w/\n") + c.line + "\n").rare, c.expected) << c.line;
    }
}

TEST(DictdArticle, CrossReferencesAreNoTranslations) {
    EXPECT_TRUE(ParseDictdArticle("caught /k/\n1. (bak.) catch.\n").translations.empty());
    EXPECT_EQ(ParseDictdArticle("a /x/\n1. \xC3\xA7ok k\xC3\xB6t\xC3\xBC, fena (bak.) yeti\n").translations,
              (Rows{"\xC3\xA7ok k\xC3\xB6t\xC3\xBC", "fena"}));
}

TEST(DictdArticle, BracketedSourceGlossesAreLeftOut) {
    EXPECT_EQ(ParseDictdArticle("gosse /g/ <n>\n [Enfant] o\xC4\x9Flan, \xC3\xA7o\xC3\xA7uk\n").translations,
              (Rows{"o\xC4\x9Flan", "\xC3\xA7o\xC3\xA7uk"}));
    EXPECT_EQ(ParseDictdArticle("gorge /g/\n [(Anatomie) Partie, du cou] bo\xC4\x9F" "az\n").translations,
              (Rows{"bo\xC4\x9F" "az"}));
    EXPECT_EQ(ParseDictdArticle("x /x/\n1.  [a ; b] damla\n2.  [c] damla\n").translations, (Rows{"damla", "damla"}));
    EXPECT_EQ(ParseDictdArticle("x /x/\nkazan (b\xC3\xBCy\xC3\xBCk)su\n").translations, (Rows{"kazan su"}));
    EXPECT_TRUE(ParseDictdArticle("x /x/\n(unclosed, label\n").translations.empty());
    // A part closed too early takes what follows it up to the stray bracket along.
    EXPECT_EQ(ParseDictdArticle("tooth /t/\n1. (\xC3\xA7o\xC4\x9F.) teeth)  di\xC5\x9F\n").translations,
              (Rows{"di\xC5\x9F"}));
    EXPECT_EQ(ParseDictdArticle("x /x/\n1. (pl.) a, b) c, d\n").translations, (Rows{"c", "d"}));
    EXPECT_EQ(ParseDictdArticle("x /x/\n1. as, birli oyunda) kart\n").translations, (Rows{"as", "birli oyunda kart"}));
    EXPECT_EQ(ParseDictdArticle("x /x/\n1. (anat.) sinir v.b.)\n").translations, (Rows{"sinir v.b"}));
}

TEST(DictdArticle, LinesAfterASensesFirstAreSourceLanguageGlosses) {
    EXPECT_EQ(ParseDictdArticle("centralino //x// <n>\noperat\xC3\xB6r\noperatore\n").translations,
              (Rows{"operat\xC3\xB6r"}));
    EXPECT_EQ(ParseDictdArticle("ceppo //x// <n>\n1. ada\nper decapitazioni\n2. dize\nstirpe, lignaggio\n").translations,
              (Rows{"ada", "dize"}));
}

TEST(DictdArticle, ATrailingSenseNumberOpensSensesWithGlossesOnly) {
    const SourceEntry entry = ParseDictdArticle(
        "sanguinare //x// <v>\nkanamak 2.\ncausare  dolore\n 3.\nperdere sangue\n");
    EXPECT_EQ(entry.translations, (Rows{"kanamak"}));
    // A decimal number is no sense number.
    EXPECT_EQ(ParseDictdArticle("x /x/\n1.5 kilo\n").translations, (Rows{"1.5 kilo"}));
}

// The sense of each translation ranks it: numbered senses, a glosses-only sense that is not
// counted, and ";" opening a new sense in a plain line.
TEST(SourceEntrySenses, EveryTranslationKnowsItsSense) {
    using Senses = std::vector<size_t>;
    EXPECT_EQ(ParseDictdArticle("house /h/\n1. ev, mesken\n2. aile\n").senses, (Senses{1, 1, 2}));
    EXPECT_EQ(ParseDictdArticle("x /x/\n1.\nglosses only\n2. a, b\n3. c\n").senses, (Senses{1, 1, 2}));
    EXPECT_EQ(ParseDictdArticle("x /x/\na, b\n").senses, (Senses{1, 1}));
    EXPECT_EQ(ParsePlainLine("ev\thome, house; dwelling").senses, (Senses{1, 1, 2}));
}

TEST(PlainLine, TabOrBarSeparatesTheHeadword) {
    const SourceEntry tab = ParsePlainLine("ev\thome ; house,  dwelling ");
    EXPECT_EQ(tab.headword, "ev");
    EXPECT_EQ(tab.translations, (Rows{"home", "house", "dwelling"}));
    const SourceEntry bar = ParsePlainLine("a|b|c\tx");  // the tab wins over the bars
    EXPECT_EQ(bar.headword, "a|b|c");
    EXPECT_EQ(bar.translations, (Rows{"x"}));
    EXPECT_EQ(ParsePlainLine("su|water, aqua").translations, (Rows{"water", "aqua"}));
    const SourceEntry bare = ParsePlainLine("no separator");
    EXPECT_EQ(bare.headword, "no separator");
    EXPECT_TRUE(bare.translations.empty());
}

TEST(PlainLine, SeparatorsInsideBracketsKeepTheTranslationWhole) {
    EXPECT_EQ(ParsePlainLine("kazan\tboiler (big, iron; old), pot").translations,
              (Rows{"boiler (big / iron / old)", "pot"}));
    EXPECT_EQ(ParsePlainLine("x\t[a,b] c").translations, (Rows{"[a /b] c"}));
    EXPECT_EQ(ParsePlainLine("x\tstray) a, b").translations, (Rows{"stray) a", "b"}));
    EXPECT_TRUE(ParsePlainLine("x\t , ;").translations.empty());
}

}  // namespace
}  // namespace kavrel::tool
