#pragma once

#include <cstdint>

// Points and sizes travel as one 64-bit value: x (or width) in the low 32 bits and y (or
// height) in the high 32 bits, both signed.
inline int64_t PackPoint(int32_t x, int32_t y) {
    return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(y)) << 32) |
                                static_cast<uint32_t>(x));
}

inline int32_t PointX(int64_t packed) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(packed)));
}

inline int32_t PointY(int64_t packed) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(packed) >> 32));
}
