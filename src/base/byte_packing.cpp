#include "base/byte_packing.h"

#include <cstring>

namespace {

constexpr size_t kMinCopy = 4;
constexpr size_t kShortCopyLimit = 0x3F; // the count field's escape to a longer count
constexpr size_t kLongCopyBase = kShortCopyLimit + kMinCopy;
constexpr size_t kMaxLiteral = 128;

// How many bytes from `at` on repeat the bytes `distance` back (overlapping, as a copy does).
// Eight bytes at a time while they match: runs of zeros and of one pixel are most of a
// state, and this loop is most of the packing's time.
size_t MatchLength(const uint8_t* data, size_t size, size_t at, size_t distance) {
    if (at < distance) return 0;
    size_t n = 0;
    while (at + n + 8 <= size) {
        uint64_t here, back;
        std::memcpy(&here, data + at + n, 8);
        std::memcpy(&back, data + at + n - distance, 8);
        if (here != back) break;
        n += 8;
    }
    while (at + n < size && data[at + n] == data[at + n - distance])
        ++n;
    return n;
}

void FlushLiterals(const uint8_t* data, size_t from, size_t to, std::vector<uint8_t>& out) {
    while (from < to) {
        const size_t n = to - from < kMaxLiteral ? to - from : kMaxLiteral;
        out.push_back(uint8_t(n - 1));
        out.insert(out.end(), data + from, data + from + n);
        from += n;
    }
}

void PutCopy(size_t distance, size_t length, std::vector<uint8_t>& out) {
    const uint8_t far = distance == 4 ? 0x40 : 0x00;
    if (length - kMinCopy < kShortCopyLimit) {
        out.push_back(uint8_t(0x80 | far | (length - kMinCopy)));
        return;
    }
    out.push_back(uint8_t(0x80 | far | kShortCopyLimit));
    size_t rest = length - kLongCopyBase;
    do {
        out.push_back(uint8_t((rest & 0x7F) | (rest > 0x7F ? 0x80 : 0)));
        rest >>= 7;
    } while (rest != 0);
}

} // namespace

void PackBytes(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
    size_t literalStart = 0;
    size_t at = 0;
    while (at < size) {
        const size_t near = MatchLength(data, size, at, 1);
        const size_t far = near >= 64 ? 0 : MatchLength(data, size, at, 4);
        const size_t length = near >= far ? near : far;
        if (length < kMinCopy) {
            ++at;
            continue;
        }
        FlushLiterals(data, literalStart, at, out);
        PutCopy(near >= far ? 1 : 4, length, out);
        at += length;
        literalStart = at;
    }
    FlushLiterals(data, literalStart, size, out);
}

bool UnpackBytes(const uint8_t* packed, size_t size, size_t expectedSize, std::vector<uint8_t>& out) {
    out.resize(expectedSize);
    uint8_t* to = out.data();
    size_t done = 0;
    size_t at = 0;
    while (at < size) {
        const uint8_t token = packed[at++];
        if (token < 0x80) {
            const size_t n = size_t(token) + 1;
            if (n > size - at || n > expectedSize - done) return false;
            std::memcpy(to + done, packed + at, n);
            done += n;
            at += n;
            continue;
        }
        const size_t distance = (token & 0x40) ? 4 : 1;
        size_t length = (token & 0x3F) + kMinCopy;
        if ((token & 0x3F) == kShortCopyLimit) {
            size_t extra = 0;
            for (int shift = 0;; shift += 7) {
                if (at >= size || shift > 28) return false;
                const uint8_t b = packed[at++];
                extra |= size_t(b & 0x7F) << shift;
                if (!(b & 0x80)) break;
            }
            length = kLongCopyBase + extra;
        }
        if (done < distance || length > expectedSize - done) return false;
        if (distance == 1) {
            std::memset(to + done, to[done - 1], length);
        } else {
            for (size_t k = 0; k < length; ++k)
                to[done + k] = to[done + k - distance];
        }
        done += length;
    }
    return done == expectedSize;
}

void XorBytes(uint8_t* to, const uint8_t* with, size_t size) {
    for (size_t i = 0; i < size; ++i)
        to[i] ^= with[i];
}

uint32_t ByteChecksum(const uint8_t* data, size_t size) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}
