// SipHash, a hash keyed with 128 secret bits: without the key, nobody can choose inputs
// that collide, so a file cannot be crafted to make a table's keys pile up. The rounds per
// block (C) and at the end (D) are parameters; the word table (key_hash.h) uses SipHash-1-3
// where the processor has 64-bit words and HalfSipHash-1-3, its authors' variant for 32-bit
// words (64 key bits, 32-bit output), where it has 32: a 64-bit round costs a 32-bit
// processor three to four times the instructions and all of its registers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kavrel {

struct SipKey {
    uint64_t k0 = 0;
    uint64_t k1 = 0;
};

// The state of one hash: feed every whole 8-byte block of the message, little-end first,
// then Finish with the last 0 to 7 bytes packed the same way and the message's length.
template <int C, int D>
class SipHasher {
public:
    explicit SipHasher(SipKey key)
        : v0_(key.k0 ^ 0x736f6d6570736575ull),
          v1_(key.k1 ^ 0x646f72616e646f6dull),
          v2_(key.k0 ^ 0x6c7967656e657261ull),
          v3_(key.k1 ^ 0x7465646279746573ull) {}

    void Block(uint64_t m) {
        v3_ ^= m;
        for (int i = 0; i < C; ++i) Round();
        v0_ ^= m;
    }

    uint64_t Finish(uint64_t tail, size_t length) {
        Block(tail | (uint64_t{length & 0xFF} << 56));
        v2_ ^= 0xFF;
        for (int i = 0; i < D; ++i) Round();
        return v0_ ^ v1_ ^ v2_ ^ v3_;
    }

private:
    static uint64_t Rotate(uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }
    void Round() {
        v0_ += v1_; v1_ = Rotate(v1_, 13); v1_ ^= v0_; v0_ = Rotate(v0_, 32);
        v2_ += v3_; v3_ = Rotate(v3_, 16); v3_ ^= v2_;
        v0_ += v3_; v3_ = Rotate(v3_, 21); v3_ ^= v0_;
        v2_ += v1_; v1_ = Rotate(v1_, 17); v1_ ^= v2_; v2_ = Rotate(v2_, 32);
    }

    uint64_t v0_, v1_, v2_, v3_;
};

// Feeds a hasher bytes as they are, a Word (uint64_t for SipHash, uint32_t for
// HalfSipHash) at a time, little-end first, and returns its Finish.
template <class Word, class Hasher>
auto HashBytes(Hasher hasher, std::string_view bytes) {
    const size_t whole = bytes.size() & ~(sizeof(Word) - 1);
    auto pack = [&](size_t at, size_t count) {
        Word word = 0;
        for (size_t i = 0; i < count; ++i) word |= Word{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
        return word;
    };
    for (size_t at = 0; at < whole; at += sizeof(Word)) hasher.Block(pack(at, sizeof(Word)));
    return hasher.Finish(pack(whole, bytes.size() - whole), bytes.size());
}

// The hash of bytes as they are.
template <int C, int D>
uint64_t SipHash(SipKey key, std::string_view bytes) {
    return HashBytes<uint64_t>(SipHasher<C, D>(key), bytes);
}

// HalfSipHash: the same construction over four 32-bit words, keyed with 64 bits, fed
// 4-byte blocks; Finish gives the 32-bit result.
template <int C, int D>
class HalfSipHasher {
public:
    explicit HalfSipHasher(SipKey key)
        : v0_(static_cast<uint32_t>(key.k0)),
          v1_(static_cast<uint32_t>(key.k0 >> 32)),
          v2_(static_cast<uint32_t>(key.k0) ^ 0x6c796765u),
          v3_(static_cast<uint32_t>(key.k0 >> 32) ^ 0x74656462u) {}

    void Block(uint32_t m) {
        v3_ ^= m;
        for (int i = 0; i < C; ++i) Round();
        v0_ ^= m;
    }

    uint32_t Finish(uint32_t tail, size_t length) {
        Block(tail | (static_cast<uint32_t>(length & 0xFF) << 24));
        v2_ ^= 0xFF;
        for (int i = 0; i < D; ++i) Round();
        return v1_ ^ v3_;
    }

private:
    static uint32_t Rotate(uint32_t x, int bits) { return (x << bits) | (x >> (32 - bits)); }
    void Round() {
        v0_ += v1_; v1_ = Rotate(v1_, 5); v1_ ^= v0_; v0_ = Rotate(v0_, 16);
        v2_ += v3_; v3_ = Rotate(v3_, 8); v3_ ^= v2_;
        v0_ += v3_; v3_ = Rotate(v3_, 7); v3_ ^= v0_;
        v2_ += v1_; v1_ = Rotate(v1_, 13); v1_ ^= v2_; v2_ = Rotate(v2_, 16);
    }

    uint32_t v0_, v1_, v2_, v3_;
};

// The 32-bit HalfSipHash of bytes as they are, under the first 64 bits of key.
template <int C, int D>
uint32_t HalfSipHash(SipKey key, std::string_view bytes) {
    return HashBytes<uint32_t>(HalfSipHasher<C, D>(key), bytes);
}

// A fresh key for a new hash table: 128 bits no one outside the process can predict,
// different on every call.
SipKey NewHashKey() noexcept;

}  // namespace kavrel
