// Hostile dictionaries for the benchmark: keys crafted so that they all collide under the
// word table's hash of earlier versions, which had no seed and could be inverted, and an
// ordinary dictionary of the same shape and size to compare their loads with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavrel::bench {

// The unseeded hash earlier versions filed keys under (after lower-casing).
uint32_t UnseededHash(std::string_view key);

// entries lines "key|" ended by LF CR, with distinct 8-byte keys that all share one
// UnseededHash value: filed under that hash, every line probes past all earlier ones.
std::string MakeCraftedText(size_t entries);

// The same shape (distinct 8-byte keys, "|", LF CR) with keys drawn at random.
std::string MakeOrdinaryText(size_t entries);

}  // namespace kavrel::bench
