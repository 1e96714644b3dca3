// The dictionary of one direction in memory: entry lines filed under their lower-cased
// headword. The lines live in one text buffer in the order of their slots, so a slot needs
// no position of its own: a line starts where the lines of the slots before it end. The
// slots are a tag byte and a length byte each, small enough to stay in the caches, so a
// lookup reads memory once for its line. A line set later (an edit) lives in a small store
// of its own, so a change costs about its own bytes and never moves the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    WordTable(const WordTable&) = delete;
    WordTable& operator=(const WordTable&) = delete;
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
    // store; the text is left as it is unless the table must grow.
    void SetLine(std::string_view line);

    // The longest text a table holds: lines are found by 32-bit offsets, and a text of 2 GB
    // or more is refused.
    static constexpr size_t kMaximumTextBytes = size_t{0x7FFFFFFF};

    // A line to file with Build: where it is in the text given with it, and
    // HashKey(KeyOfLine(line)). Twelve bytes, so that a million lines are sorted quickly.
    struct SourceLine {
        uint32_t offset;
        uint32_t length;
        uint32_t keyHash;
    };
    // Keeps, of the lines of text filed under one key, only the last in the vector's order
    // (the vector is reordered). A load calls it now and then, so that a file of many
    // repeated lines holds few of them at once.
    void DropReplaced(std::string_view text, std::vector<SourceLine>& lines) const;
    // Replaces the table's contents by the lines of text (a later line of a key replacing
    // an earlier one), copied into a new text in slot order; text may be this table's own.
    // The slots are sized for at least minimumEntries. Throws std::length_error when the
    // lines are too many or too long for a table.
    void Build(std::string_view text, std::vector<SourceLine>& lines, size_t minimumEntries = 0);

    // Calls f(line) for every entry in the table's own order (neither sorted nor the
    // order of reading); a save writes the lines in this order.
    template <class F>
    void ForEach(F&& f) const {
        size_t offset = 0;
        for (size_t i = 0; i < tags_.size(); ++i) {
            if (i % kGroup == 0) offset = groupStarts_[i / kGroup];
            const size_t length = LengthWithEnd(i);
            if (tags_[i] & kEditedBit) f(std::string_view(edits_[editOf_.at(static_cast<uint32_t>(i))]));
            else if (tags_[i] != 0) f(std::string_view(text_.get() + offset, length - 1));
            offset += length;
        }
    }

    // At least the length of all entry lines together (the text and the changed lines),
    // known without reading a line.
    size_t LineBytesAtMost() const;
    // The text of the lines in slot order (for tests: an edit does not move it).
    std::string_view Text() const { return std::string_view(text_.get(), textBytes_); }

    // Bytes held: the text, the slots and the edit store.
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
    friend class TableBuilder;

    // A slot's tag: 0 for a free slot, else the high bit, kEditedBit when its line is in
    // the edit store, and six bits of its key's hash.
    static constexpr uint8_t kEditedBit = 0x40;
    static constexpr uint8_t kTagHashBits = 0x3F;
    static uint8_t Tag(uint32_t hash) { return static_cast<uint8_t>(0x80u | (hash & kTagHashBits)); }
    // A slot's length byte: its text line's length with its line end, 0 for none, and
    // kLongLine for 255 or more (the length is then in longLengths_).
    static constexpr uint8_t kLongLine = 255;
    static constexpr size_t kGroup = 16;  // slots per recorded start in the text

    // The first slot a hash probes: the hash scaled to the home count (any count, not only
    // powers of two). Probes run on past the homes into a tail of slots and never wrap.
    size_t Home(uint32_t hash) const { return static_cast<size_t>((uint64_t{hash} * homes_) >> 32); }
    size_t LengthWithEnd(size_t slot) const {
        const uint8_t length = lengths_[slot];
        return length == kLongLine ? longLengths_.at(static_cast<uint32_t>(slot)) + size_t{1} : length;
    }
    size_t OffsetOf(size_t slot) const;
    std::string_view LineOf(size_t slot) const;
    // Find for a key of known hash, slot by slot: any key, any slot.
    std::optional<std::string_view> FindByProbing(std::string_view key, uint32_t hash) const;
    // The slot filed under key, or the free slot where it would go (tags_.size() when the
    // probe runs off the end).
    size_t Probe(std::string_view key, uint32_t hash) const;
    // Builds the table again from its own lines and then line (if any), with slots for at
    // least minimumEntries.
    void Rebuild(const std::string_view* line, size_t minimumEntries);
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

    KeyHash hash_;
    // The lines in slot order, each followed by a line feed, then zeros that a lookup may
    // read past the last line; allocated without being cleared, as a build writes it whole.
    std::unique_ptr<char[]> text_;
    size_t textBytes_ = 0;
    size_t textAllocated_ = 0;  // more than textBytes_ when lines replaced by later ones were dropped
    std::vector<uint8_t> tags_;
    std::vector<uint8_t> lengths_;
    std::vector<uint32_t> groupStarts_;  // the offset of the first line of each kGroup slots
    std::unordered_map<uint32_t, uint32_t> longLengths_;  // slot -> length without the line end
    // Lines set after the build, one string each; a key edited again reuses its string.
    std::vector<std::string> edits_;
    std::unordered_map<uint32_t, uint32_t> editOf_;  // slot -> its index in edits_
    size_t homes_ = 0;
    size_t count_ = 0;
    size_t growAt_ = 0;  // the count that would pass the maximum load
};

}  // namespace kavrel
