// Open addressing with linear probing over an array of slots, at most three quarters full,
// without wrapping: a probe runs on into a tail past the homes. Keys are hashed through a
// copy of the 1254 lower-casing table, a word of lowered bytes (eight, or four on a 32-bit
// processor) at a time. Building is in word_table_build.cpp; lookups of short keys where
// the processor has SSE2 in word_table_find.cpp.
#include "core/word_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "core/cp1254.h"
#include "core/entry_text.h"

namespace kavrel {
namespace {

constexpr size_t kMinimumSlots = 16;

// An array is sized to be at most two thirds full, and grows only past three quarters (see
// Build), so a table loaded full takes one eighth more keys (words added later) before it
// must grow.
// 64-bit arithmetic, since a 32-bit size_t overflows at 2^32 / 3 slots.
constexpr uint64_t SizedLoad(size_t slots) {
    return uint64_t{slots} * 2 / 3;
}

// LowerChar1254 as an array, filled once: the hot loops index it instead of calling.
struct LowerTable {
    unsigned char byte[256];
    LowerTable() {
        for (int b = 0; b < 256; ++b) byte[b] = static_cast<unsigned char>(LowerChar1254(static_cast<char>(b)));
    }
};

const unsigned char* Lower() {
    static const LowerTable table;
    return table.byte;
}

// A word of lowered bytes of p, packed little-end first: Word is uint64_t for SipHash and
// uint32_t for HalfSipHash.
template <class Word>
inline Word LoweredWord(const unsigned char* lower, const char* p) {
    Word word = 0;
    for (size_t i = 0; i < sizeof(Word); ++i) word |= Word{lower[static_cast<unsigned char>(p[i])]} << (8 * i);
    return word;
}

// The same for the 1 to sizeof(Word) - 1 bytes of a key's end, zeros above. It reads a
// fixed word's worth (repeating the last byte) and masks, so the varying length costs no
// branch.
template <class Word>
inline Word LoweredShortWord(const unsigned char* lower, const char* p, size_t count) {
    const size_t lastIndex = count - 1;
    Word word = 0;
    for (size_t i = 0; i < sizeof(Word); ++i) {
        word |= Word{lower[static_cast<unsigned char>(p[std::min(i, lastIndex)])]} << (8 * i);
    }
    return word & (~Word{0} >> (8 * (sizeof(Word) - count)));
}

// The keyed hash of the lowered bytes, packed as the hasher packs them: whole words, then
// the last bytes with the length.
template <class Word, class Hasher>
inline uint64_t HashLowered(Hasher hasher, std::string_view key) {
    const unsigned char* lower = Lower();
    const char* p = key.data();
    const size_t n = key.size();
    for (const char* const whole = p + (n & ~(sizeof(Word) - 1)); p < whole; p += sizeof(Word)) {
        hasher.Block(LoweredWord<Word>(lower, p));
    }
    const size_t rest = n & (sizeof(Word) - 1);
    return hasher.Finish(rest == 0 ? 0 : LoweredShortWord<Word>(lower, p, rest), n);
}

// The largest slot array a vector of this process may hold; Home() scales a 32-bit hash to
// the slot count, so no more than 2^32 - 1 slots either.
constexpr size_t kMaximumSlots = std::min<uint64_t>(static_cast<size_t>(PTRDIFF_MAX) / 4, UINT32_MAX / 2);
constexpr size_t kMaximumEntries = static_cast<size_t>(SizedLoad(kMaximumSlots));

}  // namespace

uint32_t WordTable::HashKey(std::string_view key) const {
#if defined(KAVREL_KEY_HASH_AES)
    if (hash_.kind() == KeyHash::Kind::kAes && !key.empty() && key.size() <= KeyHash::kAesKeyBytes) return HashKeyByAes(key);
#endif
    return hash_.BySip([&](auto hasher, auto word) { return HashLowered<decltype(word)>(hasher, key); });
}

size_t WordTable::SlotsFor(size_t entries) {
    if (entries > kMaximumEntries) throw std::length_error("dictionary has too many entries");
    // The least count that holds entries two thirds full: 2 * slots >= 3 * entries.
    return std::max(kMinimumSlots, static_cast<size_t>((uint64_t{entries} * 3 + 1) / 2));
}

WordTable& WordTable::operator=(WordTable&& other) noexcept {
    if (this == &other) return *this;
    hash_ = std::exchange(other.hash_, KeyHash());
    text_ = std::move(other.text_);
    textBytes_ = std::exchange(other.textBytes_, 0);
    textAllocated_ = std::exchange(other.textAllocated_, 0);
    tags_ = std::exchange(other.tags_, std::vector<uint8_t>());
    lengths_ = std::exchange(other.lengths_, std::vector<uint8_t>());
    groupStarts_ = std::exchange(other.groupStarts_, std::vector<uint32_t>());
    longLengths_ = std::exchange(other.longLengths_, {});
    edits_ = std::exchange(other.edits_, std::vector<std::string>());
    editOf_ = std::exchange(other.editOf_, {});
    homes_ = std::exchange(other.homes_, 0);
    count_ = std::exchange(other.count_, 0);
    growAt_ = std::exchange(other.growAt_, 0);
    return *this;
}

void WordTable::RemoveAll() {
    *this = WordTable(NewHashKey(), hash_.kind());
}

// Decided without searching the line for its "|" first: the key must be followed by one.
// No stored key holds a "|" (and no other byte lower-cases to one), so a key holding one
// matches nothing, while "" matches the lines that start with "|" or have none.
bool WordTable::LineHasKey(std::string_view line, std::string_view key) {
    const unsigned char* lower = Lower();
    const size_t n = key.size();
    if (n == 0) {
        const size_t bar = line.find('|');
        return bar == 0 || bar == std::string_view::npos;
    }
    if (line.size() <= n || line[n] != '|') return false;
    for (size_t i = 0; i < n; ++i) {
        if (key[i] == '|') return false;
        if (lower[static_cast<unsigned char>(line[i])] != lower[static_cast<unsigned char>(key[i])]) return false;
    }
    return true;
}

// Lines of the text never overlap, so together they are at most the text.
size_t WordTable::LineBytesAtMost() const {
    size_t bytes = textBytes_;
    for (const std::string& line : edits_) bytes += line.size();
    return bytes;
}

size_t WordTable::MemoryBytes() const {
    constexpr size_t kMapNode = 2 * sizeof(void*) + 2 * sizeof(uint32_t);  // about, per entry
    size_t bytes = textAllocated_ + tags_.capacity() + lengths_.capacity() +
                   groupStarts_.capacity() * sizeof(uint32_t) + edits_.capacity() * sizeof(std::string) +
                   (longLengths_.size() + editOf_.size()) * kMapNode +
                   (longLengths_.bucket_count() + editOf_.bucket_count()) * sizeof(void*);
    for (const std::string& line : edits_) bytes += line.capacity();
    return bytes;
}

size_t WordTable::OffsetOf(size_t slot) const {
    size_t offset = groupStarts_[slot / kGroup];
    for (size_t i = slot - slot % kGroup; i < slot; ++i) offset += LengthWithEnd(i);
    return offset;
}

std::string_view WordTable::LineOf(size_t slot) const {
    if (tags_[slot] & kEditedBit) return edits_[editOf_.at(static_cast<uint32_t>(slot))];
    return std::string_view(text_.get() + OffsetOf(slot), LengthWithEnd(slot) - 1);
}

size_t WordTable::Probe(std::string_view key, uint32_t hash) const {
    const uint8_t tag = Tag(hash);
    size_t i = Home(hash);
    for (; i < tags_.size(); ++i) {
        const uint8_t seen = tags_[i];
        if (seen == 0) return i;
        if ((seen & ~kEditedBit) == tag && LineHasKey(LineOf(i), key)) return i;
    }
    return i;
}

std::optional<std::string_view> WordTable::Find(std::string_view key) const {
    if (count_ == 0) return std::nullopt;
#if defined(__SSE2__)
    if (!key.empty() && key.size() <= word_bytes::kBlock) {
#if defined(KAVREL_KEY_HASH_AES)
        if (hash_.kind() == KeyHash::Kind::kAes) return FindShortKey<KeyHash::Kind::kAes>(key);
#endif
        return FindShortKey<KeyHash::Kind::kSip>(key);
    }
#endif
    return FindByProbing(key, HashKey(key));
}

std::optional<std::string_view> WordTable::FindByProbing(std::string_view key, uint32_t hash) const {
    const size_t i = Probe(key, hash);
    if (i == tags_.size() || tags_[i] == 0) return std::nullopt;
    return LineOf(i);
}

void WordTable::SetLine(std::string_view line) {
    const std::string_view key = KeyOfLine(line);
    const uint32_t hash = HashKey(key);
    const size_t i = Probe(key, hash);
    const bool present = i < tags_.size() && tags_[i] != 0;
    if (present && (tags_[i] & kEditedBit)) {
        edits_[editOf_.at(static_cast<uint32_t>(i))] = std::string(line);
        return;
    }
    // A new key past the maximum load or past the slots' end: the table is built again, a
    // quarter larger, with the line, and its edits join the text.
    if (!present && (count_ + 1 > growAt_ || i == tags_.size())) {
        Rebuild(&line, count_ + count_ / 4 + 1);
        return;
    }
    std::string owned(line);  // line may point into this table
    editOf_[static_cast<uint32_t>(i)] = static_cast<uint32_t>(edits_.size());
    edits_.push_back(std::move(owned));
    if (!present) {
        ++count_;
        tags_[i] = Tag(hash);
    }
    tags_[i] |= kEditedBit;
}

void WordTable::Rebuild(const std::string_view* line, size_t minimumEntries) {
    std::string joined;  // the table's lines and line, each ended by a line feed
    joined.reserve(LineBytesAtMost() + count_ + (line ? line->size() : 0) + 1);
    std::vector<SourceLine> lines;
    lines.reserve(count_ + 1);
    const auto add = [&](std::string_view each) {
        lines.push_back({static_cast<uint32_t>(joined.size()), static_cast<uint32_t>(each.size()), HashKey(KeyOfLine(each))});
        joined.append(each).push_back('\n');
    };
    ForEach(add);
    if (line) add(*line);  // line may point into this table: it is copied before the table changes
    Build(joined, lines, minimumEntries);
}

}  // namespace kavrel
