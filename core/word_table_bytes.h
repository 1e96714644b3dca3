// The byte work of the word table's lookups: with SSE2, a looked-up key lower-cased in one
// block and compared with a line's key in one block, and thirty-two slots' tags compared
// with a key's at once; and where a text's first zero byte is, found a machine word (eight
// bytes, or four on a 32-bit processor) or, with SSE2, sixteen bytes at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kavrel::word_bytes {

static_assert(std::endian::native == std::endian::little, "words are packed little-end first");

using Word = uintptr_t;

// The sizeof(T) bytes at p as a T, wherever p points.
template <class T>
inline T LoadAs(const void* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

constexpr Word Repeated(unsigned char byte) { return ~Word{0} / 0xFF * byte; }

// The high bit of the lowest byte of word equal to byte, and of no byte below it (higher
// bytes may be marked falsely, as a borrow runs upwards).
inline Word MarksOf(Word word, unsigned char byte) {
    const Word x = word ^ Repeated(byte);
    return (x - Repeated(0x01)) & ~x & Repeated(0x80);
}

#if defined(__SSE2__)
// Sixteen bytes at a time where the processor has SSE2 (every x86-64 one, and the 32-bit
// Windows build asks for it).
constexpr size_t kBlock = 16;

inline __m128i LoadBlock(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline __m128i LoadLow8(const char* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }

inline unsigned LineEndMarks(__m128i block) {
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_setzero_si128()),
                                      _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n')),
                                                   _mm_cmpeq_epi8(block, _mm_set1_epi8('\r'))));
    return static_cast<unsigned>(_mm_movemask_epi8(ends));
}

// Where x is from lo to hi (unsigned): all ones.
inline __m128i InRange(__m128i x, unsigned char lo, unsigned char hi) {
    const __m128i shifted = _mm_add_epi8(x, _mm_set1_epi8(static_cast<char>(0x80 - lo)));
    return _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(0x80 + (hi - lo) + 1)));
}

// LowerChar1254 of sixteen bytes: A-Z and the capitals 0xC0-0xDE but 0xD7 and 0xDD gain
// 0x20; 0x8A and 0x8C gain 0x10; 0x9F becomes 0xFF.
inline __m128i Lower1254(__m128i x) {
    const __m128i eq = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(0xD7))),
                                    _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(0xDD))));
    const __m128i by20 = _mm_or_si128(InRange(x, 'A', 'Z'), _mm_andnot_si128(eq, InRange(x, 0xC0, 0xDE)));
    const __m128i by10 = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(0x8A))),
                                      _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(0x8C))));
    const __m128i by60 = _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(0x9F)));
    const __m128i add = _mm_or_si128(_mm_and_si128(by20, _mm_set1_epi8(0x20)),
                                     _mm_or_si128(_mm_and_si128(by10, _mm_set1_epi8(0x10)),
                                                  _mm_and_si128(by60, _mm_set1_epi8(0x60))));
    return _mm_add_epi8(x, add);
}

// Lower1254 of the sixteen bytes at p, stored at out (a test compares it with the table).
inline void Lower1254Block(const char* p, char* out) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), Lower1254(LoadBlock(p)));
}

// A looked-up key of 1 to 16 bytes, lower-cased once: its bytes for the hash, and a block
// to compare with lines.
struct KeyBlock {
    alignas(16) unsigned char lowered[kBlock];  // the key lower-cased, zeros after it
    size_t n;
    // The key holds no "|", no line end and no zero byte, as the key of every loaded line:
    // only such a key can match a line of the text.
    bool comparable;
};

// The n (1 to 16) bytes at key in a block, zeros after them, read without touching a byte
// past the key: as two words that overlap where n is not a whole number of them. (Copying
// the key to a zeroed buffer and loading that stalls the processor: a load of sixteen bytes
// cannot be served from the copy's smaller stores.)
inline __m128i KeyBytes(const char* key, size_t n) {
    const auto count = [](size_t bits) { return _mm_cvtsi32_si128(static_cast<int>(bits)); };
    if (n >= 8) {
        const __m128i low = LoadLow8(key);
        // The last eight bytes, shifted down past those already in low (all of them when n is 8).
        const __m128i high = _mm_srl_epi64(LoadLow8(key + n - 8), count(8 * (16 - n)));
        return _mm_unpacklo_epi64(low, high);
    }
    if (n >= 4) {
        const __m128i first = _mm_cvtsi32_si128(static_cast<int>(LoadAs<uint32_t>(key)));
        const __m128i last = _mm_sll_epi64(_mm_cvtsi32_si128(static_cast<int>(LoadAs<uint32_t>(key + n - 4))), count(8 * (n - 4)));
        return _mm_or_si128(first, last);
    }
    const auto byte = [&](size_t i) { return uint32_t{static_cast<unsigned char>(key[i])} << (8 * i); };
    return _mm_cvtsi32_si128(static_cast<int>(byte(0) | byte(n / 2) | byte(n - 1)));
}

