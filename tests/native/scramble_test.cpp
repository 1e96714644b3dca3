// The scrambling codec: exact bits from the seed, round trips, wrap-around and zero bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "core/scramble.h"

namespace kavrel {
namespace {

TEST(ScrambleGenerator, FirstDrawsFromTheSeedMatchTheFormula) {
    // Worked out from state = state * 1103515245 + 12345 (mod 2^32) starting at 4817:
    // states 0xA469E136, 0x29778837, 0x64EFF1A4, 0x9EA20B0D, ...; bit 31 of each.
    ScrambleGenerator generator;
    generator.Seed(4817);
    const std::string expected = "1001101000001111";
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(generator.Draw(2), static_cast<uint32_t>(expected[i] - '0')) << "draw " << i;
    }
    generator.Seed(4817);
    EXPECT_EQ(generator.Draw(10), 6u);  // (0xA469 * 10) >> 16: the high half, not a remainder
    EXPECT_EQ(generator.Draw(10), 1u);
    EXPECT_EQ(generator.Draw(10), 3u);
}

// The bit sequence one draw at a time, the slow way, to check the blocked implementation.
std::string ScrambleSlowly(std::string text) {
    ScrambleGenerator generator;
    generator.Seed(ScrambleGenerator::kSeed);
    for (char& c : text) c = static_cast<char>(static_cast<unsigned char>(c) + generator.Draw(2));
    return text;
}

TEST(Scramble, MatchesSingleDrawsForEveryLengthAroundTheBlockSize) {
    std::mt19937 random(7);
    for (size_t length = 0; length < 70; ++length) {
        std::string text(length, '\0');
        for (char& c : text) c = static_cast<char>(random());
        std::string fast = text;
        ScrambleText(fast);
        EXPECT_EQ(fast, ScrambleSlowly(text)) << "length " << length;
    }
}

// A pass given in pieces of every size from 0 to 19 bytes, whatever lane each begins in,
// leaves the bytes a whole pass leaves, both ways.
TEST(Scramble, PiecesGoOnWhereTheLastOneEnded) {
    std::mt19937 random(11);
    std::string text(3000, '\0');
    for (char& c : text) c = static_cast<char>(random());
    std::string pieces = text;
    ScrambleStream stream;
    for (size_t at = 0, piece = 0; at < pieces.size(); at += piece) {
        piece = std::min<size_t>(random() % 20, pieces.size() - at);
        stream.Scramble(pieces.data() + at, piece);
    }
    EXPECT_EQ(pieces, ScrambleSlowly(text));
    ScrambleStream back;
    back.Unscramble(pieces.data(), 5);
    back.Unscramble(pieces.data() + 5, pieces.size() - 5);
    EXPECT_EQ(pieces, text);
}

TEST(Scramble, EveryByteValueRoundTripsAtManyPositions) {
    for (size_t position : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 31u, 100u, 4095u, 4096u}) {
        for (int value = 1; value < 256; ++value) {
            std::string text(position + 3, 'a');
            text[position] = static_cast<char>(value);
            std::string copy = text;
            ScrambleText(copy);
            EXPECT_EQ(copy.size(), text.size());
            const int moved = (static_cast<unsigned char>(copy[position]) - value + 256) % 256;
            EXPECT_LE(moved, 1) << "a scrambled byte is never more than one above its plain byte";
            UnscrambleText(copy);
            ASSERT_EQ(copy, text) << "value " << value << " at " << position;
        }
    }
}

TEST(Scramble, PlainFFWithBitOneBecomesZeroAndIsCarriedByLength) {
    // Draw 0 has bit 1 (see the sequence above): 0xFF there wraps to 0x00; 0x7F goes to 0x80.
    std::string text = "\xFF\x7F\xFF";  // bits 1, 0, 0
    ScrambleText(text);
    ASSERT_EQ(text.size(), 3u);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(text[1], '\x7F');
    EXPECT_EQ(text[2], '\xFF');
    UnscrambleText(text);
    EXPECT_EQ(text, "\xFF\x7F\xFF");
    std::string wrap = "\x7F";
    ScrambleText(wrap);
    EXPECT_EQ(wrap, "\x80");
}

TEST(Scramble, SameTextGivesSameBytesAndCommonBeginningsStayCommon) {
    std::string first = "ev|house, home\n\r";
    std::string second = first;
    ScrambleText(first);
    ScrambleText(second);
    EXPECT_EQ(first, second);
    std::string longer = "ev|house, home\n\rkedi|cat\n\r";
    ScrambleText(longer);
    EXPECT_EQ(longer.substr(0, first.size()), first);
    std::string repeated(64, 'a');
    ScrambleText(repeated);
    EXPECT_NE(repeated.find('a'), std::string::npos);
    EXPECT_NE(repeated.find('b'), std::string::npos);  // equal bytes may scramble apart
}

}  // namespace
}  // namespace kavrel
