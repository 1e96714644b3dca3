// The order of an entry's translations, the noise left out of reversals, how common a word
// is, and the first-row rating of a data file.
#include <gtest/gtest.h>

#include <tuple>

#include "tools/commonness.h"
#include "tools/dictionary_builder.h"
#include "tools/rate.h"
#include "tools/tool_error.h"
#include "tools/translation_ranking.h"
#include "tools/triangulation.h"

namespace kavrel::tool {
namespace {

using Rows = std::vector<std::string>;

ReversedTranslation Reversed(std::string text, size_t sense, size_t position, uint32_t common = 0,
                             bool viaMainForm = true) {
    return {std::move(text), sense, position, viaMainForm, {common, 0}};
}

DirectTranslation Direct(std::string text, size_t sense, uint32_t common = 0) {
    return {std::move(text), sense, {common, 0}};
}

ReversedTranslation Witnessed(std::string text, size_t sense, size_t pivots, bool viaMainForm = true,
                              bool rare = false) {
    ReversedTranslation row = Reversed(std::move(text), sense, 1, 0, viaMainForm);
    row.pivots = pivots;
    row.rare = rare;
    return row;
}

struct RankingCase {
    const char* name;
    RankingInput input;
    Rows expected;
};

TEST(TranslationRanking, OrderAndNoise) {
    const RankingCase cases[] = {
        {"direct rows first, by sense; within a sense the more common one",
         {{Direct("Frühe", 1), Direct("Morgen", 1, 9), Direct("Vormittag", 2, 99)}, {Reversed("morgens", 1, 1, 999)}},
         {"Morgen", "Frühe", "Vormittag", "morgens"}},
        {"without commonness a direct source keeps its order",
         {{Direct("b", 1), Direct("a", 1), Direct("c", 2)}, {}}, {"b", "a", "c"}},
        {"sense, then commonness, then place, then bytes",
         {{}, {Reversed("abode", 1, 1, 2), Reversed("fenestra", 2, 2, 500), Reversed("house", 1, 3, 181),
               Reversed("dwelling", 1, 2, 2), Reversed("domicile", 1, 2, 2)}},
         {"house", "abode", "domicile", "dwelling", "fenestra"}},
        {"rows through the other form of the headword follow",
         {{}, {Reversed("Wassermann", 1, 1, 50, false), Reversed("Eimer", 3, 9, 1)}}, {"Eimer", "Wassermann"}},
        {"a phrase in a single word's entry is noise",
         {{}, {Reversed("au nom du P\xE8re et du Fils", 1, 1), Reversed("p\xE8re", 1, 2)}}, {"p\xE8re"}},
        {"noise stays when the entry has nothing else",
         {{}, {Reversed("au nom du P\xE8re et du Fils", 1, 1)}}, {"au nom du P\xE8re et du Fils"}},
        {"a phrase may translate a phrase; spellings after \" / \" are no words",
         {{}, {Reversed("huile de foie de morue", 1, 1), Reversed("vapor / ing. old vapour form", 1, 2)}, true, false},
         {"huile de foie de morue", "vapor / ing. old vapour form"}},
        {"French: a capital in a common word's entry is a name",
         {{}, {Reversed("Denys", 1, 1, 9), Reversed("mer", 1, 1)}, true, true, CaseRule::kNamesOnly}, {"mer"}},
        {"French: in a name's entry capitals are right",
         {{}, {Reversed("\xC9gypte", 1, 1), Reversed("ma\xEFs", 1, 2)}, false, true, CaseRule::kNamesOnly},
         {"\xC9gypte", "ma\xEFs"}},
        {"archaic or rare senses follow the others, then the other form",
         {{}, {Reversed("Amartya", 1, 1, 0, false), Witnessed("thou", 1, 3, true, true), Reversed("you", 2, 3)}},
         {"you", "thou", "Amartya"}},
        {"English and German capitals are no noise",
         {{}, {Reversed("December", 1, 1), Reversed("interval", 1, 2)}, true, true, CaseRule::kProperWords},
         {"December", "interval"}},
    };
    for (const RankingCase& c : cases) EXPECT_EQ(RankTranslations(c.input), c.expected) << c.name;
}

TEST(TranslationRanking, PivotLanguagesAreWitnesses) {
    const auto pivotOnly = [](std::string text, size_t pivots, uint32_t common = 0) {
        return TriangulatedTranslation{std::move(text), pivots, {common, 0}};
    };
    const auto direct = [](std::string text, size_t sense, uint32_t common, size_t pivots) {
        DirectTranslation row = Direct(std::move(text), sense, common);
        row.pivots = pivots;
        return row;
    };
    const auto confirmed = [&](std::string text, uint32_t common, size_t reversedSense) {
        DirectTranslation row = direct(std::move(text), 1, common, 0);
        row.reversedSense = reversedSense;
        return row;
    };
    const RankingCase cases[] = {
        {"more witnesses outrank a better sense",
         {{}, {Witnessed("deep", 1, 0), Witnessed("sea", 2, 1), Witnessed("brine", 1, 2)}}, {"brine", "sea", "deep"}},
        {"within a direct sense pivots outweigh commonness, the sense order stays",
         {{direct("loaf", 1, 9, 1), direct("bread", 1, 3, 2), direct("roll", 2, 0, 3)}, {Witnessed("x", 1, 3)}},
         {"bread", "loaf", "roll", "x"}},
        {"within a direct sense after the pivots: the reversal's better sense, the common, rows it lacks",
         {{confirmed("pick up", 50, 0), confirmed("have", 99, 6), confirmed("take", 9, 1), confirmed("grab", 20, 1),
           direct("seize", 1, 0, 1)},
          {}},
         {"seize", "grab", "take", "have", "pick up"}},
        {"pivot rows follow reversed rows with as many witnesses, more pivots and the common first",
         {{}, {Witnessed("twelvemonth", 1, 0), Witnessed("annum", 1, 1), Witnessed("sun", 1, 2, false)},
          true, true, CaseRule::kProperWords, {pivotOnly("yr", 2), pivotOnly("year", 2, 50), pivotOnly("age", 1)}},
         {"annum", "year", "yr", "twelvemonth", "sun"}},
        {"pivot rows come before rows of a rare sense",
         {{}, {Witnessed("thou", 1, 2, true, true)}, true, true, CaseRule::kProperWords, {pivotOnly("you", 2)}},
         {"you", "thou"}},
        {"pivot rows are filtered as reversal noise is",
         {{}, {}, true, true, CaseRule::kNamesOnly,
          {pivotOnly("Rosso", 3), pivotOnly("di colore rosso vivo e acceso", 3), pivotOnly("rosso", 2)}},
         {"rosso"}},
    };
    for (const RankingCase& c : cases) EXPECT_EQ(RankTranslations(c.input), c.expected) << c.name;
}

TEST(TranslationRanking, RowsDifferingOnlyInCaseBecomeOne) {
    const struct {
        const char* name;
        CaseRule rule;
        bool lowerCaseHeadword;
        Rows expected;
    } cases[] = {
        {"English keeps the capital", CaseRule::kProperWords, true, {"x", "December", "Table"}},
        {"French keeps the headword's case", CaseRule::kNamesOnly, false, {"x", "December", "Table"}},
        {"German keeps the better ranked", CaseRule::kNouns, true, {"x", "december", "Table"}},
    };
    for (const auto& c : cases) {
        RankingInput input{{Direct("x", 1)},
                           {Reversed("X", 1, 1), Reversed("december", 1, 2), Reversed("December", 1, 3),
                            Reversed("Table", 2, 1), Reversed("table", 2, 2)},
                           c.lowerCaseHeadword, true, c.rule};
        EXPECT_EQ(RankTranslations(input), c.expected) << c.name;
    }
}

TEST(DictionaryBuilder, ReversedPairsRankByTheirBestStandingAndTheMainForm) {
    Commonness commonness;
    commonness.AddSenseCounts("house%1:06:00:: 1 180\nhome%1:06:00:: 1 190\nabode%1:15:00:: 1 2\n");
    DictionaryBuilder builder;
    builder.SetCommonness(&commonness);
    builder.AddReversed("ev", "abode", 1, 1);
    builder.AddReversed("ev", "house", 2, 4);
    builder.AddReversed("ev", "house", 1, 1);  // a second article of "house" gives ev first
    builder.AddReversed("Ev", "Eve", 1, 1);     // once through a capitalised form
    builder.AddReversed("ev", "home", 1, 2);
    EXPECT_EQ(builder.PlainText(), "ev|home, house, abode, Eve\n\r");
}

TEST(DictionaryBuilder, ADirectRowTakesTheBestSenseAReversalGivesItThroughTheMainForm) {
    DictionaryBuilder builder;
    builder.Add("almak", {"have", "Take", "get"}, {1, 1, 1});
    builder.AddReversed("almak", "get", 3, 1);
    builder.AddReversed("almak", "TAKE", 4, 2);
    builder.AddReversed("almak", "take", 2, 5);
    builder.AddReversed("Almak", "have", 1, 1);  // through the capitalised form: another word
    EXPECT_EQ(builder.PlainText(), "almak|Take, get, have\n\r");
}

TEST(DictionaryBuilder, AReversedPairStandsByItsBestSenseThatIsNotRare) {
    DictionaryBuilder builder;
    builder.AddReversed("sen", "thee", 1, 2, true);
    builder.AddReversed("sen", "thou", 1, 1, true);
    builder.AddReversed("sen", "thee", 3, 1);
    builder.AddReversed("sen", "you", 2, 3);
    EXPECT_EQ(builder.PlainText(), "sen|you, thee, thou\n\r");
}

TEST(DictionaryBuilder, TheShownHeadwordIsTheDirectFormElseTheMostWrittenOne) {
    DictionaryBuilder builder;
    builder.AddReversed("Baba", "au nom du P\xE8re", 1, 1);
    builder.AddReversed("baba", "p\xE8re", 1, 1);
    builder.AddReversed("baba", "papa", 1, 1);
    builder.AddReversed("\xC7inli", "Chinese", 1, 1);
    builder.AddReversed("\xC7inli", "Chinaman", 1, 1);
    builder.AddReversed("\xE7inli", "celestial", 1, 1);
    builder.AddReversed("kova", "bucket", 1, 1);
    builder.Add("Kova", {"pail"});
    EXPECT_EQ(builder.PlainText(),
              "baba|papa, p\xE8re, au nom du P\xE8re\n\rKova|pail, bucket\n\r"
              "\xC7inli|Chinaman, Chinese, celestial\n\r");
}

TEST(Triangulation, OnlyTheFirstRowsLeadToTargetsAndEachLanguageCountsOnce) {
    Triangulation triangulation;
    const size_t de = triangulation.AddPivotLanguage("Ev|Haus, Heim, Wohnung, Bude\n\r");
    const size_t fr = triangulation.AddPivotLanguage("ev|maison, foyer\n\rsu|eau\n\r");
    const size_t it = triangulation.AddPivotLanguage("ev|casa\n\r", false);
    EXPECT_TRUE(triangulation.Wants(de, "HAUS"));
    EXPECT_FALSE(triangulation.Wants(de, "Bude")) << "past the first rows";
    for (const auto& [language, pivot, target] : std::vector<std::tuple<size_t, std::string, std::string>>{
             {de, "Haus", "house <n>"}, {de, "heim", "home"}, {de, "Heim", "House"}, {de, "Bude", "digs"},
             {fr, "maison", "house"}, {fr, "foyer", "hearth"}, {fr, "chat", "cat"}, {fr, "eau", "<n>"},
             {it, "casa", "HOUSE"}, {it, "casa", "hut"}}) {
        triangulation.AddPivotPair(language, pivot, target);
    }
    const std::vector<PivotCandidate> candidates = triangulation.CandidatesOf("EV");
    ASSERT_EQ(candidates.size(), 4u);
    EXPECT_EQ(candidates[0].text, "house");
    EXPECT_EQ(PivotCount(candidates[0].languages), 3u);
    EXPECT_EQ(PivotCount(candidates[1].languages), 1u) << candidates[1].text;
    EXPECT_EQ(candidates[3].text, "hut");
    EXPECT_FALSE(candidates[3].mayBeRow) << "a witness alone gives no row";
    EXPECT_TRUE(triangulation.CandidatesOf("su").empty()) << "a tag alone is no word";
    EXPECT_EQ(triangulation.TurkishHeadwords(), (Rows{"Ev", "su"}));
}

TEST(Commonness, HeadwordsCountOncePerDictionaryAndSenseCountsAddUp) {
    Commonness commonness;
    commonness.AddDictionaryHeadwords("00databaseinfo\tA\tB\nhaus\tA\tB\nhaus\tC\tD\nmeer\tA\tB\n", "a.index");
    commonness.AddDictionaryHeadwords("haus\tA\tB\n", "b.index");
    commonness.AddSenseCounts(
        "human_being%1:03:00:: 1 7\nhaus%1:06:00:: 1 3\nhaus%2:06:00:: 2 4\nbroken line\n%1:00 1 5\n"
        "huge%1:00:00:: 1 1234567890\n");
    EXPECT_EQ(commonness.Of("HAUS"), (CommonnessScore{7, 2}));
    EXPECT_EQ(commonness.Of("meer"), (CommonnessScore{0, 1}));
    EXPECT_EQ(commonness.Of("human being"), (CommonnessScore{7, 0}));
    EXPECT_EQ(commonness.Of("huge"), (CommonnessScore{0, 0})) << "a count of ten digits is no count";
    EXPECT_EQ(commonness.Of("00databaseinfo"), (CommonnessScore{}));
    EXPECT_GT((CommonnessScore{1, 0}), (CommonnessScore{0, 30})) << "corpus uses outweigh dictionaries";
    EXPECT_THROW(commonness.AddDictionaryHeadwords("cut\tA", "c.index"), ToolError);
}

TEST(Rate, CountsFirstRowsListedAnswersAndMisses) {
    const std::string list =
        "# comment\ntr\ten\nev\thouse|home\nsu\twater\nyok\tnone\n\xC3\xA7" "ay|\xC3\xA7" "ay\ttea\n";
    const std::string plain = "ev|home, house\n\rsu|aqua, water\n\r\xE7" "ay|tea\n\r";
    const FirstRowRating rating = RateFirstRows(list, plain, "tr", "en", "list");
    EXPECT_EQ(rating.words, 4u);
    EXPECT_EQ(rating.firstRight, 2u);
    EXPECT_EQ(rating.inList, 3u);
    EXPECT_EQ(rating.misses, (Rows{"su: aqua (expected water)", "yok: not found"}));
    // The reverse direction looks up the first English answer.
    EXPECT_EQ(RateFirstRows(list, "house|ev\n\r", "en", "tr", "list").firstRight, 1u);
    EXPECT_THROW(RateFirstRows("tr\ten\nev\n", plain, "tr", "en", "list"), ToolError);
    EXPECT_THROW(RateFirstRows(list, plain, "tr", "de", "list"), ToolError);
}

}  // namespace
}  // namespace kavrel::tool
