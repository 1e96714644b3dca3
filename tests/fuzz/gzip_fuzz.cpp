// dictzip inflation of arbitrary bytes: data, or a clear error, never more than the limit.
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/dictd.h"
#include "tools/tool_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr uint64_t kLimit = uint64_t{1} << 20;
    try {
        const std::string out = kavrel::tool::InflateGzip(kavrel::fuzz::Bytes(data, size), "fuzz.dz", kLimit);
        kavrel::fuzz::Check(out.size() <= kLimit, "the output stays within the limit");
    } catch (const kavrel::tool::ToolError&) {
    }
    return 0;
}
