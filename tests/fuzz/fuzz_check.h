// What the fuzz targets share: the input as a string, and a check that aborts (a finding for
// libFuzzer) with a message when a property fails.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kavrel::fuzz {

inline std::string Bytes(const uint8_t* data, size_t size) {
    return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

inline void Check(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

}  // namespace kavrel::fuzz
