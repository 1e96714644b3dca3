// The dictionary of one direction in memory: entry lines filed under their lower-cased
// headword. The lines as loaded live in one text buffer; the table holds only their
// positions, in a flat open-addressing array, so a loaded table costs little more than the
// file itself. A line set later (an edit) lives in a small store of its own, so a change
// costs about its own bytes and never moves the loaded text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/key_hash.h"
#include "core/word_table_bytes.h"

namespace kavrel {

class WordTable {
public:
    // Every table hashes with a random key of its own, so no file can be made whose keys
    // collide; the order of its lines (and so of a save) differs from table to table.
    WordTable() = default;
    // A table hashing with the given key and kind (for tests that must know them).
    explicit WordTable(SipKey hashKey, KeyHash::Kind kind = KeyHash::Best()) : hash_(hashKey, kind) {}
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
    // adds an entry, a present key gets the new line. The line is copied into the edit
    // store; the loaded text is left as it is.
    void SetLine(std::string_view line);

    // Takes over a plain text whose lines will be filed with FileLineOfText, under a new
    // hash key (hash the lines after this call). The text ends at its first zero byte, as a
    // dictionary text does. expectedEntries sizes the array ahead of the lines, but never
    // beyond the size of the text itself: a table that needs more grows as its keys arrive.
    // A text of 2 GB or more throws std::length_error.
    void AdoptText(std::string text, size_t expectedEntries);
    std::string_view Text() const { return text_; }
    // Files the line text[offset, offset + length) of the adopted text; keyHash is
    // HashKey(KeyOfLine(line)), computed by the caller ahead of time (see PrefetchSlot).
    void FileLineOfText(size_t offset, size_t length, uint32_t keyHash);
    // Asks the processor to fetch the first slot a key of this hash probes. A bulk load
    // hashes a few lines ahead and prefetches, so filing rarely waits for memory.
    void PrefetchSlot(uint32_t keyHash) const {
        if (slots_.empty()) return;
        const size_t home = Home(keyHash);
        __builtin_prefetch(&tags_[home], 1);
        __builtin_prefetch(&slots_[home], 1);
    }

    // Calls f(line) for every entry in the table's own order (neither sorted nor the
    // order of reading); a save writes the lines in this order.
    template <class F>
    void ForEach(F&& f) const {
        // The slots are in hash order and the lines in reading order, so each line is a
        // cache miss: it is prefetched a few slots ahead, and the walk rarely waits for it.
        const size_t n = slots_.size();
        for (size_t i = 0; i < n; ++i) {
            if (i + kSlotsAhead < n) PrefetchLine(slots_[i + kSlotsAhead]);
            if (slots_[i].offset != kEmpty) f(LineOf(slots_[i]));
        }
    }

    // At least the length of all entry lines together (the adopted text and the changed
    // lines), known without reading a line.
    size_t LineBytesAtMost() const;

    // Bytes held: the text buffer, the slot array and the edit store.
    size_t MemoryBytes() const;

    // The hash of a key after lower-casing, as this table files it: KeyHash::OfLowered
    // under the table's key and kind.
    uint32_t HashKey(std::string_view key) const;
    // The least slot count that holds entries two thirds full (the size of a new array). Throws
    // std::length_error when no slot array of this process could hold that many.
    static size_t SlotsFor(size_t entries);
    // Whether line is filed under key: KeyOfLine(line) and key are equal after lower-casing.
    static bool LineHasKey(std::string_view line, std::string_view key);

private:
    // Four bytes: where the line is. A line's length is not kept: the line runs to its line
    // end (or the text's end). Nor is its key's hash: growing hashes each key again.
    // Beside each slot, in an array of its own, one byte of tag: 0 for a free slot, else
    // seven bits of the hash. The tags are a quarter of the slots' size and stay in the
    // caches, so a lookup whose tag matches none of its probe is answered without reading
    // a slot or a line from memory; a hit reads its slot and its line. The slots are kept
    // small so that they too stay in the caches as far as they can.
    struct Slot {
        uint32_t offset;  // of the line in text_, or kEdited | its index in edits_; kEmpty marks a free slot
    };
    static uint8_t Tag(uint32_t hash) { return static_cast<uint8_t>(0x80u | (hash & 0x7Fu)); }
    static constexpr uint32_t kEmpty = UINT32_MAX;
    static constexpr uint32_t kEdited = 0x80000000u;
    static constexpr size_t kSlotsAhead = 16;

    // The first slot a hash probes: the hash scaled to the slot count (any count, not only
    // powers of two, so the array is sized to the entries rather than to the next power).
    size_t Home(uint32_t hash) const {
        return static_cast<size_t>((uint64_t{hash} * slots_.size()) >> 32);
    }
    std::string_view LineOf(const Slot& slot) const {
        if (slot.offset & kEdited) return edits_[slot.offset & ~kEdited];
        const char* const start = text_.data() + slot.offset;
        const char* const end = word_bytes::LineEnd(start, text_.data() + text_.size());
        return std::string_view(start, static_cast<size_t>(end - start));
    }
    void PrefetchLine(const Slot& slot) const {
        if ((slot.offset & kEdited) == 0) __builtin_prefetch(text_.data() + slot.offset);  // not free, not edited
    }
    // Find for a key of known hash, slot by slot: any key, any slot.
    std::optional<std::string_view> FindByProbing(std::string_view key, uint32_t hash) const;
#if defined(__SSE2__)
    // Find for a key of 1 to 16 bytes, thirty-two tags at a time, without a branch on the
    // outcome; the few cases it cannot decide so go to FindByProbing. One function per kind
    // of hash, so that the lookup holds no test of the kind (which measurably slowed it);
    // both may hold AES code, though only the AES one does.
    template <KeyHash::Kind kKind>
    KAVREL_AES_CODE std::optional<std::string_view> FindShortKey(std::string_view key) const;
    template <KeyHash::Kind kKind>
    KAVREL_AES_CODE uint32_t HashKeyBlock(const word_bytes::KeyBlock& key) const;
#endif
#if defined(KAVREL_KEY_HASH_AES)
    // HashKey of a key of 1 to 16 bytes in a table of the AES kind.
    KAVREL_AES_CODE uint32_t HashKeyByAes(std::string_view key) const;
#endif
    void File(uint32_t offset, std::string_view key, uint32_t hash);
    void MakeRoomForOneMore();
    // The slot filed under key, or the free slot where it would go.
    size_t Probe(std::string_view key, uint32_t hash) const;
    void Put(size_t i, Slot slot, uint32_t hash) {
        slots_[i] = slot;
        tags_[i] = Tag(hash);
    }
    void Grow(size_t minimumSlots);

    KeyHash hash_;
    std::string text_;
    // Lines set after the load, one string each; a key edited again reuses its string, so
    // the store holds at most one line per key.
    std::vector<std::string> edits_;
    std::vector<Slot> slots_;
    std::vector<uint8_t> tags_;  // beside slots_, of the same size
    size_t count_ = 0;
    size_t growAt_ = 0;  // the count that would pass the maximum load
};

}  // namespace kavrel
