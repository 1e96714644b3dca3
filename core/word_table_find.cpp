// The lookup of a key of up to sixteen bytes (nearly every word looked up), written so the
// processor can run the next lookups while this one waits for memory: the key is lower-cased
// and hashed in one block, thirty-two tags are compared at once, and whether the key is found
// decides no branch. A lookup whose tags match nothing reads a slot and a line that are
// always in the caches instead of branching away, so it never waits for memory; a hit
// waits for its slot and its line.
#include "core/word_table.h"

#if defined(__SSE2__)
#include <bit>

namespace kavrel {
namespace {

using word_bytes::kBlock;

// The bytes a lookup reads at a line: the key's block and the bar after it, then four blocks
// for the line's end.
constexpr size_t kLineReach = kBlock + 1 + 4 * kBlock;
// The line a lookup without a candidate compares with: zeros, which no comparable key matches.
alignas(64) constexpr char kNoLine[kLineReach] = {};

// HashLowered (word_table.cpp) of the key a block holds: the same words, taken from the
// lowered block, whose bytes after the key are zeros.
template <class Hasher, class Word>
uint64_t HashLoweredBlock(SipKey hashKey, const word_bytes::KeyBlock& key) {
    Hasher hasher(hashKey);
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
    if constexpr (kTableHashIs64Bit) {
        const uint64_t h = HashLoweredBlock<SipHasher<1, 3>, uint64_t>(hash_.key(), key);
        return static_cast<uint32_t>(h ^ (h >> 32));
    } else {
        return static_cast<uint32_t>(HashLoweredBlock<HalfSipHasher<1, 3>, uint32_t>(hash_.key(), key));
    }
}

#if defined(KAVREL_KEY_HASH_AES)
uint32_t WordTable::HashKeyByAes(std::string_view key) const {
    return HashKeyBlock<KeyHash::Kind::kAes>(word_bytes::MakeKeyBlock(key.data(), key.size()));
}
#endif

template <KeyHash::Kind kKind>
std::optional<std::string_view> WordTable::FindShortKey(std::string_view key) const {
    static constexpr Slot kNoSlot{0};
    const word_bytes::KeyBlock block = word_bytes::MakeKeyBlock(key.data(), key.size());
    const uint32_t hash = HashKeyBlock<kKind>(block);
    const size_t home = Home(hash);
    __builtin_prefetch(&slots_[home]);  // fetched with its tags: a hit does not wait for the two in turn
    if (!block.comparable || home + word_bytes::kTagsScanned > slots_.size()) return FindByProbing(key, hash);
    const word_bytes::TagRun run = word_bytes::ScanTags(&tags_[home], Tag(hash));
    // Thirty-two full slots, or two tags like the key's before a free one: rare.
    if (!run.ended || (run.matches & (run.matches - 1)) != 0) return FindByProbing(key, hash);

    const bool candidate = run.matches != 0;
    const Slot* const slot = Pick(candidate, &slots_[home + std::countr_zero(run.matches | (1u << (word_bytes::kTagsScanned - 1)))], &kNoSlot);
    const uint32_t offset = slot->offset;
    const bool inText = (offset & kEdited) == 0 && size_t{offset} + kLineReach <= text_.size();
    // An edited line, or one among the text's last bytes: rare.
    if (candidate > inText) return FindByProbing(key, hash);

    const char* const line = Pick(candidate, text_.data() + offset, kNoLine);
    const bool found = candidate & word_bytes::BlockHasKey(line, block);
    const char* const afterBar = line + block.n + 1;
    const char* end = word_bytes::LineEndInFourBlocks(afterBar);
    if (end == nullptr) end = word_bytes::LineEnd(afterBar + 4 * kBlock, text_.data() + text_.size());
    const std::optional<std::string_view> hit(std::string_view(line, static_cast<size_t>(end - line)));
    return *Pick(found, &hit, &kNotFound);
}

template std::optional<std::string_view> WordTable::FindShortKey<KeyHash::Kind::kSip>(std::string_view) const;
#if defined(KAVREL_KEY_HASH_AES)
template std::optional<std::string_view> WordTable::FindShortKey<KeyHash::Kind::kAes>(std::string_view) const;
#endif

}  // namespace kavrel
#endif
