// kavrel-tool end to end, in-process: import of dictd and plain sources (as is, reversed,
// merged), export, lookup, pack and unpack, and the failures that must write nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "core/scramble.h"
#include "tests/native/fixtures/tool_files.h"
#include "tools/commands.h"

namespace kavrel::tool {
namespace {

using testing::Gzip;
using testing::MakeDictd;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;
using Files = std::vector<std::string>;

using testing::RunCli;
using testing::RunResult;

std::string Plain(std::string data) {
    UnscrambleText(data);
    return data;
}

std::string Scrambled(std::string plain) {
    ScrambleText(plain);
    return plain;
}

// A Turkish->English database in the freedict layout; "kitap" is filed under two index words.
testing::DictdText TurEng() {
    testing::DictdText db = MakeDictd({
        {"ev", "ev /ev/\nhome, house\n"},
        {"kitap", "kitap /kitap/\nbook\n"},
        {"irmak", "Irmak /x/\nriver\n"},
        {"\xC4\xB1rmak", "\xC4\xB1rmak /x/\nriver (\xC4\xB1)\n"},
        {"bo\xC5\x9F", "bo\xC5\x9F /x/\n"},
    });
    const std::string kitapLine = db.index.substr(db.index.find("kitap\t"));
    db.index += "book-alias" + kitapLine.substr(5, kitapLine.find('\n') - 4);
    return db;
}

// An English->Turkish database whose reversal enriches TurEng.
testing::DictdText EngTur() {
    return MakeDictd({
        {"home", "home /h/\n1. ev, yuva\n2. (bak.) house.\n"},
        {"house", "house /h/\n1. ev. housing  konut.\n"},
        {"book", "book /b/\n1. kitap\n2. defter\n"},
    });
}

TEST(ToolImport, ADictdDatabaseBecomesASortedScrambledDataFile) {
    ScratchDir dir;
    const std::string db = dir.WriteDictd("tur-eng", TurEng());
    const RunResult run = RunCli({"import", db, dir / "kavrel.003"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Plain(ReadFileBytes(dir / "kavrel.003")),
              "ev|home, house\n\rIrmak|river\n\rkitap|book\n\r\xFDrmak|river\n\r");
    EXPECT_NE(run.err.find("4 entries written from 5 read; 0 merged"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("skipped 1 without translation"), std::string::npos) << run.err;
}

TEST(ToolImport, AReversedSourceFilesTranslationsAsHeadwords) {
    ScratchDir dir;
    const std::string db = dir.WriteDictd("eng-tur", EngTur());
    ASSERT_EQ(RunCli({"import", "--reverse", db, dir / "out"}).status, kExitOk);
    EXPECT_EQ(Plain(ReadFileBytes(dir / "out")), "defter|book\n\rev|home, house\n\rkitap|book\n\ryuva|home\n\r");
}

TEST(ToolImport, MergingAddsReversedTranslationsWithoutDuplicates) {
    ScratchDir dir;
    const std::string turEng = dir.WriteDictd("tur-eng", TurEng());
    const std::string engTur = dir.WriteDictd("eng-tur", EngTur());
    const RunResult run = RunCli({"import", turEng, "-r", engTur, dir / "out"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Plain(ReadFileBytes(dir / "out")),
              "defter|book\n\rev|home, house\n\rIrmak|river\n\rkitap|book\n\ryuva|home\n\r\xFDrmak|river\n\r");
    // The order of sources decides the first-seen order of translations, nothing else.
    ASSERT_EQ(RunCli({"import", "-r", engTur, turEng, dir / "swapped"}).status, kExitOk);
    EXPECT_EQ(ReadFileBytes(dir / "swapped"), ReadFileBytes(dir / "out"));
}

TEST(ToolImport, RankingOptionsNameTheLanguageAndTheEvidenceOfCommonWords) {
    ScratchDir dir;
    const std::string engTur = dir.WriteDictd("eng-tur", MakeDictd({
        {"abode", "abode /a/\nev\n"}, {"house", "house /h/\nev\n"}, {"sea", "sea /s/\ndeniz\n"},
        {"Denys", "Denys /d/\nDeniz\n"}}));
    const std::string other = dir.WriteDictd("eng-deu", MakeDictd({{"house", "house /h/\nHaus\n"}}));
    WriteFileBytes(dir / "cntlist", "sea%1:17:00:: 1 41\n");
    const RunResult run = RunCli({"import", "--language", "fra", "--headwords-of", other, "--sense-counts",
                                  dir / "cntlist", "-r", engTur, dir / "out"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Plain(ReadFileBytes(dir / "out")), "deniz|sea\n\rev|house, abode\n\r");
    const std::vector<Files> bad = {
        {"import", "--language", "tr", engTur, dir / "bad"},
        {"import", "--headwords-of", dir / "nothing", engTur, dir / "bad"},
        {"import", "--sense-counts", dir / "nothing", engTur, dir / "bad"},
        {"import", engTur, dir / "bad", "--language"},
    };
    for (const Files& args : bad) {
        EXPECT_EQ(RunCli(args).status, kExitFailure) << args[1];
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "bad"));
}

TEST(ToolImport, PivotLanguagesConfirmRowsAndFillEntries) {
    ScratchDir dir;
    WriteFileBytes(dir / "de", Scrambled("ev|Haus, Heim\n\rkap\xFD|T\xFCr\n\ryeni|neu\n\rsu|Wasser\n\r"));
    WriteFileBytes(dir / "fr", Scrambled("ev|maison\n\rkap\xFD|porte\n\ryeni|nouveau\n\r"));
    const std::string deuEng = dir.WriteDictd("deu-eng", MakeDictd({
        {"haus", "Haus /h/ <n>\nhouse <n>\n"}, {"t\xC3\xBCr", "T\xC3\xBCr /t/\ndoor <n>, doorway\n"},
        {"neu", "neu /n/\nnew <adj>\n"}, {"wasser", "Wasser /w/\nwater\n"}, {"weg", "Weg /w/\nway\n"}}));
    WriteFileBytes(dir / "eng-fra.tsv", "house\tmaison\ndoor\tporte\nnew\tnouveau\n");
    const std::string engTur = dir.WriteDictd("eng-tur", MakeDictd({
        {"gate", "gate /g/\nkap\xC4\xB1\n"}, {"door", "door /d/\n1. e\xC5\x9Fik\n2. kap\xC4\xB1\n"},
        {"home", "home /h/\nev\n"}}));
    const Files pivots = {"--pivot", dir / "de", deuEng, "--pivot-reversed", dir / "fr", dir / "eng-fra.tsv"};
    Files args = {"import", "--language", "eng", "-r", engTur, dir / "out"};
    args.insert(args.begin() + 1, pivots.begin(), pivots.end());
    const RunResult run = RunCli(args);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    // door: the reversal and two pivots; house and new: two pivots; water: only one.
    EXPECT_EQ(Plain(ReadFileBytes(dir / "out")),
              "ev|house, home\n\re\xFEik|door\n\rkap\xFD|door, gate\n\ryeni|new\n\r");
    // Witnesses only: the order stays, no row of their own.
    args.insert(args.begin() + 1, {"--witness-only", dir / "de", "--witness-only", dir / "fr"});
    ASSERT_EQ(RunCli(args).status, kExitOk);
    EXPECT_EQ(Plain(ReadFileBytes(dir / "out")), "ev|home\n\re\xFEik|door\n\rkap\xFD|door, gate\n\r");
    const std::vector<Files> bad = {
        {"import", "-r", engTur, dir / "bad", "--pivot", dir / "de"},
        {"import", "--witness-only", dir / "de", "-r", engTur, dir / "bad"},
        {"import", "--pivot", dir / "nothing", deuEng, "-r", engTur, dir / "bad"},
        {"import", "--pivot", dir / "de", dir / "nothing", "-r", engTur, dir / "bad"},
    };
    for (const Files& args : bad) EXPECT_EQ(RunCli(args).status, kExitFailure) << args[4];
    EXPECT_FALSE(std::filesystem::exists(dir / "bad"));
}

TEST(ToolImport, AnUnorderedSourceGivesEachEntryAsOneSense) {
    ScratchDir dir;
    WriteFileBytes(dir / "tur-eng.tsv", "i\xC3\xA7mek\tsmoke; drink\n");
    WriteFileBytes(dir / "eng-tur.tsv", "drink\ti\xC3\xA7mek\n");
    const auto rows = [&](Files args) {
        args.insert(args.begin(), "import");
        args.insert(args.end(), {"-r", dir / "eng-tur.tsv", dir / "out"});
        const RunResult run = RunCli(args);
        EXPECT_EQ(run.status, kExitOk) << run.err;
        return Plain(ReadFileBytes(dir / "out"));
    };
    EXPECT_EQ(rows({dir / "tur-eng.tsv"}), "i\xE7mek|smoke, drink\n\r");
    EXPECT_EQ(rows({"--unordered", dir / "tur-eng.tsv"}), "i\xE7mek|drink, smoke\n\r");
    const std::vector<Files> bad = {
        {"import", "--unordered", "-r", dir / "eng-tur.tsv", dir / "bad"},
        {"import", "--unordered", "--unordered", dir / "tur-eng.tsv", dir / "bad"},
        {"import", dir / "tur-eng.tsv", "--unordered", dir / "bad"},
    };
    for (const Files& args : bad) EXPECT_EQ(RunCli(args).status, kExitFailure) << args[1] << " " << args[2];
    EXPECT_FALSE(std::filesystem::exists(dir / "bad"));
}

TEST(ToolImport, AScannedCapitalIInATurkishWordIsAnL) {
    ScratchDir dir;
    const std::string engTur = dir.WriteDictd("eng-tur", MakeDictd({
        {"death", "death /d/\n\xC3\xB6I\xC3\xBCm, IIk\n"}, {"mcintosh", "McIntosh /m/\nMcIntosh\n"}}));
    const struct {
        Files options;
        std::string expected;
    } cases[] = {
        {{"--language", "eng", "-r"}, "IIk|death\n\rMcIntosh|McIntosh\n\r\xF6l\xFCm|death\n\r"},
        {{"--language", "tur"}, "death|\xF6l\xFCm, IIk\n\rMcIntosh|McIntosh\n\r"},
        {{}, "death|\xF6I\xFCm, IIk\n\rMcIntosh|McIntosh\n\r"},
    };
    for (const auto& c : cases) {
        Files args = {"import"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {engTur, dir / "out"});
        ASSERT_EQ(RunCli(args).status, kExitOk);
        EXPECT_EQ(Plain(ReadFileBytes(dir / "out")), c.expected) << c.options.size();
    }
}

TEST(ToolImport, PlainSourcesAreConvertedAndCounted) {
    ScratchDir dir;
    WriteFileBytes(dir / "words.tsv",
                   "\xEF\xBB\xBF" "k\xC4\x81ra\tcarbon (coal, dust)\r\n"  // BOM, ā, CRLF, inner comma
                   "\xCE\xB3\tgamma\n"                                    // a headword of nothing 1254 holds
                   "ev|home\n\n"                                           // the exported form
                   "Ev\thouse; home\n");
    const RunResult run = RunCli({"import", dir / "words.tsv", dir / "out"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Plain(ReadFileBytes(dir / "out")), "ev|home, house\n\rkara|carbon (coal / dust)\n\r");
    EXPECT_NE(run.err.find("1 merged"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 without headword"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 characters transliterated, 1 dropped"), std::string::npos) << run.err;
}

TEST(ToolImport, ExportThenImportGivesTheSameTable) {
    ScratchDir dir;
    WriteFileBytes(dir / "words.tsv",
                   "\xC3\xA7" "ay\ttea, (hot, black) drink\n\xC4\xB0stanbul\tIstanbul\nbar|x\ty\nz\t\xC3\xA9t\xC3\xA9\n");
    ASSERT_EQ(RunCli({"import", dir / "words.tsv", dir / "first"}).status, kExitOk);
    ASSERT_EQ(RunCli({"export", dir / "first", dir / "exported.txt"}).status, kExitOk);
    EXPECT_EQ(ReadFileBytes(dir / "exported.txt"),
              "bar/x|y\nz|\xC3\xA9t\xC3\xA9\n\xC4\xB0stanbul|Istanbul\n\xC3\xA7" "ay|tea, (hot / black) drink\n");
    ASSERT_EQ(RunCli({"import", dir / "exported.txt", dir / "second"}).status, kExitOk);
    EXPECT_EQ(ReadFileBytes(dir / "second"), ReadFileBytes(dir / "first"));
}

// Each broken database: the error names the file and place, and no output appears.
TEST(ToolImport, BrokenDatabasesFailWithoutWritingAnything) {
    struct Case {
        const char* what;
        std::string index;
        std::string dz;
        std::string expected;  // part of the message
    };
    const testing::DictdText good = TurEng();
    const std::vector<Case> cases = {
        {"truncated index", good.index.substr(0, good.index.size() - 3), Gzip(good.dict),
         "db.index, line 7: the index ends in the middle of a line"},
        {"bad base64 offset", good.index + "bad\tA*\tB\n", Gzip(good.dict), "db.index, line 8: bad base64 offset"},
        {"offset beyond the dict", good.index + "far\tZZZ\tB\n", Gzip(good.dict), "db.index, line 8: entry at"},
        {"dz that is not gzip", good.index, good.dict, "db.dict.dz: not a gzip/dictzip file"},
        {"truncated dz", good.index, Gzip(good.dict).substr(0, 40), "db.dict.dz: compressed data is cut short"},
        {"article not UTF-8", good.index + "bad\tA\tC\n", Gzip("\xFF\xFE" + good.dict.substr(2)),
         "db.index, line 8: the entry in"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        WriteFileBytes(dir / "db.index", c.index);
        WriteFileBytes(dir / "db.dict.dz", c.dz);
        const RunResult run = RunCli({"import", dir / "db", dir / "out"});
        EXPECT_EQ(run.status, kExitFailure) << c.what;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(dir.Files(), (Files{"db.dict.dz", "db.index"})) << c.what;
    }
}

TEST(ToolImport, AMissingSourceOrBadArgumentsFail) {
    ScratchDir dir;
    RunResult run = RunCli({"import", dir / "nothing", dir / "out"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_NE(run.err.find("cannot read " + dir / "nothing"), std::string::npos) << run.err;
    EXPECT_EQ(RunCli({"import", dir / "out"}).status, kExitFailure);
    EXPECT_EQ(RunCli({"import", "x", "--reverse", dir / "out"}).status, kExitFailure);
    EXPECT_EQ(RunCli({"import", "--reverse", "--reverse", "x", dir / "out"}).status, kExitFailure);
    EXPECT_EQ(RunCli({"import", "--merge", "x", dir / "out"}).status, kExitFailure);
    EXPECT_TRUE(dir.Files().empty());
}

TEST(ToolLookup, FindsLikeTheProgramAndPrintsOneTranslationPerLine) {
    ScratchDir dir;
    WriteFileBytes(dir / "d", Scrambled("Irmak|river; stream,  brook\n\r\xDDstanbul|city\n\rev|\n\r"));
    RunResult run = RunCli({"lookup", dir / "d", "IRMAK"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out, "Irmak\nriver\nstream\nbrook\n");
    run = RunCli({"lookup", dir / "d", "\xC4\xB0stanbul"});
    EXPECT_EQ(run.out, "\xC4\xB0stanbul\ncity\n");
    EXPECT_EQ(RunCli({"lookup", dir / "d", "istanbul"}).status, kExitNotFound);  // İ is not lower-cased
    EXPECT_EQ(RunCli({"lookup", dir / "d", "\xC4\xB1rmak"}).status, kExitNotFound);
    EXPECT_EQ(RunCli({"lookup", dir / "d", "ev"}).out, "ev\n\n");  // one empty row, as shown
    run = RunCli({"lookup", dir / "d", "\xCE\xB3"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_NE(run.err.find("U+03B3"), std::string::npos) << run.err;
}

TEST(ToolPack, PackAndUnpackRoundTripEveryByte) {
    ScratchDir dir;
    std::string bytes;  // every byte but zero, which pack refuses
    for (int i = 1; i < 256; ++i) bytes += static_cast<char>(i);
    bytes += "ev|home\n\r";
    WriteFileBytes(dir / "plain", bytes);
    ASSERT_EQ(RunCli({"pack", dir / "plain", dir / "data"}).status, kExitOk);
    EXPECT_EQ(ReadFileBytes(dir / "data"), Scrambled(bytes));
    ASSERT_EQ(RunCli({"unpack", dir / "data", dir / "back"}).status, kExitOk);
    EXPECT_EQ(ReadFileBytes(dir / "back"), bytes);
    // Through stdin and stdout.
    const RunResult packed = RunCli({"pack", "-", "-"}, bytes);
    EXPECT_EQ(packed.out, Scrambled(bytes));
    EXPECT_EQ(RunCli({"unpack", "-", "-"}, packed.out).out, bytes);
}

TEST(ToolPack, Utf8IsConvertedBothWays) {
    ScratchDir dir;
    const std::string utf8 = "\xC4\x9F\xC3\xBCl|rose\n\r\xC4\xB0z|trace\n\r";
    WriteFileBytes(dir / "plain", utf8);
    ASSERT_EQ(RunCli({"pack", "--from-utf8", dir / "plain", dir / "data"}).status, kExitOk);
    EXPECT_EQ(ReadFileBytes(dir / "data"), Scrambled("\xF0\xFCl|rose\n\r\xDDz|trace\n\r"));
    EXPECT_EQ(RunCli({"unpack", "--to-utf8", dir / "data", "-"}).out, utf8);
}

TEST(ToolPack, TextThatWindows1254CannotHoldWritesNothing) {
    ScratchDir dir;
    WriteFileBytes(dir / "plain", "ev|home\nsu|\xE6\xB0\xB4\n");
    WriteFileBytes(dir / "data", "previous content");
    RunResult run = RunCli({"pack", "--from-utf8", dir / "plain", dir / "data"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.err, "kavrel-tool: " + dir / "plain" +
                           ", line 2, byte offset 11: character U+6C34 \"\xE6\xB0\xB4\" cannot be written in "
                           "Windows-1254\n");
    EXPECT_EQ(ReadFileBytes(dir / "data"), "previous content");
    run = RunCli({"pack", "--from-utf8", "-", dir / "new"}, "a\xC3");
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_EQ(run.err, "kavrel-tool: standard input, line 1, byte offset 1: malformed UTF-8\n");
    EXPECT_EQ(dir.Files(), (Files{"data", "plain"}));
}

TEST(ToolCommands, UsageAndUnknownInput) {
    EXPECT_EQ(RunCli({"--help"}).status, kExitOk);
    EXPECT_NE(RunCli({"--help"}).out.find("import [--reverse|--unordered] SOURCE"), std::string::npos);
    EXPECT_EQ(RunCli({}).status, kExitFailure);
    EXPECT_EQ(RunCli({"frobnicate"}).err, "kavrel-tool: unknown command \"frobnicate\" (see kavrel-tool --help)\n");
    EXPECT_EQ(RunCli({"pack", "--to-utf8", "a", "b"}).status, kExitFailure);
    EXPECT_EQ(RunCli({"unpack", "a"}).status, kExitFailure);
    const RunResult run = RunCli({"export", "/nonexistent/kavrel.001", "-"});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_NE(run.err.find("cannot read /nonexistent/kavrel.001"), std::string::npos);
}

}  // namespace
}  // namespace kavrel::tool
