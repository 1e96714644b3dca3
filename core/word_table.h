// The dictionary of one direction in memory: entry lines filed under their lower-cased
// headword. The lines live in one text buffer; the table holds only their positions, in a
// flat open-addressing array, so a loaded table costs little more than the file itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/siphash.h"

namespace kavrel {

class WordTable {
public:
    // Every table hashes with a random key of its own, so no file can be made whose keys
    // collide; the order of its lines (and so of a save) differs from table to table.
    WordTable() = default;
    // A table hashing with the given key (for tests that must know it).
    explicit WordTable(SipKey hashKey) : hashKey_(hashKey) {}
    WordTable(const WordTable&) = default;
    WordTable& operator=(const WordTable&) = default;
    // A table moved from is left empty and usable.
    WordTable(WordTable&& other) noexcept { *this = std::move(other); }
    WordTable& operator=(WordTable&& other) noexcept;

    // Number of distinct keys: the word count the caption shows.
    size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }

    // Removes every entry and releases the text; the table refills under a new hash key.
    void RemoveAll();

    // The line filed under key (compared after lower-casing both sides), if any.
    std::optional<std::string_view> Find(std::string_view key) const;

    // Files a line under its headword lower-cased (or "" when it has no "|"): a new key
    // adds an entry, a present key gets the new line.
    void SetLine(std::string_view line);

    // Takes over a plain text whose lines will be filed with FileLineOfText, under a new
    // hash key (hash the lines after this call). expectedEntries sizes the array ahead of
    // the lines, but never beyond the size of the text itself: a table that needs more
    // grows as its keys arrive.
    void AdoptText(std::string text, size_t expectedEntries);
    std::string_view Text() const { return text_; }
    // Files the line text[offset, offset + length) of the adopted text; keyHash is
    // HashKey(KeyOfLine(line)), computed by the caller ahead of time (see PrefetchSlot).
    void FileLineOfText(size_t offset, size_t length, uint32_t keyHash);
    // Asks the processor to fetch the first slot a key of this hash probes. A bulk load
    // hashes a few lines ahead and prefetches, so filing rarely waits for memory.
    void PrefetchSlot(uint32_t keyHash) const {
        if (!slots_.empty()) __builtin_prefetch(&slots_[keyHash & (slots_.size() - 1)], 1);
    }

    // Calls f(line) for every entry in the table's own order (neither sorted nor the
    // order of reading); a save writes the lines in this order.
    template <class F>
    void ForEach(F&& f) const {
        for (const Slot& slot : slots_) {
            if (slot.offset != kEmpty) f(std::string_view(text_.data() + slot.offset, slot.length));
        }
    }

    // Bytes held: the text buffer and the slot array.
    size_t MemoryBytes() const { return text_.capacity() + slots_.capacity() * sizeof(Slot); }

    // The hash of a key after lower-casing, as this table files it: SipHash-1-3 under the
    // table's key, folded to 32 bits.
    uint32_t HashKey(std::string_view key) const;
    // The power-of-two slot count that holds entries within the maximum load. Throws
    // std::length_error when no slot array of this process could hold that many.
    static size_t SlotsFor(size_t entries);
    // Whether line is filed under key: KeyOfLine(line) and key are equal after lower-casing.
    static bool LineHasKey(std::string_view line, std::string_view key);

private:
    struct Slot {
        uint32_t offset;  // of the line in text_; kEmpty marks a free slot
        uint32_t length;  // of the line
        uint32_t hash;    // of the lower-cased key
    };
    static constexpr uint32_t kEmpty = UINT32_MAX;

    void File(uint32_t offset, uint32_t length, uint32_t hash);
    Slot* Probe(std::string_view key, uint32_t hash);
    const Slot* Probe(std::string_view key, uint32_t hash) const;
    std::string_view LineOf(const Slot& slot) const;
    void Grow(size_t minimumSlots);

    SipKey hashKey_ = NewHashKey();
    std::string text_;
    std::vector<Slot> slots_;
    size_t count_ = 0;
    size_t growAt_ = 0;  // the count that would pass the maximum load
};

}  // namespace kavrel
