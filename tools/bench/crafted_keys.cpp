// Crafting works backwards through the old hash: for a key of eight bytes it was one xor
// with a constant and a 64-bit finaliser that can be inverted step by step, folded to 32
// bits. Any 64-bit result whose halves fold to the chosen value leads back to a key; the
// keys whose bytes are all usable (lower case, no line end, bar or zero) are kept.
#include "tools/bench/crafted_keys.h"

#include <random>
#include <stdexcept>

#include "core/cp1254.h"
#include "core/entry_text.h"

namespace kavrel::bench {
namespace {

constexpr uint64_t kStart = 0x9e3779b97f4a7c15ull;
constexpr uint64_t kLengthFactor = 0xbf58476d1ce4e5b9ull;
constexpr uint64_t kWordFactor = 0x9fb21c651e98df25ull;
constexpr uint64_t kMix1 = 0xff51afd7ed558ccdull;
constexpr uint64_t kMix2 = 0xc4ceb9fe1a85ec53ull;
constexpr uint32_t kTarget = 0x4b415652;  // the hash every crafted key shares
constexpr size_t kKeyBytes = 8;

uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= kMix1;
    h ^= h >> 33;
    h *= kMix2;
    h ^= h >> 33;
    return h;
}

// The inverse of an odd number modulo 2^64 (Newton's iteration doubles the good bits).
constexpr uint64_t InverseOf(uint64_t odd) {
    uint64_t x = odd;
    for (int i = 0; i < 5; ++i) x *= 2 - odd * x;
    return x;
}

// x ^= x >> 33 undoes itself: the second shift moves every bit out of the word.
uint64_t Unmix(uint64_t h) {
    h ^= h >> 33;
    h *= InverseOf(kMix2);
    h ^= h >> 33;
    h *= InverseOf(kMix1);
    h ^= h >> 33;
    return h;
}

uint64_t LoweredWord(std::string_view bytes) {
    uint64_t word = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        word |= uint64_t{static_cast<unsigned char>(LowerChar1254(bytes[i]))} << (8 * i);
    }
    return word;
}

bool UsableKeyByte(unsigned char b) {
    return b != 0 && b != '|' && !IsLineEndByte(static_cast<char>(b)) &&
           static_cast<unsigned char>(LowerChar1254(static_cast<char>(b))) == b;
}

void AppendEntry(std::string& text, std::string_view key) {
    text.append(key).append("|").append(kLineEnd);
}

}  // namespace

uint32_t UnseededHash(std::string_view key) {
    const size_t n = key.size();
    uint64_t h = kStart ^ (n * kLengthFactor);
    if (n > 8) {
        size_t at = 0;
        for (; at + 8 < n; at += 8) h = (h ^ LoweredWord(key.substr(at, 8))) * kWordFactor;
        h ^= LoweredWord(key.substr(n - 8));
    } else {
        h ^= LoweredWord(key);
    }
    h = Mix(h);
    return static_cast<uint32_t>(h ^ (h >> 32));
}

std::string MakeCraftedText(size_t entries) {
    std::string text;
    text.reserve(entries * (kKeyBytes + 3));
    size_t made = 0;
    for (uint64_t high = 0; made < entries; ++high) {
        if (high > UINT32_MAX) throw std::runtime_error("not enough crafted keys");
        const uint64_t folded = (high << 32) | (high ^ kTarget);  // its halves xor to kTarget
        const uint64_t word = Unmix(folded) ^ kStart ^ (kKeyBytes * kLengthFactor);
        std::string key(kKeyBytes, '\0');
        bool usable = true;
        for (size_t i = 0; i < kKeyBytes && usable; ++i) {
            key[i] = static_cast<char>(word >> (8 * i));
            usable = UsableKeyByte(static_cast<unsigned char>(key[i]));
        }
        if (!usable) continue;
        if (UnseededHash(key) != kTarget) throw std::logic_error("crafting went wrong");
        AppendEntry(text, key);
        ++made;
    }
    return text;
}

std::string MakeOrdinaryText(size_t entries) {
    std::mt19937 random(60000);
    std::string text;
    text.reserve(entries * (kKeyBytes + 3));
    for (size_t i = 0; i < entries; ++i) {
        std::string key(kKeyBytes, '\0');
        for (char& c : key) c = static_cast<char>('a' + random() % 26);
        AppendEntry(text, key);
    }
    return text;
}

}  // namespace kavrel::bench
