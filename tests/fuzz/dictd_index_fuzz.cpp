// A dictd index parsed whole: either a clear error or lines whose fields hold no separator.
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/dictd.h"
#include "tools/tool_error.h"

using kavrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = kavrel::fuzz::Bytes(data, size);
    try {
        size_t lastLine = 0;
        for (const kavrel::tool::DictdIndexLine& line : kavrel::tool::ParseDictdIndex(text, "fuzz.index")) {
            Check(line.word.find_first_of("\t\n") == std::string::npos, "a word holds no tab or line end");
            Check(line.lineNumber > lastLine, "line numbers grow");
            lastLine = line.lineNumber;
        }
    } catch (const kavrel::tool::ToolError&) {
    }
    return 0;
}
