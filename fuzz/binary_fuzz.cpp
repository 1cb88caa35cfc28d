// Binary files: the first bytes up to a newline are the address field's text (the number
// syntax), the rest is the file placed at that address.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/number_text.h"
#include "fuzz_support.h"
#include "tape/binary_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PrepareFuzzMachine();
    size_t split = 0;
    while (split < size && split < 16 && data[split] != '\n')
        ++split;
    const std::string text(reinterpret_cast<const char*>(data), split);
    const std::optional<uint32_t> address = ParseNumber(text);
    const size_t rest = split < size ? split + 1 : size;
    const BinaryResult result = PlaceBinary({data + rest, size - rest}, address.value_or(kMemorySize));
    if (!address || *address >= kMemorySize) {
        if (result != BinaryResult::BadAddress) std::abort();
    } else if (result == BinaryResult::BadAddress) {
        std::abort();
    }
    return 0;
}
