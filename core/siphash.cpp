// New hash keys: one secret drawn from the platform's random source when the first key is
// asked for, then one SipHash of that secret and a counter per key, so keys are cheap,
// never repeat and reveal nothing of each other.
#include "core/siphash.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <random>

namespace kavrel {
namespace {

uint64_t Draw64(std::random_device& source) {
    const uint64_t high = source();
    return (high << 32) ^ source();
}

// The random source first (the operating system's: getrandom or /dev/urandom natively,
// rand_s under Windows); the clock and an address are mixed in so that a source that
// fails or is weak still leaves every process a key of its own.
SipKey ProcessSecret() {
    SipKey secret;
    try {
        std::random_device source;
        secret = {Draw64(source), Draw64(source)};
    } catch (const std::exception&) {
        // no random source: the clock and the address below must do
    }
    const auto now = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto wall = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    int local = 0;
    const auto address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&local));
    secret.k0 ^= SipHash<2, 4>({now, address}, "kavrel hash key 0");
    secret.k1 ^= SipHash<2, 4>({wall, address}, "kavrel hash key 1");
    return secret;
}

}  // namespace

SipKey NewHashKey() noexcept {
    static const SipKey secret = ProcessSecret();
    static std::atomic<uint64_t> counter{0};
    const uint64_t serial = counter.fetch_add(1, std::memory_order_relaxed);
    char block[9] = {};
    for (int i = 0; i < 8; ++i) block[i] = static_cast<char>(serial >> (8 * i));
    auto derive = [&](char half) {
        block[8] = half;
        return SipHash<2, 4>(secret, std::string_view(block, sizeof block));
    };
    return {derive(0), derive(1)};  // braces evaluate left to right
}

}  // namespace kavrel
