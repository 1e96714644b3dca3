// The keyed hash a word table files its lower-cased keys under. Keyed with 128 secret bits
// per table, so no file can be made whose keys pile up in a table, however it was crafted.
// Where the processor has the AES instructions, a key of 1 to 16 bytes (nearly every word)
// is hashed by one AES-128 encryption under the table's key: about a dozen instructions,
// where SipHash takes about ninety, and a lookup's instructions decide how far the
// processor can run ahead into the next lookups while one waits for memory. Longer keys, and
// every key on a processor without AES, are hashed by SipHash-1-3 (HalfSipHash-1-3 on a
// 32-bit processor).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/siphash.h"

#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#define KAVREL_KEY_HASH_AES 1
#include <emmintrin.h>
#include <wmmintrin.h>
// Code that holds the AES instructions: it runs only where KeyHash::Best() is kAes.
#define KAVREL_AES_CODE [[gnu::target("aes")]]
#else
#define KAVREL_AES_CODE
#endif

namespace kavrel {

// Whether SipHash (else HalfSipHash) is the table's SipHash.
inline constexpr bool kTableHashIs64Bit = sizeof(void*) >= 8;

class KeyHash {
public:
    enum class Kind : uint8_t { kSip, kAes };
    // kAes where the processor has the AES instructions, else kSip.
    static Kind Best();
    static bool Available(Kind kind) { return kind == Kind::kSip || Best() == Kind::kAes; }
    // The longest key the AES kind hashes by AES.
    static constexpr size_t kAesKeyBytes = 16;

    // A hash under a fresh key, of the best kind.
    KeyHash() : KeyHash(NewHashKey()) {}
    // A kind the processor lacks gives kSip.
    explicit KeyHash(SipKey key, Kind kind = Best());
    // A copy derives its round keys again: they sit at a 16-byte boundary within the
    // object, which is not at the same place in every object.
    KeyHash(const KeyHash& other) : key_(other.key_), kind_(other.kind_) { ExpandKey(); }
    KeyHash& operator=(const KeyHash& other) {
        key_ = other.key_;
        kind_ = other.kind_;
        ExpandKey();
        return *this;
    }

    Kind kind() const { return kind_; }
    SipKey key() const { return key_; }

    // The hash of bytes already lower-cased: for the AES kind and 1 to 16 bytes, the first
    // four bytes (little-end first) of the AES-128 encryption of the bytes padded with zeros
    // to sixteen, under the key's sixteen bytes (k0 little-end first, then k1); otherwise
    // SipHash-1-3 folded to 32 bits (HalfSipHash-1-3 on a 32-bit processor).
    uint32_t OfLowered(std::string_view lowered) const;

    // The SipHash kind's hash of a key whose words feed(hasher, word) gives the hasher,
    // returning its Finish: SipHash-1-3 over 8-byte words folded to 32 bits, or
    // HalfSipHash-1-3 over 4-byte words on a 32-bit processor. word is a zero of the
    // hasher's word type.
    template <class Feed>
    uint32_t BySip(Feed feed) const {
        if constexpr (kTableHashIs64Bit) {
            const uint64_t h = feed(SipHasher<1, 3>(key_), uint64_t{0});
            return static_cast<uint32_t>(h ^ (h >> 32));
        } else {
            return static_cast<uint32_t>(feed(HalfSipHasher<1, 3>(key_), uint32_t{0}));
        }
    }

#if defined(KAVREL_KEY_HASH_AES)
    // The AES hash of a key of 1 to 16 lowered bytes padded with zeros, for a caller built
    // for AES; only for the AES kind.
    [[gnu::target("aes"), gnu::always_inline]] inline uint32_t OfAesBlock(__m128i block) const {
        const __m128i* k = RoundKeys();
        __m128i x = _mm_xor_si128(block, _mm_load_si128(k));
        for (int round = 1; round < 10; ++round) x = _mm_aesenc_si128(x, _mm_load_si128(k + round));
        return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_aesenclast_si128(x, _mm_load_si128(k + 10))));
    }
#endif

private:
    static constexpr size_t kRoundKeyBytes = 11 * 16;
#if defined(KAVREL_KEY_HASH_AES)
    // The AES-128 key schedule of key_, for the AES kind: eleven round keys of sixteen bytes
    // from the first 16-byte boundary of roundKeyBytes_. An AES instruction reads its round
    // key in place only from such a boundary, and the 32-bit Windows heap gives objects
    // only 8-byte ones, whatever their declared alignment.
    const __m128i* RoundKeys() const {
        return reinterpret_cast<const __m128i*>((reinterpret_cast<uintptr_t>(roundKeyBytes_) + 15) & ~uintptr_t{15});
    }
#endif
    // Derives the round keys of key_ (for the AES kind; nothing for SipHash).
    void ExpandKey();

    SipKey key_;
    Kind kind_;
    unsigned char roundKeyBytes_[kRoundKeyBytes + 15] = {};
};

}  // namespace kavrel
