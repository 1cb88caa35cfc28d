// Reads a decimal floating-point number the way std::from_chars does (no leading '+' or
// blanks, no locale), also where the standard library lacks the floating-point overload
// (libc++ 14, which the web build uses).
#pragma once

#include <charconv>

// "[-]digits[.digits][(e|E)[+|-]digits]", or a fraction without integer digits (".5").
// On success `ptr` is the first character not read; a number beyond float's range is
// std::errc::result_out_of_range, text that starts no number std::errc::invalid_argument.
std::from_chars_result FloatFromCharsPortable(const char* first, const char* last, float& value);

inline std::from_chars_result FloatFromChars(const char* first, const char* last, float& value) {
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, value);
#else
    return FloatFromCharsPortable(first, last, value);
#endif
}
