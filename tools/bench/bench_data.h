// Synthetic dictionaries for the benchmarks: deterministic entry texts shaped like the real
// data files, written scrambled to disk once, and the query words a lookup run asks for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel::bench {

// The plain text of a dictionary with exactly `entries` lines "headword|translation, ...",
// each ended by LF CR. Headwords use the Turkish letters of code page 1254; some are
// capitalised and every 64th line repeats an earlier headword in capitals, so it replaces
// that entry under the same lower-cased key.
std::string MakeDictionaryText(size_t entries);

// Path of the scrambled data file for `entries` lines in dir, writing it first when absent.
std::string EnsureDataFile(const std::string& dir, size_t entries);

// The whole file in one string (throws on failure).
std::string ReadWholeFile(const std::string& path);

// Replaces path's contents as the program does: the bytes go to path + ".save.tmp", which
// is flushed to the disk and renamed over path (throws on failure).
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// `count` query words drawn from the headwords of plain, half of them present (some in
// another case) and half absent, in a shuffled order.
std::vector<std::string> MakeQueries(const std::string& plain, size_t count);

}  // namespace kavrel::bench
