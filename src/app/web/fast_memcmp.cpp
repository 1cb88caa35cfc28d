// memcmp for the web build. Emscripten's C library compares byte by byte, and the
// renderer compares the character set (1 KB) each time it draws, many times a frame
// while the screen scrolls, and each display line's codes: 64 bytes at a time this
// costs a fraction. Compiled without builtins (CMakeLists.txt) so the compiler cannot
// turn the loop back into a call to memcmp.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <wasm_simd128.h>

namespace {

bool Differ16(const unsigned char* a, const unsigned char* b) {
    return wasm_v128_any_true(wasm_v128_xor(wasm_v128_load(a), wasm_v128_load(b)));
}

} // namespace

extern "C" int memcmp(const void* left, const void* right, size_t count) {
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    while (count >= 64) {
        const v128_t d = wasm_v128_or(
            wasm_v128_or(wasm_v128_xor(wasm_v128_load(a), wasm_v128_load(b)),
                         wasm_v128_xor(wasm_v128_load(a + 16), wasm_v128_load(b + 16))),
            wasm_v128_or(wasm_v128_xor(wasm_v128_load(a + 32), wasm_v128_load(b + 32)),
                         wasm_v128_xor(wasm_v128_load(a + 48), wasm_v128_load(b + 48))));
        if (wasm_v128_any_true(d)) break; // the steps below say which byte differs first
        a += 64;
        b += 64;
        count -= 64;
    }
    while (count >= 16 && !Differ16(a, b)) {
        a += 16;
        b += 16;
        count -= 16;
    }
    for (; count; --count, ++a, ++b)
        if (*a != *b) return *a < *b ? -1 : 1;
    return 0;
}
