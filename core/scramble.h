// The scrambling of dictionary data files: every byte moves up by 0 or 1, the choice made by
// a fixed pseudo-random bit sequence seeded with 4817, so the text does not read as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavrel {

// A linear congruential generator; Draw(n) reduces through the high half of the state.
class ScrambleGenerator {
public:
    static constexpr uint32_t kSeed = 4817;

    void Seed(uint32_t seed) { state_ = seed; }
    uint32_t Draw(uint32_t bound) {
        state_ = state_ * 1103515245u + 12345u;
        return (((state_ >> 16) & 0xFFFFu) * bound) >> 16;
    }

private:
    uint32_t state_ = kSeed;
};

// One pass over a text given piece by piece: each call goes on where the last one ended,
// so the pieces end up as ScrambleBytes would leave the whole. A writer can scramble each
// piece while it is still in the cache.
class ScrambleStream {
public:
    static constexpr size_t kLanes = 8;
    ScrambleStream();
    void Scramble(char* data, size_t size);
    void Unscramble(char* data, size_t size);

private:
    uint32_t lanes_[kLanes];  // the generator's state for the next byte of each lane
    size_t next_ = 0;         // the lane of the next byte
};

// Scrambles / unscrambles size bytes in place. Both run the sequence from the seed at
// data[0], so a byte's change depends only on its position. No allocation.
void ScrambleBytes(char* data, size_t size);
void UnscrambleBytes(char* data, size_t size);

// The same over a whole text, whatever bytes it holds (zero bytes included).
inline void ScrambleText(std::string& text) { ScrambleBytes(text.data(), text.size()); }
inline void UnscrambleText(std::string& text) { UnscrambleBytes(text.data(), text.size()); }

}  // namespace kavrel
