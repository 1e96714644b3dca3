// The percent progress a load shows: which lines set a caption, and with which figure.
#include <gtest/gtest.h>

#include <vector>

#include "core/dictionary_load.h"

namespace kavrel {
namespace {

// Feeds lines of the given lengths and returns every percentage that would set a caption.
std::vector<int> Captions(size_t textLength, const std::vector<size_t>& lineLengths) {
    LoadProgress progress(textLength);
    std::vector<int> shown;
    for (size_t length : lineLengths) {
        if (progress.AddLine(length)) shown.push_back(progress.Percent());
    }
    return shown;
}

TEST(LoadProgressCaptions, FollowTheTwoBytesPerLineRule) {
    // Two 3-byte lines joined by one LF CR and no final line end: L = 8.
    EXPECT_EQ(Captions(8, {3, 3}), (std::vector<int>{62, 125}));
    // A single line sets exactly one caption.
    EXPECT_EQ(Captions(5, {5}), (std::vector<int>{140}));
    // Twenty-byte lines with one LF each pass 100: 25 lines, L = 525, the last shows 104.
    const std::vector<int> lfOnly = Captions(525, std::vector<size_t>(25, 20));
    ASSERT_FALSE(lfOnly.empty());
    EXPECT_EQ(lfOnly.back(), 104);
    // Lots of lines: one caption per distinct percentage, never more than 101 + the overshoot.
    const std::vector<int> many = Captions(3'300'000, std::vector<size_t>(100'000, 31));
    EXPECT_EQ(many.front(), 0);
    EXPECT_EQ(many.back(), 100);
    EXPECT_EQ(many.size(), 101u);
    for (size_t i = 1; i < many.size(); ++i) EXPECT_EQ(many[i], many[i - 1] + 1);
}

TEST(LoadProgressCaptions, HugeTextsDoNotOverflow) {
    const size_t length = 400'000'000;  // T * 100 exceeds 32 bits
    LoadProgress progress(length);
    ASSERT_TRUE(progress.AddLine(length / 2 - 2));
    EXPECT_EQ(progress.Percent(), 50);
}

}  // namespace
}  // namespace kavrel
