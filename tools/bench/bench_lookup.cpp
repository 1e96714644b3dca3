// kavrel_bench, lookups: the word table's lookups against one dependent memory read over a
// buffer of the table's size, in the same run, and the std::unordered_map's lookups.
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/cp1254.h"
#include "tools/bench/bench_scenario.h"

namespace kavrel::bench {
namespace {

// A pointer chase over a buffer as large as the table: each read's address comes from the
// one before, in a random cycle through every cache line, so each read waits for memory as
// a lookup's slot read does. Its time per step is the cost of one dependent memory read.
class PointerChase {
public:
    explicit PointerChase(size_t bytes) : nodes_(std::max<size_t>(bytes / sizeof(Node), 2)) {
        std::vector<uint32_t> order(nodes_.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
        std::mt19937 random(13);
        for (size_t i = order.size() - 1; i > 0; --i) {  // Sattolo: one cycle through all
            std::swap(order[i], order[std::uniform_int_distribution<size_t>(0, i - 1)(random)]);
        }
        for (size_t i = 0; i < order.size(); ++i) nodes_[order[i]].next = &nodes_[order[(i + 1) % order.size()]];
        at_ = &nodes_[0];
    }
    void Steps(size_t count) {
        const Node* p = at_;
        for (size_t i = 0; i < count; ++i) p = p->next;
        at_ = p;
        benchmark::DoNotOptimize(at_);
    }

private:
    struct alignas(64) Node {
        const Node* next;
    };
    std::vector<Node> nodes_;
    const Node* at_;
};

}  // namespace

// Blocks of lookups (the half-hit, half-miss queries, as the window looks them up) and
// blocks of chase steps in turns. Each timed block of lookups follows an untimed one: the
// chase before it has pushed the table's tags out of the caches, and a stream of lookups
// would not pay for fetching them all again.
void BenchLookupAgainstMiss(benchmark::State& state, Scenario* s) {
    constexpr size_t kBlock = size_t{1} << 16;
    static size_t turn = 0;
    PointerChase chase(s->table.MemoryBytes());  // built outside the timed blocks
    size_t next = 0;
    auto lookups = [&] {
        for (size_t i = 0; i < kBlock; ++i) {
            benchmark::DoNotOptimize(s->table.Find(s->queries[next++ & (kQueryCount - 1)]));
        }
    };
    auto timeLookups = [&] {
        lookups();
        const auto start = std::chrono::steady_clock::now();
        lookups();
        return MillisecondsSince(start) * 1e6 / kBlock;
    };
    auto timeChase = [&] {
        const auto start = std::chrono::steady_clock::now();
        chase.Steps(kBlock);
        return MillisecondsSince(start) * 1e6 / kBlock;
    };
    TimeInTurns(state, turn, timeLookups, timeChase, "lookup_ns", "miss_ns", "lookup_over_miss");
}

void BenchMapLookup(benchmark::State& state, Scenario* s) {
    size_t next = 0;
    for (auto _ : state) {
        const std::string key = LowerCopy1254(s->queries[next++ & (kQueryCount - 1)]);
        benchmark::DoNotOptimize(s->map.find(key));
    }
}

}  // namespace kavrel::bench
