// kavrel-tool on input that must not yield a partial or useless result: zero bytes for pack,
// imports of nothing, hostile dictd databases and articles, inputs past their limit. The
// faults only a process meets (failing reads and writes, signals) are in tool_process_test.sh.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/native/fixtures/tool_files.h"
#include "tools/dictd.h"
#include "tools/file_io.h"
#include "tools/source_entry.h"
#include "tools/tool_error.h"

namespace kavrel::tool {
namespace {

using namespace std::string_literals;

using testing::MakeDictd;
using testing::ReadFileBytes;
using testing::RunCli;
using testing::ScratchDir;
using testing::WriteFileBytes;

// Runs args with OUT standing for an output that already holds "previous"; the run must fail
// with message and leave that output as it was.
void ExpectRefused(const ScratchDir& dir, std::vector<std::string> args, const std::string& message,
                   const std::string& input = "") {
    WriteFileBytes(dir / "OUT", "previous");
    for (std::string& arg : args) {
        if (arg == "OUT") arg = dir / "OUT";
    }
    const testing::RunResult run = RunCli(args, input);
    EXPECT_EQ(run.status, kExitFailure) << args[0];
    EXPECT_NE(run.err.find(message), std::string::npos) << args[0] << ": " << run.err;
    EXPECT_EQ(ReadFileBytes(dir / "OUT"), "previous") << args[0];
}

TEST(ToolFaults, PackRefusesAZeroByteThatWouldHideTheRestOfTheDictionary) {
    ScratchDir dir;
    WriteFileBytes(dir / "plain", "ev|home\n\rsu|wa\0ter\n\rzil|bell\n\r"s);
    ExpectRefused(dir, {"pack", dir / "plain", "OUT"}, "plain, line 2, byte offset 14: a zero byte");
    ExpectRefused(dir, {"pack", "--from-utf8", "-", "OUT"}, "standard input, line 1, byte offset 1: a zero byte",
                  "a\0b"s);
}

TEST(ToolFaults, AnImportOfNoEntryLeavesTheOutput) {
    ScratchDir dir;
    WriteFileBytes(dir / "empty.tsv", "");
    WriteFileBytes(dir / "bare.tsv", "ev\nkitap\t\n\t\n");
    for (const char* source : {"empty.tsv", "bare.tsv"}) {
        ExpectRefused(dir, {"import", dir / source, "OUT"}, "the sources hold no entry");
    }
}

TEST(ToolFaults, HostileDictdDatabasesAreRefused) {
    ScratchDir dir;
    // Index lines that each cover nearly the whole dict would have every byte parsed once per line.
    testing::DictdText db = MakeDictd({{"ev", "ev\nhome\n"}, {"su", "su\nwater\n"}});
    for (size_t length = db.dict.size(); length > db.dict.size() - 8; --length) {
        db.index += "w" + std::to_string(length) + "\tA\t" + testing::DictdNumber(length) + "\n";
    }
    ExpectRefused(dir, {"import", dir.WriteDictd("overlapping", db), "OUT"}, "the entries overlap");
    // A small file that inflates past the limit.
    const std::string bomb = testing::Gzip(std::string(1 << 20, 'a'));
    EXPECT_THROW(InflateGzip(bomb, "bomb.dz", (1 << 20) - 1), ToolError);
    EXPECT_EQ(InflateGzip(bomb, "bomb.dz", 1 << 20).size(), size_t{1} << 20);
}

// Each opening bracket used to search the rest of the line for its partner (and trim its
// trailing blanks): an article of a few megabytes then took hours. Now it takes milliseconds,
// and a test time-out catches a return of the quadratic search.
TEST(ToolFaults, AnArticleOfUnmatchedBracketsParsesInLinearTime) {
    constexpr size_t kPairs = size_t{1} << 20;
    std::string line;
    for (size_t i = 0; i < kPairs; ++i) line += "(]";
    line += " tail" + std::string(kPairs, ' ');
    const SourceEntry entry = ParseDictdArticle("word\n" + line + "\n");
    EXPECT_EQ(entry.translations, std::vector<std::string>{"tail"});
    EXPECT_TRUE(ParseDictdArticle("word\n  (bak.) other\n").translations.empty());
}

TEST(ToolFaults, AStreamPastTheLimitIsAnError) {
    for (const size_t size : {10, 11}) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        ASSERT_EQ(::write(fds[1], std::string(size, 'x').data(), size), static_cast<ssize_t>(size));
        ::close(fds[1]);
        if (size <= 10) {
            EXPECT_EQ(ReadDescriptor(fds[0], "pipe", 10).size(), size);
        } else {
            EXPECT_THROW(ReadDescriptor(fds[0], "pipe", 10), ToolError);
        }
        ::close(fds[0]);
    }
}

}  // namespace
}  // namespace kavrel::tool
