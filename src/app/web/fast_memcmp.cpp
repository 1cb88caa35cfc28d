// memcmp for the web build. Emscripten's C library compares byte by byte, and the
// renderer compares each display line's codes and the character set every frame: a
// word at a time this costs a fraction. Compiled without builtins (CMakeLists.txt) so
// the compiler cannot turn the loop back into a call to memcmp.
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int memcmp(const void* left, const void* right, size_t count) {
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    while (count >= 8) {
        uint64_t x, y;
        __builtin_memcpy(&x, a, 8);
        __builtin_memcpy(&y, b, 8);
        if (x != y) break; // the bytes below say which differs first
        a += 8;
        b += 8;
        count -= 8;
    }
    for (; count; --count, ++a, ++b)
        if (*a != *b) return *a < *b ? -1 : 1;
    return 0;
}
