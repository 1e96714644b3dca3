// Open addressing with linear probing over a power-of-two array of slots, at most 70 % full.
// Keys are hashed and compared through a copy of the 1254 lower-casing table, a word of
// eight lowered bytes at a time.
#include "core/word_table.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "core/cp1254.h"
#include "core/entry_text.h"

namespace kavrel {
namespace {

constexpr size_t kMinimumSlots = 16;

// The entries a slot array holds at the maximum load, 70 %; 64-bit arithmetic, since a
// 32-bit size_t overflows at 2^32 / 7 slots.
uint64_t MaximumLoad(size_t slots) {
    return uint64_t{slots} * 7 / 10;
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

// Eight lowered bytes of p, packed little-end first.
inline uint64_t LoweredWord(const unsigned char* lower, const char* p) {
    uint64_t word = 0;
    for (size_t i = 0; i < 8; ++i) word |= uint64_t{lower[static_cast<unsigned char>(p[i])]} << (8 * i);
    return word;
}

// The same for the 1 to 8 bytes of a short key, zeros above. It reads a fixed eight bytes
// (repeating the last one) and masks, so the varying key length costs no branch.
inline uint64_t LoweredShortWord(const unsigned char* lower, const char* p, size_t count) {
    const size_t lastIndex = count - 1;
    uint64_t word = 0;
    for (size_t i = 0; i < 8; ++i) {
        word |= uint64_t{lower[static_cast<unsigned char>(p[std::min(i, lastIndex)])]} << (8 * i);
    }
    return word & (~uint64_t{0} >> (64 - 8 * count));
}

}  // namespace

// SipHash of the lowered bytes, packed as SipHash packs them: whole blocks of eight, then
// the last 0 to 7 bytes with the length.
uint32_t WordTable::HashKey(std::string_view key) const {
    const unsigned char* lower = Lower();
    const char* p = key.data();
    const size_t n = key.size();
    SipHasher<1, 3> hasher(hashKey_);
    for (const char* const whole = p + (n & ~size_t{7}); p < whole; p += 8) hasher.Block(LoweredWord(lower, p));
    const size_t rest = n & 7;
    const uint64_t h = hasher.Finish(rest == 0 ? 0 : LoweredShortWord(lower, p, rest), n);
    return static_cast<uint32_t>(h ^ (h >> 32));
}

size_t WordTable::SlotsFor(size_t entries) {
    // The largest array a vector of this process may hold, rounded down to a power of two.
    constexpr size_t kMaximumSlots = std::bit_floor(static_cast<size_t>(PTRDIFF_MAX) / sizeof(Slot));
    size_t slots = kMinimumSlots;
    while (MaximumLoad(slots) < entries) {
        if (slots >= kMaximumSlots) throw std::length_error("dictionary has too many entries");
        slots *= 2;
    }
    return slots;
}

WordTable& WordTable::operator=(WordTable&& other) noexcept {
    if (this == &other) return *this;
    hashKey_ = std::exchange(other.hashKey_, NewHashKey());
    text_ = std::exchange(other.text_, std::string());
    edits_ = std::exchange(other.edits_, std::vector<std::string>());
    slots_ = std::exchange(other.slots_, std::vector<Slot>());
    count_ = std::exchange(other.count_, 0);
    growAt_ = std::exchange(other.growAt_, 0);
    return *this;
}

void WordTable::RemoveAll() {
    hashKey_ = NewHashKey();
    std::string().swap(text_);
    std::vector<std::string>().swap(edits_);
    std::vector<Slot>().swap(slots_);
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

size_t WordTable::LineBytes() const {
    size_t bytes = 0;
    for (const Slot& slot : slots_) {
        if (slot.offset != kEmpty) bytes += (slot.offset & kEdited) ? edits_[slot.offset & ~kEdited].size() : slot.length;
    }
    return bytes;
}

size_t WordTable::MemoryBytes() const {
    size_t bytes = text_.capacity() + slots_.capacity() * sizeof(Slot) + edits_.capacity() * sizeof(std::string);
    for (const std::string& line : edits_) bytes += line.capacity();
    return bytes;
}

const WordTable::Slot* WordTable::Probe(std::string_view key, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.offset == kEmpty) return &slot;
        if (slot.hash == hash && LineHasKey(LineOf(slot), key)) return &slot;
    }
}

WordTable::Slot* WordTable::Probe(std::string_view key, uint32_t hash) {
    return const_cast<Slot*>(static_cast<const WordTable*>(this)->Probe(key, hash));
}

std::optional<std::string_view> WordTable::Find(std::string_view key) const {
    if (count_ == 0) return std::nullopt;
    const Slot* slot = Probe(key, HashKey(key));
    if (slot->offset == kEmpty) return std::nullopt;
    return LineOf(*slot);
}

void WordTable::Grow(size_t minimumSlots) {
    std::vector<Slot> old(minimumSlots, Slot{kEmpty, 0, 0});
    old.swap(slots_);
    growAt_ = static_cast<size_t>(MaximumLoad(slots_.size()));
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.offset == kEmpty) continue;
        size_t i = slot.hash & mask;
        while (slots_[i].offset != kEmpty) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void WordTable::File(uint32_t offset, uint32_t length, uint32_t hash) {
    if (count_ + 1 > growAt_) Grow(SlotsFor(count_ + 1));
    const std::string_view key = KeyOfLine(std::string_view(text_.data() + offset, length));
    Slot* slot = Probe(key, hash);
    if (slot->offset == kEmpty) ++count_;
    *slot = Slot{offset, length, hash};
}

void WordTable::SetLine(std::string_view line) {
    std::string owned(line);  // line may point into this table, which the change can move
    const std::string_view key = KeyOfLine(owned);
    const uint32_t hash = HashKey(key);
    if (count_ + 1 > growAt_) Grow(SlotsFor(count_ + 1));
    Slot* slot = Probe(key, hash);
    if (slot->offset != kEmpty && (slot->offset & kEdited) != 0) {
        edits_[slot->offset & ~kEdited] = std::move(owned);
        return;
    }
    if (edits_.size() >= kEdited - 1) throw std::length_error("too many edited lines");
    const auto index = static_cast<uint32_t>(edits_.size());
    edits_.push_back(std::move(owned));
    if (slot->offset == kEmpty) ++count_;
    *slot = Slot{kEdited | index, 0, hash};
}

void WordTable::AdoptText(std::string text, size_t expectedEntries) {
    if (text.size() >= kEdited) throw std::length_error("dictionary text too large");
    RemoveAll();
    text_ = std::move(text);
    // The largest array no larger than the text, so that lines which repeat a few keys
    // (or a file of line ends) cannot make the table reserve many times the file's size.
    size_t affordable = kMinimumSlots;
    while (affordable <= text_.size() / sizeof(Slot) / 2) affordable *= 2;
    Grow(SlotsFor(static_cast<size_t>(std::min<uint64_t>(expectedEntries, MaximumLoad(affordable)))));
}

void WordTable::FileLineOfText(size_t offset, size_t length, uint32_t keyHash) {
    File(static_cast<uint32_t>(offset), static_cast<uint32_t>(length), keyHash);
}

}  // namespace kavrel
