// A dictd article: a headword and translations, each one line without the separators that
// would split it, in time linear in the article (a slow input is a finding).
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/source_entry.h"

using kavrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string article = kavrel::fuzz::Bytes(data, size);
    const kavrel::tool::SourceEntry entry = kavrel::tool::ParseDictdArticle(article);
    Check(entry.headword.find('\n') == std::string::npos, "the headword is one line");
    for (const std::string& translation : entry.translations) {
        Check(!translation.empty(), "no empty translation");
        Check(translation.find_first_of("\n,;") == std::string::npos, "a translation is one row");
    }
    return 0;
}
