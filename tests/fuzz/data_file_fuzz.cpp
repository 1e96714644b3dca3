// Arbitrary bytes loaded as a data file (unscrambled, then every line filed), checked against
// a std::map filed the same way, then every key looked up and the table saved and reloaded.
#include <map>
#include <string>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/dictionary_save.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "core/word_table.h"
#include "tests/fuzz/fuzz_check.h"

using kavrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string plain = kavrel::fuzz::Bytes(data, size);
    kavrel::UnscrambleText(plain);
    const std::string text = plain.substr(0, kavrel::LengthBeforeZero(plain));

    kavrel::WordTable table;
    int lastPercent = -1;
    kavrel::LoadDictionaryText(plain, table, [&](int percent) {
        Check(percent >= lastPercent && percent >= 0, "the percentage never goes back");
        lastPercent = percent;
    });

    std::map<std::string, std::string> expected;  // lowered key -> last line filed under it
    kavrel::ForEachLine(text, [&](std::string_view line) {
        expected[kavrel::LowerCopy1254(kavrel::KeyOfLine(line))] = std::string(line);
    });
    Check(table.Count() == expected.size(), "one entry per distinct lowered key");
    for (const auto& [key, line] : expected) {
        const auto found = table.Find(key);
        Check(found && *found == line, "every key finds the last line filed under it");
    }
    Check(!table.Find(text + "|").has_value(), "a key holding | matches nothing");

    kavrel::WordTable reloaded;
    kavrel::LoadDictionaryText(kavrel::BuildDictionaryText(table), reloaded, nullptr);
    Check(reloaded.Count() == table.Count(), "a saved table loads with the same count");
    return 0;
}
