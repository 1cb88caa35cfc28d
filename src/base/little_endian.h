// Little-endian fields of the file formats (TZX, WAV, BMP): reads from a buffer whose
// bounds the caller has checked, and appends to a growing one.
#pragma once

#include <cstdint>
#include <vector>

inline uint32_t ReadLe16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}
inline uint32_t ReadLe24(const uint8_t* p) {
    return ReadLe16(p) | (uint32_t(p[2]) << 16);
}
inline uint32_t ReadLe32(const uint8_t* p) {
    return ReadLe24(p) | (uint32_t(p[3]) << 24);
}

inline void AppendLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void AppendLe32(std::vector<uint8_t>& out, uint32_t v) {
    AppendLe16(out, v & 0xFFFF);
    AppendLe16(out, v >> 16);
}