// The KeyBlock of the n (1 to 16) bytes at key.
inline KeyBlock MakeKeyBlock(const char* key, size_t n) {
    const __m128i raw = KeyBytes(key, n);
    KeyBlock block;
    _mm_store_si128(reinterpret_cast<__m128i*>(block.lowered), Lower1254(raw));
    block.n = n;
    const unsigned barred = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(raw, _mm_set1_epi8('|')))) |
                            LineEndMarks(raw);
    block.comparable = (barred & ((1u << n) - 1)) == 0;
    return block;
}

// Whether the line at line is filed under key: the key is comparable, its bytes equal the
// line's first n bytes after lower-casing, and the line has a "|" after them. Seventeen
// bytes are readable at line. No branch waits for the line's bytes.
inline bool BlockHasKey(const char* line, const KeyBlock& key) {
    const __m128i lowered = _mm_load_si128(reinterpret_cast<const __m128i*>(key.lowered));
    const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(Lower1254(LoadBlock(line)), lowered)));
    const unsigned wanted = (1u << key.n) - 1;
    return ((same & wanted) == wanted) & (line[key.n] == '|') & key.comparable;
}

// The tags of kTagsScanned slots in probe order: which of them hold tag (but for
// ignoredBits) before the first free one, and whether a free one is among them (else the
// probe goes on past them). Two blocks, as a run of sixteen full slots is common at two
// thirds full (one probe in ten).
constexpr size_t kTagsScanned = 2 * kBlock;

struct TagRun {
    uint32_t matches;
    bool ended;
};

inline TagRun ScanTags(const uint8_t* tags, uint8_t tag, uint8_t ignoredBits) {
    const auto marks = [](__m128i x) { return static_cast<uint32_t>(_mm_movemask_epi8(x)); };
    const __m128i kept = _mm_set1_epi8(static_cast<char>(~ignoredBits));
    const __m128i first = _mm_and_si128(LoadBlock(reinterpret_cast<const char*>(tags)), kept);
    const __m128i second = _mm_and_si128(LoadBlock(reinterpret_cast<const char*>(tags) + kBlock), kept);
    const __m128i zero = _mm_setzero_si128();
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(tag));
    const uint32_t free = marks(_mm_cmpeq_epi8(first, zero)) | marks(_mm_cmpeq_epi8(second, zero)) << 16;
    const uint32_t same = marks(_mm_cmpeq_epi8(first, wanted)) | marks(_mm_cmpeq_epi8(second, wanted)) << 16;
    const uint32_t beforeFree = (free & (0u - free)) - 1;
    return TagRun{same & beforeFree, free != 0};
}
#endif

// Where the first zero byte of the n bytes at p is, or n: the length of a dictionary text.
// A scan of its own because the 32-bit program's C library searches a byte at a time (22 ms
// for a 33 MB dictionary under Wine, against 3 ms in blocks).
inline size_t ZeroOffset(const char* p, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const auto zeros = [&](size_t at) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(LoadBlock(p + at), zero)));
    };
    for (; n - i >= 4 * kBlock; i += 4 * kBlock) {
        const uint64_t marks = zeros(i) | uint64_t{zeros(i + kBlock)} << 16 | uint64_t{zeros(i + 2 * kBlock)} << 32 |
                               uint64_t{zeros(i + 3 * kBlock)} << 48;
        if (marks != 0) return i + static_cast<size_t>(std::countr_zero(marks));
    }
#endif
    for (; n - i >= sizeof(Word); i += sizeof(Word)) {
        const Word marks = MarksOf(LoadAs<Word>(p + i), '\0');
        if (marks != 0) return i + static_cast<size_t>(std::countr_zero(marks)) / 8;
    }
    for (; i < n; ++i) {
        if (p[i] == '\0') return i;
    }
    return n;
}

}  // namespace kavrel::word_bytes
