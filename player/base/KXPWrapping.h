#pragma once

// Depths and z orders come from the data as any 32-bit int, and the player's sums of them wrap
// as 32-bit two's complement ints do, without the overflow.

#include <cstdint>

// a + b, wrapped into an int.
inline int wrappingAdd(int a, int b) {
    const int64_t low = (static_cast<int64_t>(a) + b) & 0xFFFFFFFF;
    return static_cast<int>(low > INT32_MAX ? low - (int64_t(1) << 32) : low);
}
