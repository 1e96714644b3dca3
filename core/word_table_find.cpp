// The lookup of a key of up to sixteen bytes (nearly every word looked up), written so the
// processor can run the next lookups while this one waits for memory: the key is lower-cased
// and hashed in one block, thirty-two tags are compared at once, the line's start is summed
// from sixteen lengths at once, and whether the key is found decides no branch. A lookup
// whose tags match nothing compares a line that is always in the caches instead of
// branching away, so it never waits for memory; a hit waits for its line.
#include "core/word_table.h"

#if defined(__SSE2__)
#include <bit>

namespace kavrel {
namespace {

using word_bytes::kBlock;

// The line a lookup without a candidate compares with: zeros, which no comparable key matches.
alignas(64) constexpr char kNoLine[2 * kBlock] = {};

// HashLowered (word_table.cpp) of the key a block holds: the same words, taken from the
// lowered block, whose bytes after the key are zeros.
template <class Word, class Hasher>
uint64_t HashLoweredBlock(Hasher hasher, const word_bytes::KeyBlock& key) {
    const size_t whole = key.n / sizeof(Word);
    for (size_t i = 0; i < whole; ++i) hasher.Block(word_bytes::LoadAs<Word>(key.lowered + i * sizeof(Word)));
    const size_t tailAt = whole * sizeof(Word);
    return hasher.Finish(tailAt < kBlock ? word_bytes::LoadAs<Word>(key.lowered + tailAt) : 0, key.n);
}

// a where condition holds, else b, by arithmetic: the compiler makes no branch of it, so the
// processor does not guess at a condition that memory decides.
template <class T>
const T* Pick(bool condition, const T* a, const T* b) {
    const uintptr_t mask = 0 - static_cast<uintptr_t>(condition);
    return reinterpret_cast<const T*>((reinterpret_cast<uintptr_t>(a) & mask) | (reinterpret_cast<uintptr_t>(b) & ~mask));
}

const std::optional<std::string_view> kNotFound;

}  // namespace

// HashKey of the key the block holds, for a table of the given kind.
template <KeyHash::Kind kKind>
inline uint32_t WordTable::HashKeyBlock(const word_bytes::KeyBlock& key) const {
#if defined(KAVREL_KEY_HASH_AES)
    if constexpr (kKind == KeyHash::Kind::kAes) return hash_.OfAesBlock(_mm_load_si128(reinterpret_cast<const __m128i*>(key.lowered)));
#endif
    return hash_.BySip([&](auto hasher, auto word) { return HashLoweredBlock<decltype(word)>(hasher, key); });
}

#if defined(KAVREL_KEY_HASH_AES)
uint32_t WordTable::HashKeyByAes(std::string_view key) const {
    return HashKeyBlock<KeyHash::Kind::kAes>(word_bytes::MakeKeyBlock(key.data(), key.size()));
}
#endif

template <KeyHash::Kind kKind>
std::optional<std::string_view> WordTable::FindShortKey(std::string_view key) const {
    const word_bytes::KeyBlock block = word_bytes::MakeKeyBlock(key.data(), key.size());
    const uint32_t hash = HashKeyBlock<kKind>(block);
    const size_t home = Home(hash);
    // The lengths and the group's start are fetched with the tags: a hit does not wait for
    // them in turn.
    __builtin_prefetch(&lengths_[home]);
    __builtin_prefetch(&groupStarts_[home / kGroup]);
    if (!block.comparable) return FindByProbing(key, hash);
    const word_bytes::TagRun run = word_bytes::ScanTags(&tags_[home], Tag(hash), kEditedBit);
    // Thirty-two full slots, or two tags like the key's before a free one: rare.
    if (!run.ended || (run.matches & (run.matches - 1)) != 0) return FindByProbing(key, hash);

    const bool candidate = run.matches != 0;
    const size_t slot = home + static_cast<size_t>(std::countr_zero(run.matches | (1u << (word_bytes::kTagsScanned - 1))));
    const size_t group = slot / kGroup;
    const unsigned place = static_cast<unsigned>(slot % kGroup);
    const __m128i lengths = word_bytes::LoadBlock(reinterpret_cast<const char*>(&lengths_[group * kGroup]));
    const unsigned longs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(lengths, _mm_set1_epi8(static_cast<char>(kLongLine)))));
    // An edited line, or a long one in the group up to the slot: rare.
    if (candidate & (((tags_[slot] & kEditedBit) != 0) | ((longs & ((2u << place) - 1)) != 0))) {
        return FindByProbing(key, hash);
    }
    // The line starts after the lengths of the group's slots before it.
    const __m128i before = _mm_cmplt_epi8(_mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15),
                                          _mm_set1_epi8(static_cast<char>(place)));
    const __m128i sums = _mm_sad_epu8(_mm_and_si128(lengths, before), _mm_setzero_si128());
    const size_t offset = groupStarts_[group] + static_cast<size_t>(_mm_cvtsi128_si32(sums)) +
                          static_cast<size_t>(_mm_extract_epi16(sums, 4));
    const char* const line = Pick(candidate, text_.get() + offset, kNoLine);
    const bool found = candidate & word_bytes::BlockHasKey(line, block);
    const std::optional<std::string_view> hit(std::string_view(line, size_t{lengths_[slot]} - 1));
    return *Pick(found, &hit, &kNotFound);
}

template std::optional<std::string_view> WordTable::FindShortKey<KeyHash::Kind::kSip>(std::string_view) const;
#if defined(KAVREL_KEY_HASH_AES)
template std::optional<std::string_view> WordTable::FindShortKey<KeyHash::Kind::kAes>(std::string_view) const;
#endif

}  // namespace kavrel
#endif
