// Open addressing with linear probing over an array of slots, at most three quarters full. Keys are
// lowered once through a copy of the 1254 lower-casing table, then hashed a word (eight
// bytes, or four on a 32-bit processor) at a time.
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

// LowerChar1254 as an array, filled once, each byte's lower case in the low eight bits and
// above them what the byte is to a key: the hot loops index it instead of calling.
constexpr unsigned kBar = 0x100;      // "|": no key holds one
constexpr unsigned kLineEndByte = 0x200;  // CR, LF or zero: no key of the loaded text holds one
struct LowerTable {
    uint16_t entry[256];
    LowerTable() {
        for (int b = 0; b < 256; ++b) {
            const unsigned kind = b == '|' ? kBar : (b == '\r' || b == '\n' || b == 0) ? kLineEndByte : 0;
            entry[b] = static_cast<uint16_t>(static_cast<unsigned char>(LowerChar1254(static_cast<char>(b))) | kind);
        }
    }
};

const uint16_t* Lower() {
    static const LowerTable table;
    return table.entry;
}

inline unsigned char LowerByte(const uint16_t* lower, char c) {
    return static_cast<unsigned char>(lower[static_cast<unsigned char>(c)]);
}

// The keyed hash of bytes that are followed by zeros up to the end of the word holding
// their last byte, packed as the hasher packs them: whole words, then the last bytes (or a
// word of zeros) with the length.
template <class Hasher, class Word>
inline uint64_t HashPadded(SipKey hashKey, const char* p, size_t n) {
    Hasher hasher(hashKey);
    for (const char* const whole = p + (n & ~(sizeof(Word) - 1)); p < whole; p += sizeof(Word)) {
        hasher.Block(word_bytes::Load<Word>(p));
    }
    return hasher.Finish(word_bytes::Load<Word>(p), n);
}

// The largest slot array a vector of this process may hold; Home() scales a 32-bit hash to
// the slot count, so no more than 2^32 - 1 slots either.
constexpr size_t kMaximumSlots = std::min<uint64_t>(static_cast<size_t>(PTRDIFF_MAX) / 8, UINT32_MAX);
constexpr size_t kMaximumEntries = static_cast<size_t>(SizedLoad(kMaximumSlots));

}  // namespace

// A key lower-cased once into a buffer, zeros after it up to the end of its last word as
// the hash reads it; on the stack unless the key is long. It also notes whether the key
// holds a "|" or a line end.
class WordTable::LoweredKey {
public:
    explicit LoweredKey(std::string_view key) : size_(key.size()) {
        char* out = small_;
        if (size_ > kOnStack) {
            large_.resize(size_ + sizeof(uint64_t));
            out = large_.data();
        }
        const uint64_t zeros[2] = {};
        if (size_ <= kOnStack) std::memcpy(out, zeros, sizeof zeros);  // a lookup compares sixteen bytes
        std::memcpy(out + (size_ & ~size_t{7}), zeros, sizeof(uint64_t));
        const uint16_t* lower = Lower();
        unsigned kinds = 0;
        for (size_t i = 0; i < size_; ++i) {
            const unsigned entry = lower[static_cast<unsigned char>(key[i])];
            out[i] = static_cast<char>(entry);
            kinds |= entry;
        }
        data_ = out;
        kinds_ = kinds & (kBar | kLineEndByte);
    }
    LoweredKey(const LoweredKey&) = delete;
    LoweredKey& operator=(const LoweredKey&) = delete;

    std::string_view View() const { return {data_, size_}; }
    const char* Padded() const { return data_; }
    bool HoldsBar() const { return (kinds_ & kBar) != 0; }
    bool HoldsLineEnd() const { return (kinds_ & kLineEndByte) != 0; }

private:
    static constexpr size_t kOnStack = 64;  // at least sixteen
    char small_[kOnStack + sizeof(uint64_t)];
    std::string large_;
    const char* data_ = nullptr;
    size_t size_;
    unsigned kinds_ = 0;
};

uint32_t WordTable::HashOf(const LoweredKey& key) const {
    const size_t n = key.View().size();
    if constexpr (kTableHashIs64Bit) {
        const uint64_t h = HashPadded<SipHasher<1, 3>, uint64_t>(hashKey_, key.Padded(), n);
        return static_cast<uint32_t>(h ^ (h >> 32));
    } else {
        return static_cast<uint32_t>(HashPadded<HalfSipHasher<1, 3>, uint32_t>(hashKey_, key.Padded(), n));
    }
}

uint32_t WordTable::HashKey(std::string_view key) const {
    return HashOf(LoweredKey(key));
}

