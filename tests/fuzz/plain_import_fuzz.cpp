// A plain-text import source, as is and reversed, through to the data file text: it holds no
// zero byte, every line is an entry, and loading it gives every entry the builder made.
#include <ostream>
#include <string>

#include "core/dictionary_load.h"
#include "core/entry_text.h"
#include "core/word_table.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/import.h"
#include "tools/tool_error.h"

using kavrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<kavrel::tool::SourceEntry> entries;
    try {
        entries = kavrel::tool::ReadPlainEntries(kavrel::fuzz::Bytes(data, size), "fuzz.tsv");
    } catch (const kavrel::tool::ToolError&) {
        return 0;  // malformed UTF-8, reported with its place
    }
    for (const bool reverse : {false, true}) {
        std::ostream quiet(nullptr);
        kavrel::tool::Importer importer(quiet);
        importer.AddEntries(entries, reverse);
        const std::string text = importer.PlainText();
        Check(text.find('\0') == std::string::npos, "no zero byte");
        size_t lines = 0;
        kavrel::ForEachLine(text, [&](std::string_view line) {
            ++lines;
            Check(line.find('|') != std::string_view::npos, "every line has a headword");
        });
        Check(lines == importer.EntryCount(), "one line per entry");
        kavrel::WordTable table;
        kavrel::LoadDictionaryText(text, table, nullptr);
        Check(table.Count() == importer.EntryCount(), "every entry is reachable by its own key");
    }
    return 0;
}
