// The lookup's decision.
#include "core/lookup.h"

#include "core/captions.h"
#include "core/entry_text.h"

namespace kavrel {

LookupDecision DecideLookup(const WordTable& table, std::string_view word) {
    LookupDecision decision;
    if (word.empty()) return decision;
    const std::optional<std::string_view> entry = table.Find(word);  // lower-cases both sides itself
    if (!entry) {
        decision.caption = std::string(captions::kNotFound);
        return decision;
    }
    const EntryParts parts = SplitEntry(*entry);
    decision.headword = std::string(parts.headword);
    decision.rows = SplitTranslations(parts.translations);
    decision.caption = captions::Found(table.Count());
    return decision;
}

}  // namespace kavrel
