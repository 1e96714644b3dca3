// The word table's keyed hash: which kind the processor allows, the AES key schedule, and
// the hash of lowered bytes of any length.
#include "core/key_hash.h"

#include <cstring>

#if defined(KAVREL_KEY_HASH_AES)
#include <cpuid.h>
#endif

namespace kavrel {
namespace {

#if defined(KAVREL_KEY_HASH_AES)
bool ProcessorHasAes() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_AES) != 0;
}

// The next round key of the AES-128 key schedule: each word is the one before it xor the
// same word of the previous key, the first word taking in the rotated, substituted last
// word and the round constant (which the processor's assist computes, in its top word).
template <int kRoundConstant>
[[gnu::target("aes")]] __m128i NextRoundKey(__m128i previous) {
    const __m128i assist = _mm_shuffle_epi32(_mm_aeskeygenassist_si128(previous, kRoundConstant), 0xFF);
    const __m128i key = _mm_xor_si128(_mm_xor_si128(previous, _mm_slli_si128(previous, 4)),
                                      _mm_xor_si128(_mm_slli_si128(previous, 8), _mm_slli_si128(previous, 12)));
    return _mm_xor_si128(key, assist);
}

[[gnu::target("aes")]] void ExpandAesKey(SipKey key, __m128i* roundKeys) {
    roundKeys[0] = _mm_set_epi64x(static_cast<int64_t>(key.k1), static_cast<int64_t>(key.k0));
    roundKeys[1] = NextRoundKey<0x01>(roundKeys[0]);
    roundKeys[2] = NextRoundKey<0x02>(roundKeys[1]);
    roundKeys[3] = NextRoundKey<0x04>(roundKeys[2]);
    roundKeys[4] = NextRoundKey<0x08>(roundKeys[3]);
    roundKeys[5] = NextRoundKey<0x10>(roundKeys[4]);
    roundKeys[6] = NextRoundKey<0x20>(roundKeys[5]);
    roundKeys[7] = NextRoundKey<0x40>(roundKeys[6]);
    roundKeys[8] = NextRoundKey<0x80>(roundKeys[7]);
    roundKeys[9] = NextRoundKey<0x1B>(roundKeys[8]);
    roundKeys[10] = NextRoundKey<0x36>(roundKeys[9]);
}
#endif

}  // namespace

KeyHash::Kind KeyHash::Best() {
#if defined(KAVREL_KEY_HASH_AES)
    static const Kind best = ProcessorHasAes() ? Kind::kAes : Kind::kSip;
    return best;
#else
    return Kind::kSip;
#endif
}

KeyHash::KeyHash(SipKey key, Kind kind) : key_(key), kind_(Available(kind) ? kind : Kind::kSip) { ExpandKey(); }

void KeyHash::ExpandKey() {
#if defined(KAVREL_KEY_HASH_AES)
    if (kind_ == Kind::kAes) ExpandAesKey(key_, const_cast<__m128i*>(RoundKeys()));
#endif
}

#if defined(KAVREL_KEY_HASH_AES)
namespace {
[[gnu::target("aes")]] uint32_t AesOfPadded(const KeyHash& hash, const unsigned char (&padded)[16]) {
    return hash.OfAesBlock(_mm_loadu_si128(reinterpret_cast<const __m128i*>(padded)));
}
}  // namespace
#endif

uint32_t KeyHash::OfLowered(std::string_view lowered) const {
#if defined(KAVREL_KEY_HASH_AES)
    if (kind_ == Kind::kAes && !lowered.empty() && lowered.size() <= kAesKeyBytes) {
        unsigned char padded[16] = {};
        std::memcpy(padded, lowered.data(), lowered.size());
        return AesOfPadded(*this, padded);
    }
#endif
    return BySip([&](auto hasher, auto word) { return HashBytes<decltype(word)>(hasher, lowered); });
}

}  // namespace kavrel
