// The word table against hostile files: its keyed hash, keys crafted to collide, and the
// sizing of its slot array. Built and run natively and in the 32-bit Windows build.
#include <gtest/gtest.h>

#include <new>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/entry_text.h"
#include "core/key_hash.h"
#include "core/siphash.h"
#include "core/word_table.h"
#include "tools/bench/crafted_keys.h"

namespace kavrel {
namespace {

constexpr SipKey kReferenceKey{0x0706050403020100ull, 0x0f0e0d0c0b0a0908ull};  // bytes 00..0f

std::string Bytes(size_t count) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i));
    return bytes;
}

// The published results of both hashes for the key 00..0f (HalfSipHash takes its first
// eight bytes) and the messages 00, 01, ...
TEST(SipHash, MatchesTheReferenceResults) {
    EXPECT_EQ((SipHash<2, 4>(kReferenceKey, Bytes(0))), 0x726fdb47dd0e0e31ull);
    EXPECT_EQ((SipHash<2, 4>(kReferenceKey, Bytes(15))), 0xa129ca6149be45e5ull);
    EXPECT_EQ((HalfSipHash<2, 4>(kReferenceKey, Bytes(0))), 0x5b9f35a9u);
    EXPECT_EQ((HalfSipHash<2, 4>(kReferenceKey, Bytes(1))), 0xb85a4727u);
}

// Both kinds of the table's hash where the processor has AES, else SipHash alone.
std::vector<KeyHash::Kind> AvailableKinds() {
    std::vector<KeyHash::Kind> kinds{KeyHash::Kind::kSip};
    if (KeyHash::Available(KeyHash::Kind::kAes)) kinds.push_back(KeyHash::Kind::kAes);
    return kinds;
}

// The AES kind is AES-128 under the key's bytes: the published example (key 00..0f, block
// 00 11 .. ff, encrypted 69 c4 e0 d8 ..); the SipHash kind is SipHash-1-3 folded to 32 bits
// (HalfSipHash-1-3 on a 32-bit processor).
TEST(KeyHash, KindsAreTheirPublishedAlgorithms) {
    const uint64_t sip = SipHash<1, 3>(kReferenceKey, "ev");
    const uint32_t folded = kTableHashIs64Bit ? static_cast<uint32_t>(sip ^ (sip >> 32)) : HalfSipHash<1, 3>(kReferenceKey, "ev");
    EXPECT_EQ(KeyHash(kReferenceKey, KeyHash::Kind::kSip).OfLowered("ev"), folded);
    if (!KeyHash::Available(KeyHash::Kind::kAes)) GTEST_SKIP() << "no AES instructions";
    const KeyHash aes(kReferenceKey, KeyHash::Kind::kAes);
    EXPECT_EQ(aes.OfLowered(std::string_view("\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xaa\xbb\xcc\xdd\xee\xff", 16)), 0xd8e0c469u);
    EXPECT_EQ(aes.OfLowered(std::string(17, 'e')), (KeyHash(kReferenceKey, KeyHash::Kind::kSip).OfLowered(std::string(17, 'e'))))
        << "longer keys by SipHash";
}

// A copy hashes as its original wherever it lies: at both 8-byte positions of a 16-byte
// block (the 32-bit Windows heap gives only 8-byte alignment).
TEST(KeyHash, CopiesHashAlikeAtAnyAlignment) {
    const KeyHash original;
    alignas(16) unsigned char space[2 * sizeof(KeyHash) + 16];
    for (const size_t offset : {size_t{0}, size_t{8}}) {
        const KeyHash* copy = new (space + offset) KeyHash(original);
        EXPECT_EQ(copy->OfLowered("ev"), original.OfLowered("ev")) << offset;
        KeyHash assigned(NewHashKey(), KeyHash::Kind::kSip);
        assigned = *copy;
        EXPECT_EQ(assigned.OfLowered("kalem"), original.OfLowered("kalem")) << offset;
        copy->~KeyHash();
    }
}

// Keys of every length up to three blocks and every byte value: the table's hash is the
// keyed hash of the lower-cased key under the table's key and kind, so a key in capitals
// and in small letters file alike and every other byte counts.
TEST(WordTableHash, IsTheKeyedHashOfTheLowerCasedKey) {
    const SipKey key{0x0123456789abcdefull, 0xfedcba9876543210ull};
    for (const KeyHash::Kind kind : AvailableKinds()) {
        const WordTable table(key, kind);
        const KeyHash hash(key, kind);
        std::mt19937 random(7);
        for (size_t length = 0; length <= 24; ++length) {
            for (int round = 0; round < 32; ++round) {
                std::string word(length, '\0');
                for (char& c : word) c = static_cast<char>(random());
                if (length > 0) word[random() % length] = static_cast<char>(round * 8);
                ASSERT_EQ(table.HashKey(word), hash.OfLowered(LowerCopy1254(word)))
                    << "kind " << int(kind) << " length " << length << " round " << round;
            }
        }
    }
}

