// Scrambling in blocks of eight lanes: each lane runs the generator eight steps at a time
// (the jump-ahead of an LCG is again an LCG), so the loop has no dependency from one byte to
// the next and the compiler can vectorise it. The bits are exactly those of
// ScrambleGenerator drawn once per byte. Lane j serves the bytes at positions 8k + j, so a
// pass can stop anywhere and go on later from its lanes and the next lane's number.
#include "core/scramble.h"

namespace kavrel {
namespace {

constexpr uint32_t kMultiplier = 1103515245u;
constexpr uint32_t kIncrement = 12345u;

struct JumpAhead {
    uint32_t multiplier = 1;
    uint32_t increment = 0;
};

// The affine map of kLanes generator steps: state -> multiplier * state + increment.
constexpr JumpAhead LaneStep() {
    JumpAhead jump;
    for (size_t i = 0; i < ScrambleStream::kLanes; ++i) {
        jump.increment = jump.increment * kMultiplier + kIncrement;
        jump.multiplier *= kMultiplier;
    }
    return jump;
}

template <int kDirection>
inline void ApplyByte(unsigned char& byte, uint32_t& lane) {
    constexpr JumpAhead jump = LaneStep();
    byte = static_cast<unsigned char>(byte + kDirection * static_cast<int>(lane >> 31));
    lane = lane * jump.multiplier + jump.increment;
}

// Whole blocks of kLanes bytes. The lanes are held in a local array indexed only by the
// inner loop's counter: bytes written through a char pointer could alias a member, and a
// variable index would keep the array in memory; either stops the loop from vectorising.
template <int kDirection>
void ApplyBlocks(uint32_t* state, unsigned char* bytes, size_t blocks) {
    constexpr size_t kLanes = ScrambleStream::kLanes;
    uint32_t lanes[kLanes];
    for (size_t j = 0; j < kLanes; ++j) lanes[j] = state[j];
    for (size_t b = 0; b < blocks; ++b, bytes += kLanes) {
        for (size_t j = 0; j < kLanes; ++j) ApplyByte<kDirection>(bytes[j], lanes[j]);
    }
    for (size_t j = 0; j < kLanes; ++j) state[j] = lanes[j];
}

// The bytes before the first block boundary and after the last one go one by one.
template <int kDirection>
void Apply(uint32_t (&lanes)[ScrambleStream::kLanes], size_t& next, char* data, size_t size) {
    constexpr size_t kLanes = ScrambleStream::kLanes;
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    size_t i = 0;
    for (; i < size && next != 0; ++i, next = (next + 1) % kLanes) ApplyByte<kDirection>(bytes[i], lanes[next]);
    const size_t blocks = (size - i) / kLanes;
    ApplyBlocks<kDirection>(lanes, bytes + i, blocks);
    i += blocks * kLanes;
    for (; i < size; ++i, next = (next + 1) % kLanes) ApplyByte<kDirection>(bytes[i], lanes[next]);
}

}  // namespace

ScrambleStream::ScrambleStream() {
    uint32_t state = ScrambleGenerator::kSeed;
    for (uint32_t& lane : lanes_) {
        state = state * kMultiplier + kIncrement;
        lane = state;
    }
}

void ScrambleStream::Scramble(char* data, size_t size) { Apply<+1>(lanes_, next_, data, size); }
void ScrambleStream::Unscramble(char* data, size_t size) { Apply<-1>(lanes_, next_, data, size); }

void ScrambleBytes(char* data, size_t size) { ScrambleStream().Scramble(data, size); }
void UnscrambleBytes(char* data, size_t size) { ScrambleStream().Unscramble(data, size); }

}  // namespace kavrel
