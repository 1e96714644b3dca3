// Open addressing with linear probing over an array of slots, at most three quarters full. Keys are
// hashed through a copy of the 1254 lower-casing table, a word of lowered bytes (eight, or
// four on a 32-bit processor) at a time. Lookups of short keys where the processor has SSE2
// are in word_table_find.cpp.
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

// An array is sized to be at most two thirds full, and grows only past three quarters, so a
// table loaded full takes one eighth more keys (words added later) before it must grow.
// 64-bit arithmetic, since a 32-bit size_t overflows at 2^32 / 3 slots.
constexpr uint64_t SizedLoad(size_t slots) {
    return uint64_t{slots} * 2 / 3;
}
constexpr uint64_t MaximumLoad(size_t slots) {
    return uint64_t{slots} * 3 / 4;
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
template <class Hasher, class Word>
inline uint64_t HashLowered(SipKey hashKey, std::string_view key) {
    const unsigned char* lower = Lower();
    const char* p = key.data();
    const size_t n = key.size();
    Hasher hasher(hashKey);
    for (const char* const whole = p + (n & ~(sizeof(Word) - 1)); p < whole; p += sizeof(Word)) {
        hasher.Block(LoweredWord<Word>(lower, p));
    }
    const size_t rest = n & (sizeof(Word) - 1);
    return hasher.Finish(rest == 0 ? 0 : LoweredShortWord<Word>(lower, p, rest), n);
}

// The largest slot array a vector of this process may hold; Home() scales a 32-bit hash to
// the slot count, so no more than 2^32 - 1 slots either.
constexpr size_t kMaximumSlots = std::min<uint64_t>(static_cast<size_t>(PTRDIFF_MAX) / 4, UINT32_MAX);
constexpr size_t kMaximumEntries = static_cast<size_t>(SizedLoad(kMaximumSlots));

}  // namespace

uint32_t WordTable::HashKey(std::string_view key) const {
#if defined(KAVREL_KEY_HASH_AES)
    if (hash_.kind() == KeyHash::Kind::kAes && !key.empty() && key.size() <= KeyHash::kAesKeyBytes) return HashKeyByAes(key);
#endif
    if constexpr (kTableHashIs64Bit) {
        const uint64_t h = HashLowered<SipHasher<1, 3>, uint64_t>(hash_.key(), key);
        return static_cast<uint32_t>(h ^ (h >> 32));
    } else {
        return static_cast<uint32_t>(HashLowered<HalfSipHasher<1, 3>, uint32_t>(hash_.key(), key));
    }
}

size_t WordTable::SlotsFor(size_t entries) {
    static_assert(sizeof(Slot) == 4);
    if (entries > kMaximumEntries) throw std::length_error("dictionary has too many entries");
    // The least count that holds entries two thirds full: 2 * slots >= 3 * entries.
    return std::max(kMinimumSlots, static_cast<size_t>((uint64_t{entries} * 3 + 1) / 2));
}

WordTable& WordTable::operator=(WordTable&& other) noexcept {
    if (this == &other) return *this;
    hash_ = std::exchange(other.hash_, KeyHash());
    text_ = std::exchange(other.text_, std::string());
    edits_ = std::exchange(other.edits_, std::vector<std::string>());
    slots_ = std::exchange(other.slots_, std::vector<Slot>());
    tags_ = std::exchange(other.tags_, std::vector<uint8_t>());
    count_ = std::exchange(other.count_, 0);
    growAt_ = std::exchange(other.growAt_, 0);
    return *this;
}

void WordTable::RemoveAll() {
    hash_ = KeyHash(NewHashKey(), hash_.kind());
    std::string().swap(text_);
    std::vector<std::string>().swap(edits_);
    std::vector<Slot>().swap(slots_);
    std::vector<uint8_t>().swap(tags_);
    count_ = 0;
    growAt_ = 0;
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
    size_t bytes = text_.size();
    for (const std::string& line : edits_) bytes += line.size();
    return bytes;
}

