// The portable float reader must agree with the standard library's wherever that has one:
// the web build (libc++ 14) reads shader parameters with it.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>

#include "base/float_chars.h"

TEST(FloatChars, PortableReaderAgreesWithTheStandardOne) {
    const char* const cases[] = {"0",      "1",       "-1",    "0.5",   ".25",   "-.75", "3.",    "10",
                                 "1e3",    "2.5E-2",  "1e+2",  "7e",    "7e-",   "1.5x", "0.001", "123456.789",
                                 "-0",     "1e-50",   "3.4e38", "1e39", "abc",   "",     "-",     ".",
                                 "+1",     " 1",      "00012.50", "99999999999999999999999", "0.1 0.2"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const char* last = text + std::strlen(text);
        float portable = -99.0f;
        float standard = -99.0f;
        const auto ours = FloatFromCharsPortable(text, last, portable);
#if defined(__cpp_lib_to_chars)
        const auto theirs = std::from_chars(text, last, standard);
        EXPECT_EQ(ours.ec, theirs.ec);
        EXPECT_EQ(ours.ptr - text, theirs.ptr - text);
        if (theirs.ec == std::errc()) {
            EXPECT_FLOAT_EQ(portable, standard);
        }
#else
        (void)ours;
        (void)standard;
        GTEST_SKIP() << "this standard library has no floating-point from_chars to compare with";
#endif
    }
}
