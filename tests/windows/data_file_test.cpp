// Reading and writing data files on the real file system: exact bytes, exclusive access,
// and a failed write that leaves the old dictionary whole.
#include <gtest/gtest.h>

#include "core/scramble.h"
#include "dictionary/data_file.h"
#include "framework/handles.h"
#include "tests/windows/harness_dialogs.h"
#include "tests/windows/harness_main_window.h"

namespace kavrel::test {
namespace {

class DataFile : public ::testing::Test {
protected:
    TempWorkDir dir_;
};

// Files whose names a failed write might leave behind.
int LeftoverTemporaryFiles() {
    WIN32_FIND_DATAW found;
    int count = 0;
    const HANDLE search = FindFirstFileW(L"*.tmp", &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

std::string EveryByteText() {
    std::string text;
    for (int round = 0; round < 3; ++round) {
        for (int b = 0; b < 256; ++b) text.push_back(static_cast<char>(b));
    }
    return text;
}

TEST_F(DataFile, WrittenFileReadsBackByteForByte) {
    std::string scrambled = "ev|house, home\n\r\xFF\xFF\xFFk\xF6pek|dog\n\r";
    ScrambleText(scrambled);  // holds zero bytes where 0xFF met a 1 bit
    ASSERT_NE(scrambled.find('\0'), std::string::npos);
    ASSERT_TRUE(WriteDataFile("kavrel.003", scrambled).ok);
    EXPECT_EQ(ReadRawFile("kavrel.003"), scrambled);
    EXPECT_EQ(ReadDataFile("kavrel.003", "x"), scrambled);

    const std::string all = EveryByteText();
    ASSERT_TRUE(WriteDataFile("kavrel.003", all).ok);  // replaces a longer file
    EXPECT_EQ(ReadDataFile("kavrel.003", "x"), all);
    ASSERT_TRUE(WriteDataFile("kavrel.003", "").ok);
    EXPECT_EQ(ReadRawFile("kavrel.003"), "");
    EXPECT_EQ(LeftoverTemporaryFiles(), 0);
}

TEST_F(DataFile, WriteToAFileHeldOpenElsewhereFailsAndKeepsTheOldFile) {
    WriteRawFile("kavrel.001", "old contents");
    {
        win::UniqueHandle holder(CreateFileW(L"kavrel.001", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        const win::WriteResult written = WriteDataFile("kavrel.001", "new contents");
        EXPECT_FALSE(written.ok);
        EXPECT_EQ(written.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(ReadRawFile("kavrel.001"), "old contents");
    EXPECT_EQ(LeftoverTemporaryFiles(), 0);
}

TEST_F(DataFile, WriteWhereADirectoryStandsFails) {
    ASSERT_TRUE(CreateDirectoryW(L"kavrel.002", nullptr));
    EXPECT_FALSE(WriteDataFile("kavrel.002", "contents").ok);
    EXPECT_TRUE(GetFileAttributesW(L"kavrel.002") & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(LeftoverTemporaryFiles(), 0);
}

// The replace writes beside the file under a name of its own: never the download's
// "kavrel.tmp", and one that an ended process left behind is replaced, not piled up.
TEST_F(DataFile, TemporaryFileIsTheFilesOwnAndAStaleOneGoes) {
    WriteRawFile("kavrel.tmp", "a download in progress");
    WriteRawFile("kavrel.001.save.tmp", "left by a process that was ended");
    WriteRawFile("kavrel.001", "old");
    ASSERT_TRUE(WriteDataFile("kavrel.001", "new").ok);
    EXPECT_EQ(ReadRawFile("kavrel.001"), "new");
    EXPECT_EQ(ReadRawFile("kavrel.tmp"), "a download in progress");
    EXPECT_EQ(GetFileAttributesW(L"kavrel.001.save.tmp"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(LeftoverTemporaryFiles(), 1) << "only the download's own file";
}

// How a read ended, as the loader carries it to the window: only kWhole and kMissing let
// a later save write the file.
TEST_F(DataFile, ReadTellsWhyItFailed) {
    WriteRawFile("kavrel.001", "abc");
    WriteRawFile("kavrel.002", "held");
    ASSERT_TRUE(CreateDirectoryW(L"kavrel.003", nullptr));
    win::UniqueHandle holder(CreateFileW(L"kavrel.002", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    const struct { const char* file; LoadOutcome outcome; size_t messages; } cases[] = {
        {"kavrel.001", LoadOutcome::kWhole, 0},
        {"kavrel.004", LoadOutcome::kMissing, 1},
        {"kavrel.002", LoadOutcome::kLocked, 1},
        {"kavrel.003", LoadOutcome::kUnreadable, 1},
    };
    for (const auto& c : cases) {
        const MessageBoxCloser boxes;
        const DataFileRead read = ReadDataFileWithOutcome(c.file, "x");
        EXPECT_EQ(read.outcome, c.outcome) << c.file;
        EXPECT_EQ(read.bytes, c.outcome == LoadOutcome::kWhole ? "abc" : "") << c.file;
        EXPECT_EQ(boxes.Texts().size(), c.messages) << c.file;
    }
}

TEST_F(DataFile, ReadNeedsExclusiveAccessAndTellsTheUserOnce) {
    WriteRawFile("kavrel.001", "abc");
    win::UniqueHandle holder(CreateFileW(L"kavrel.001", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    {
        const MessageBoxCloser boxes;
        EXPECT_EQ(ReadDataFile("kavrel.001", Cp("Türkçe -> Almanca")), "");
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{LoadFailedText()});
    }
    holder.Reset();
    EXPECT_EQ(ReadDataFile("kavrel.001", Cp("Türkçe -> Almanca")), "abc");
}

}  // namespace
}  // namespace kavrel::test