size_t WordTable::MemoryBytes() const {
    size_t bytes = text_.capacity() + slots_.capacity() * sizeof(Slot) + tags_.capacity() +
                   edits_.capacity() * sizeof(std::string);
    for (const std::string& line : edits_) bytes += line.capacity();
    return bytes;
}

size_t WordTable::Probe(std::string_view key, uint32_t hash) const {
    const size_t n = slots_.size();
    const uint8_t tag = Tag(hash);
    for (size_t i = Home(hash);;) {
        const uint8_t seen = tags_[i];
        if (seen == 0) return i;
        if (seen == tag && LineHasKey(LineOf(slots_[i]), key)) return i;
        if (++i == n) i = 0;
    }
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
    if (tags_[i] == 0) return std::nullopt;
    return LineOf(slots_[i]);
}

void WordTable::Grow(size_t minimumSlots) {
    std::vector<Slot> old(minimumSlots, Slot{kEmpty});
    old.swap(slots_);
    std::vector<uint8_t>(minimumSlots, 0).swap(tags_);
    growAt_ = static_cast<size_t>(MaximumLoad(slots_.size()));
    const size_t n = slots_.size();
    for (size_t from = 0; from < old.size(); ++from) {
        const Slot slot = old[from];
        if (from + kSlotsAhead < old.size()) PrefetchLine(old[from + kSlotsAhead]);
        if (slot.offset == kEmpty) continue;
        // No hash is kept: each key is hashed again from its line, fetched a few slots ahead.
        const uint32_t hash = HashKey(KeyOfLine(LineOf(slot)));
        size_t i = Home(hash);
        while (tags_[i] != 0) {
            if (++i == n) i = 0;
        }
        Put(i, slot, hash);
    }
}

// A growth makes room for a quarter more keys than the table holds, so filing n keys one
// by one costs O(n) and a table grown by added words stays near its loaded size.
void WordTable::MakeRoomForOneMore() {
    if (count_ + 1 <= growAt_) return;
    if (count_ + 1 > kMaximumEntries) throw std::length_error("dictionary has too many entries");
    Grow(SlotsFor(std::min(count_ + count_ / 4 + 1, kMaximumEntries)));
}

void WordTable::File(uint32_t offset, std::string_view key, uint32_t hash) {
    MakeRoomForOneMore();
    const size_t i = Probe(key, hash);
    if (tags_[i] == 0) ++count_;
    Put(i, Slot{offset}, hash);
}

void WordTable::SetLine(std::string_view line) {
    std::string owned(line);  // line may point into this table, which the change can move
    const std::string_view key = KeyOfLine(owned);
    const uint32_t hash = HashKey(key);
    MakeRoomForOneMore();
    const size_t i = Probe(key, hash);
    const bool present = tags_[i] != 0;
    if (present && (slots_[i].offset & kEdited) != 0) {
        edits_[slots_[i].offset & ~kEdited] = std::move(owned);
        return;
    }
    if (edits_.size() >= kEdited - 1) throw std::length_error("too many edited lines");
    const auto index = static_cast<uint32_t>(edits_.size());
    edits_.push_back(std::move(owned));
    if (!present) ++count_;
    Put(i, Slot{kEdited | index}, hash);
}

void WordTable::AdoptText(std::string text, size_t expectedEntries) {
    text.resize(LengthBeforeZero(text));  // a line then ends at a line end or at the text's end
    if (text.size() >= kEdited) throw std::length_error("dictionary text too large");
    RemoveAll();
    text_ = std::move(text);
    // No larger than the text, so that lines which repeat a few keys (or a file of line
    // ends) cannot make the table reserve many times the file's size.
    const size_t slotsInText = text_.size() / (sizeof(Slot) + 1);  // a slot and its tag
    const size_t affordable = static_cast<size_t>(SizedLoad(std::max(kMinimumSlots, slotsInText)));
    Grow(SlotsFor(std::min(expectedEntries, affordable)));
}

void WordTable::FileLineOfText(size_t offset, size_t length, uint32_t keyHash) {
    File(static_cast<uint32_t>(offset), KeyOfLine(std::string_view(text_.data() + offset, length)), keyHash);
}

}  // namespace kavrel
