#include "base/float_chars.h"

#include <cmath>
#include <limits>

std::from_chars_result FloatFromCharsPortable(const char* first, const char* last, float& value) {
    const char* p = first;
    const bool negative = p < last && *p == '-';
    if (negative) ++p;
    // Digits are gathered as an integer (the first 19 significant ones) and a power of ten.
    unsigned long long mantissa = 0;
    int significant = 0;
    int exponent = 0;
    bool anyDigit = false;
    auto takeDigits = [&](bool fraction) {
        for (; p < last && *p >= '0' && *p <= '9'; ++p) {
            anyDigit = true;
            if (significant < 19) {
                mantissa = mantissa * 10 + unsigned(*p - '0');
                if (mantissa) ++significant;
                if (fraction) --exponent;
            } else if (!fraction) {
                ++exponent;
            }
        }
    };
    takeDigits(false);
    if (p < last && *p == '.') {
        ++p;
        takeDigits(true);
    }
    if (!anyDigit) return {first, std::errc::invalid_argument};
    if (p < last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        const bool expNegative = q < last && *q == '-';
        if (q < last && (*q == '-' || *q == '+')) ++q;
        if (q < last && *q >= '0' && *q <= '9') {
            int written = 0;
            for (; q < last && *q >= '0' && *q <= '9'; ++q)
                if (written < 100000) written = written * 10 + (*q - '0');
            exponent += expNegative ? -written : written;
            p = q;
        } // an 'e' without digits is not part of the number
    }
    const long double magnitude = mantissa == 0 ? 0.0L : std::pow(10.0L, exponent) * (long double)mantissa;
    // Beyond float's range either way, as the standard reader has it.
    if (magnitude > std::numeric_limits<float>::max() ||
        (magnitude != 0 && magnitude < std::numeric_limits<float>::denorm_min()))
        return {p, std::errc::result_out_of_range};
    value = float(negative ? -magnitude : magnitude);
    return {p, std::errc()};
}