// Keys that share a bucket in one table are found by trying; in any other table they
// spread as random keys do.
TEST(WordTableHash, KeysCollidingInOneTableSpreadInOthers) {
    constexpr uint32_t kBuckets = 1024;
    for (const KeyHash::Kind kind : AvailableKinds()) {
        const WordTable known(NewHashKey(), kind);
        std::vector<std::string> colliding;
        for (uint32_t n = 0; colliding.size() < 200; ++n) {
            const std::string word = "w" + std::to_string(n);
            if (known.HashKey(word) % kBuckets == 0) colliding.push_back(word);
        }
        for (int fresh = 0; fresh < 2; ++fresh) {
            const WordTable other(NewHashKey(), kind);
            std::set<uint32_t> buckets;
            for (const std::string& word : colliding) buckets.insert(other.HashKey(word) % kBuckets);
            EXPECT_GT(buckets.size(), 150u) << "kind " << int(kind) << " table " << fresh;  // about 181 expected
        }
    }
}

// The benchmark's keys crafted against the unseeded hash of earlier versions: they all share
// one value there, and are all apart under a table's hash.
TEST(WordTableHash, KeysCraftedAgainstTheUnseededHashDoNotCollide) {
    const std::string text = bench::MakeCraftedText(2000);
    std::set<uint32_t> unseeded, seeded;
    WordTable table;
    ForEachLine(text, [&](std::string_view line) {
        unseeded.insert(bench::UnseededHash(KeyOfLine(line)));
        seeded.insert(table.HashKey(KeyOfLine(line)));
    });
    EXPECT_EQ(unseeded.size(), 1u);
    EXPECT_GE(seeded.size(), 1999u);
    LoadDictionaryText(text, table, nullptr);
    EXPECT_EQ(table.Count(), 2000u);
}

// Keys whose 32-bit hashes are equal in a loaded table (found among 600,000 keys of two
// lengths, about 42 pairs, 10 of them short keys of one length) are told apart by their
// lines: a lookup that finds the hash finds the key's own line.
TEST(WordTableHash, KeysOfEqualHashFindTheirOwnLines) {
    std::string text;
    std::vector<std::string> keys;
    for (int n = 0; n < 600'000; ++n) {
        keys.push_back((n % 2 ? "w" : "long headword number ") + std::to_string(1'000'000 + n));
        std::string headword = keys.back();
        if (n % 3 != 0) headword[0] = static_cast<char>(headword[0] - 'a' + 'A');  // stored in capitals
        text.append(headword).append("|").append(std::to_string(n)).append("\n\r");
    }
    WordTable table;
    LoadDictionaryText(text, table, nullptr);
    std::unordered_map<uint32_t, int> seen;
    int pairs = 0;
    for (int n = 0; n < static_cast<int>(keys.size()); ++n) {
        const auto [at, added] = seen.emplace(table.HashKey(keys[n]), n);
        if (added) continue;
        ++pairs;
        for (const int which : {at->second, n}) {
            const std::string_view line = table.Find(keys[which]).value_or("<none>");
            ASSERT_EQ(line.substr(line.find('|') + 1), std::to_string(which)) << keys[at->second] << " and " << keys[n];
        }
    }
    EXPECT_GT(pairs, 0);
}

// Files whose line ends or bar-less lines far outnumber their entries: the table costs
// about the file, not the count of line feeds.
TEST(WordTableSizing, FewEntriesInManyLinesCostNoMoreThanTheText) {
    const struct { const char* name; std::string unit; size_t entries; } cases[] = {
        {"bare line ends", "\n\r", 0},
        {"one-letter lines without a bar", "a\n", 1},
        {"lines of a bar alone", "|\n", 1},
        {"one key repeated", "ev|x\n\r", 1},
        {"CR-only line ends", "\r", 0},
    };
    for (const auto& c : cases) {
        const size_t units = (size_t{1} << 20) / c.unit.size();
        std::string text;
        text.reserve(units * c.unit.size());
        for (size_t i = 0; i < units; ++i) text += c.unit;
        const size_t bytes = text.size();
        WordTable table;
        LoadDictionaryText(std::move(text), table, nullptr);
        EXPECT_EQ(table.Count(), c.entries) << c.name;
        EXPECT_LE(table.MemoryBytes(), 2 * bytes) << c.name;
    }
}

// Slot counts near and past what 32 bits can count: the least count that holds the
// entries two thirds full, or a length error; never an overflow or a loop without end.
TEST(WordTableSizing, SlotCountsNeverOverflow) {
    const size_t cases[] = {0, 11, 12, 100, 1000, 1'000'000, 375'809'638, 375'809'639, SIZE_MAX / 7, SIZE_MAX / 2, SIZE_MAX};
    for (const size_t entries : cases) {
        try {
            const size_t slots = WordTable::SlotsFor(entries);
            EXPECT_GE(uint64_t{slots} * 2 / 3, entries) << entries;
            EXPECT_TRUE(slots == 16 || uint64_t{slots - 1} * 2 / 3 < entries) << entries;
            EXPECT_LE(slots, size_t{UINT32_MAX}) << entries;
        } catch (const std::length_error&) {
            EXPECT_GT(entries, 1000'000u);
        }
    }
    EXPECT_THROW(WordTable::SlotsFor(SIZE_MAX), std::length_error);
}

}  // namespace
}  // namespace kavrel
