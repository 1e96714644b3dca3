// The byte work of the word table's lookups: where a line ends, found a machine word
// (eight bytes, or four on a 32-bit processor) or, with SSE2, sixteen bytes at a time; and
// with SSE2 a line's key compared with a looked-up key in one block; and where a text's
// first zero byte is.
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

inline Word LoadWord(const char* p) {
    Word word;
    std::memcpy(&word, p, sizeof word);
    return word;
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

// Whether the line at line is filed under the n (1 to 16) bytes at key: the key and the
// line's first n bytes are equal after lower-casing, the key holds no "|" and no line end
// (no key of a loaded line does), and the line has a "|" after them. Sixteen bytes are
// readable at line; the key is copied first, as no more than its own bytes may be read.
inline bool BlockHasKey(const char* line, const char* key, size_t n) {
    char copy[kBlock] = {};
    std::memcpy(copy, key, n);
    const __m128i k = LoadBlock(copy);
    const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(Lower1254(LoadBlock(line)), Lower1254(k))));
    const unsigned barred = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(k, _mm_set1_epi8('|')))) |
                            LineEndMarks(k);
    const unsigned wanted = (1u << n) - 1;
    return ((same & wanted) == wanted) & ((barred & wanted) == 0) & (line[n] == '|');
}
#endif

// The first CR, LF or zero byte at or after p, where end points to a zero byte (a
// dictionary text's end) at or after p: whole blocks or words while they lie before end,
// then bytes.
inline const char* LineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    // Four blocks at once first, so that for a line of usual length no branch waits on its
    // bytes: a lookup's next lookup can go ahead while this line is still read from memory.
    if (end - p >= static_cast<ptrdiff_t>(4 * kBlock)) {
        const uint64_t marks = LineEndMarks(LoadBlock(p)) | uint64_t{LineEndMarks(LoadBlock(p + kBlock))} << 16 |
                               uint64_t{LineEndMarks(LoadBlock(p + 2 * kBlock))} << 32 |
                               uint64_t{LineEndMarks(LoadBlock(p + 3 * kBlock))} << 48;
        if (marks != 0) return p + std::countr_zero(marks);
        p += 4 * kBlock;
    }
    for (; end - p >= static_cast<ptrdiff_t>(kBlock); p += kBlock) {
        const unsigned marks = LineEndMarks(LoadBlock(p));
        if (marks != 0) return p + std::countr_zero(marks);
    }
#endif
    for (; end - p >= static_cast<ptrdiff_t>(sizeof(Word)); p += sizeof(Word)) {
        const Word word = LoadWord(p);
        const Word marks = MarksOf(word, '\0') | MarksOf(word, '\n') | MarksOf(word, '\r');
        if (marks != 0) return p + std::countr_zero(marks) / 8;
    }
    while (*p != '\0' && *p != '\n' && *p != '\r') ++p;
    return p;
}

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
        const Word marks = MarksOf(LoadWord(p + i), '\0');
        if (marks != 0) return i + static_cast<size_t>(std::countr_zero(marks)) / 8;
    }
    for (; i < n; ++i) {
        if (p[i] == '\0') return i;
    }
    return n;
}

}  // namespace kavrel::word_bytes