size_t WordTable::SlotsFor(size_t entries) {
    static_assert(sizeof(Slot) == 8);
    if (entries > kMaximumEntries) throw std::length_error("dictionary has too many entries");
    // The least count that holds entries two thirds full: 2 * slots >= 3 * entries.
    return std::max(kMinimumSlots, static_cast<size_t>((uint64_t{entries} * 3 + 1) / 2));
}

WordTable& WordTable::operator=(WordTable&& other) noexcept {
    if (this == &other) return *this;
    hashKey_ = std::exchange(other.hashKey_, NewHashKey());
    text_ = std::exchange(other.text_, std::string());
    edits_ = std::exchange(other.edits_, std::vector<std::string>());
    slots_ = std::exchange(other.slots_, std::vector<Slot>());
    tags_ = std::exchange(other.tags_, std::vector<uint8_t>());
    count_ = std::exchange(other.count_, 0);
    growAt_ = std::exchange(other.growAt_, 0);
    return *this;
}

void WordTable::RemoveAll() {
    hashKey_ = NewHashKey();
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
    const uint16_t* lower = Lower();
    const size_t n = key.size();
    if (n == 0) {
        const size_t bar = line.find('|');
        return bar == 0 || bar == std::string_view::npos;
    }
    if (line.size() <= n || line[n] != '|') return false;
    for (size_t i = 0; i < n; ++i) {
        if (key[i] == '|') return false;
        if (LowerByte(lower, line[i]) != LowerByte(lower, key[i])) return false;
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
        if (seen == tag && slots_[i].hash == hash && LineHasKey(LineOf(slots_[i]), key)) return i;
        if (++i == n) i = 0;
    }
}

// A lookup lowers and hashes its key once; a slot whose tag and hash match is then
// compared with its line a byte at a time without a branch until the end of the key, and
// only a match looks for the line's end, from the bar on.
std::optional<std::string_view> WordTable::Find(std::string_view key) const {
    if (count_ == 0) return std::nullopt;
    const LoweredKey lowered(key);
    if (lowered.HoldsBar()) return std::nullopt;  // no stored key holds one
    const uint32_t hash = HashOf(lowered);
    const uint8_t tag = Tag(hash);
    const size_t n = slots_.size();
    for (size_t i = Home(hash);;) {
        const uint8_t seen = tags_[i];
        if (seen == 0) return std::nullopt;
        if (seen == tag && slots_[i].hash == hash) {
            if (const std::optional<std::string_view> line = LineUnder(slots_[i], lowered)) return line;
        }
        if (++i == n) i = 0;
    }
}

std::optional<std::string_view> WordTable::LineUnder(const Slot& slot, const LoweredKey& key) const {
    const std::string_view k = key.View();
    if ((slot.offset & kEdited) != 0 || k.empty() || key.HoldsLineEnd()) {
        const std::string_view line = LineOf(slot);
        if (LineHasKey(line, k)) return line;
        return std::nullopt;
    }
    // A line of the text holds no line end before its own, and the text ends with a zero
    // byte: the key's bytes and the one after them lie in the text, or the line is shorter.
    const char* const line = text_.data() + slot.offset;
    const auto readable = static_cast<size_t>(text_.data() + text_.size() - line);  // and the zero after them
    if (readable < k.size()) return std::nullopt;
    bool same = line[k.size()] == '|';
#if defined(__SSE2__)
    if (k.size() <= word_bytes::kBlock && readable >= word_bytes::kBlock) {
        same &= word_bytes::BlockStartsWith(line, key.Padded(), k.size());
    } else
#endif
    {
        const uint16_t* lower = Lower();
        unsigned differ = 0;
        for (size_t i = 0; i < k.size(); ++i) differ |= LowerByte(lower, line[i]) ^ static_cast<unsigned char>(k[i]);
        same &= differ == 0;
    }
    if (!same) return std::nullopt;
    return TextLineFrom(line, line + k.size() + 1);
}

void WordTable::Grow(size_t minimumSlots) {
    std::vector<Slot> old(minimumSlots, Slot{kEmpty, 0});
    old.swap(slots_);
    std::vector<uint8_t>(minimumSlots, 0).swap(tags_);
    growAt_ = static_cast<size_t>(MaximumLoad(slots_.size()));
    const size_t n = slots_.size();
    for (const Slot& slot : old) {
        if (slot.offset == kEmpty) continue;
        size_t i = Home(slot.hash);
        while (tags_[i] != 0) {
            if (++i == n) i = 0;
        }
        Put(i, slot);
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
    Put(i, Slot{offset, hash});
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
    Put(i, Slot{kEdited | index, hash});
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
