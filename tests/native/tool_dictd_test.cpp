// dictd databases: base64 numbers, index parsing, gzip/dictzip inflation and the checks that
// turn a broken database into an error naming the file and the index line.
#include <gtest/gtest.h>

#include "tests/native/fixtures/tool_files.h"
#include "tools/dictd.h"
#include "tools/tool_error.h"

namespace kavrel::tool {
namespace {

using testing::DictdNumber;
using testing::Gzip;
using testing::MakeDictd;
using testing::ScratchDir;
using testing::WriteFileBytes;

// The message of the ToolError that f throws, or "" when it throws none.
template <class F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const ToolError& error) {
        return error.what();
    }
    return "";
}

TEST(DictdNumber, DecodesBase64DigitsMostSignificantFirst) {
    EXPECT_EQ(DecodeDictdNumber("A"), 0u);
    EXPECT_EQ(DecodeDictdNumber("/"), 63u);
    EXPECT_EQ(DecodeDictdNumber("BA"), 64u);
    EXPECT_EQ(DecodeDictdNumber("CrnJ"), ((2u * 64 + 43) * 64 + 39) * 64 + 9);
    for (uint64_t value : {1ull, 4095ull, 4096ull, 123456789ull}) EXPECT_EQ(DecodeDictdNumber(DictdNumber(value)), value);
}

TEST(DictdNumber, RejectsEmptyForeignAndOverlongDigits) {
    EXPECT_FALSE(DecodeDictdNumber(""));
    EXPECT_FALSE(DecodeDictdNumber("A=B"));
    EXPECT_FALSE(DecodeDictdNumber("AB "));
    EXPECT_FALSE(DecodeDictdNumber("-1"));
    EXPECT_TRUE(DecodeDictdNumber("P//////////"));    // 64 bits exactly
    EXPECT_FALSE(DecodeDictdNumber("BA//////////"));  // 65 bits
}

TEST(DictdIndex, ParsesLinesAndKeepsTheirNumbers) {
    const auto index = ParseDictdIndex("ev\tA\tF\n\nb\xC3\xBCy\xC3\xBCk\tBA\tc\textra field\r\n", "x.index");
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[0].word, "ev");
    EXPECT_EQ(index[0].offset, 0u);
    EXPECT_EQ(index[0].length, 5u);
    EXPECT_EQ(index[0].lineNumber, 1u);
    EXPECT_EQ(index[1].offset, 64u);
    EXPECT_EQ(index[1].length, 28u);
    EXPECT_EQ(index[1].lineNumber, 3u);  // the blank line still counts
    EXPECT_TRUE(ParseDictdIndex("", "x.index").empty());
}

TEST(DictdIndex, BrokenLinesNameTheFileAndLine) {
    EXPECT_EQ(ErrorOf([] { ParseDictdIndex("a\tA\tB\nb\tA\n", "x.index"); }),
              "x.index, line 2: expected \"word<TAB>offset<TAB>length\"");
    EXPECT_EQ(ErrorOf([] { ParseDictdIndex("a\tA\tB\nb\tA!\tB\n", "x.index"); }), "x.index, line 2: bad base64 offset");
    EXPECT_EQ(ErrorOf([] { ParseDictdIndex("a\tA\t\n", "x.index"); }), "x.index, line 1: bad base64 length");
    // A cut-off file: the last line lost its end and perhaps digits of its length.
    EXPECT_EQ(ErrorOf([] { ParseDictdIndex("a\tA\tB\nb\tB\tC", "x.index"); }),
              "x.index, line 2: the index ends in the middle of a line (truncated?)");
}

TEST(Gzip, InflatesOneOrSeveralMembers) {
    const std::string text(100000, 'k');
    EXPECT_EQ(InflateGzip(Gzip(text), "x.dz"), text);
    EXPECT_EQ(InflateGzip(Gzip("first ") + Gzip("second"), "x.dz"), "first second");
    EXPECT_EQ(InflateGzip(Gzip(""), "x.dz"), "");
}

TEST(Gzip, RejectsOtherDataTruncationAndDamage) {
    EXPECT_EQ(ErrorOf([] { InflateGzip("plain text", "x.dz"); }), "x.dz: not a gzip/dictzip file");
    EXPECT_EQ(ErrorOf([] { InflateGzip("", "x.dz"); }), "x.dz: not a gzip/dictzip file");
    const std::string packed = Gzip(std::string(5000, 'a') + "tail");
    EXPECT_EQ(ErrorOf([&] { InflateGzip(packed.substr(0, packed.size() / 2), "x.dz"); }),
              "x.dz: compressed data is cut short");
    std::string damaged = packed;
    damaged[damaged.size() - 6] ^= 0x55;  // in the CRC trailer
    EXPECT_NE(ErrorOf([&] { InflateGzip(damaged, "x.dz"); }).find("x.dz: damaged compressed data"), std::string::npos);
    EXPECT_EQ(ErrorOf([&] { InflateGzip(packed + "junk", "x.dz"); }), "x.dz: unexpected bytes after the compressed data");
}

TEST(DictdDatabase, FindsTheFilesFromAnyOfTheirNames) {
    ScratchDir dir;
    const std::string base = dir.WriteDictd("db", MakeDictd({{"ev", "ev\nhome\n"}}));
    for (const std::string& name : {base, base + ".index", base + ".dict.dz", base + ".dict"}) {
        const auto paths = FindDictdFiles(name);
        ASSERT_TRUE(paths) << name;
        EXPECT_EQ(paths->index, base + ".index");
        EXPECT_EQ(paths->dict, base + ".dict.dz");
    }
    EXPECT_FALSE(FindDictdFiles(dir / "other"));
    // Without a .dict.dz the uncompressed .dict is read.
    WriteFileBytes(dir / "plain.index", "ev\tA\tJ\n");
    WriteFileBytes(dir / "plain.dict", "ev\nhome\n\n");
    const auto paths = FindDictdFiles(dir / "plain");
    ASSERT_TRUE(paths);
    EXPECT_EQ(LoadDictdDatabase(*paths).dict, "ev\nhome\n\n");
}

TEST(DictdDatabase, AnEntryBeyondTheDictNamesItsIndexLine) {
    ScratchDir dir;
    testing::DictdText db = MakeDictd({{"ev", "ev\nhome\n"}});
    db.index += "far\t" + DictdNumber(db.dict.size() - 2) + "\tD\n";
    const std::string base = dir.WriteDictd("db", db);
    const std::string error = ErrorOf([&] { LoadDictdDatabase(*FindDictdFiles(base)); });
    EXPECT_NE(error.find(base + ".index, line 3: entry at"), std::string::npos) << error;
    EXPECT_NE(error.find("beyond the end of " + base + ".dict.dz"), std::string::npos) << error;
}

TEST(DictdDatabase, MetaWordsAreRecognised) {
    EXPECT_TRUE(IsDictdMetaWord("00databaseinfo"));
    EXPECT_TRUE(IsDictdMetaWord("00-database-url"));
    EXPECT_FALSE(IsDictdMetaWord("00"));
    EXPECT_FALSE(IsDictdMetaWord("database"));
}

}  // namespace
}  // namespace kavrel::tool
