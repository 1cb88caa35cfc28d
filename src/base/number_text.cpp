#include "base/number_text.h"

#include <charconv>

std::optional<uint32_t> ParseDigits(std::string_view digits, int base, uint32_t max) {
    // from_chars takes no sign, space or prefix into an unsigned number, and refuses what
    // does not fit 32 bits.
    uint32_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, fault] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || fault != std::errc() || stop != end || value > max) return std::nullopt;
    return value;
}

std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max, HexPrefixes prefixes) {
    if (!text.empty() && (text[0] == '#' || text[0] == '$')) return ParseDigits(text.substr(1), 16, max);
    if ((prefixes & kHexPrefix0x) && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseDigits(text.substr(2), 16, max);
    return ParseDigits(text, 10, max);
}
