// Scrambling in blocks of eight lanes: each lane runs the generator eight steps at a time
// (the jump-ahead of an LCG is again an LCG), so the loop has no dependency from one byte to
// the next and the compiler can vectorise it. The bits are exactly those of
// ScrambleGenerator drawn once per byte.
#include "core/scramble.h"

namespace kavrel {
namespace {

constexpr uint32_t kMultiplier = 1103515245u;
constexpr uint32_t kIncrement = 12345u;
constexpr size_t kLanes = 8;

struct JumpAhead {
    uint32_t multiplier = 1;
    uint32_t increment = 0;
};

// The affine map of kLanes generator steps: state -> multiplier * state + increment.
constexpr JumpAhead LaneStep() {
    JumpAhead jump;
    for (size_t i = 0; i < kLanes; ++i) {
        jump.increment = jump.increment * kMultiplier + kIncrement;
        jump.multiplier *= kMultiplier;
    }
    return jump;
}

template <int kDirection>
void Apply(char* data, size_t size) {
    constexpr JumpAhead jump = LaneStep();
    uint32_t lanes[kLanes];
    uint32_t state = ScrambleGenerator::kSeed;
    for (size_t j = 0; j < kLanes; ++j) {
        state = state * kMultiplier + kIncrement;
        lanes[j] = state;
    }
    auto* bytes = reinterpret_cast<unsigned char*>(data);
    size_t i = 0;
    for (; i + kLanes <= size; i += kLanes) {
        for (size_t j = 0; j < kLanes; ++j) {
            bytes[i + j] = static_cast<unsigned char>(bytes[i + j] + kDirection * static_cast<int>(lanes[j] >> 31));
            lanes[j] = lanes[j] * jump.multiplier + jump.increment;
        }
    }
    for (size_t j = 0; i < size; ++i, ++j) {
        bytes[i] = static_cast<unsigned char>(bytes[i] + kDirection * static_cast<int>(lanes[j] >> 31));
    }
}

}  // namespace

void ScrambleBytes(char* data, size_t size) { Apply<+1>(data, size); }
void UnscrambleBytes(char* data, size_t size) { Apply<-1>(data, size); }

}  // namespace kavrel
