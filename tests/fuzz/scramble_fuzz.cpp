// Scrambling moves each byte up by 0 or 1 according to its position alone, and unscrambling
// gives back every byte, zero bytes included.
#include <string>

#include "core/scramble.h"
#include "tests/fuzz/fuzz_check.h"

using kavrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string plain = kavrel::fuzz::Bytes(data, size);
    std::string scrambled = plain;
    kavrel::ScrambleText(scrambled);
    Check(scrambled.size() == plain.size(), "the length is kept");
    for (size_t i = 0; i < plain.size(); ++i) {
        const auto step = static_cast<unsigned char>(scrambled[i] - plain[i]);
        Check(step <= 1, "a byte moves up by 0 or 1");
    }
    std::string prefix = plain.substr(0, plain.size() / 2);
    kavrel::ScrambleText(prefix);
    Check(scrambled.compare(0, prefix.size(), prefix) == 0, "a byte's change depends on its position only");
    kavrel::UnscrambleText(scrambled);
    Check(scrambled == plain, "unscrambling gives the text back");
    return 0;
}
