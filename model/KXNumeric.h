// Small numeric helpers shared by the model and the player: the 15-bit random draw that the
// stored "spread" formulas expect, and float-to-integer truncation that is defined for every input.
#pragma once

#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace kx {

namespace detail {
constexpr int bitWidth(unsigned long value) {
    return value == 0 ? 0 : 1 + bitWidth(value >> 1);
}
// glibc's rand() yields 31 bits; the formulas divide by 32767, so keep the top 15 of them.
constexpr int kRandomShift = bitWidth(static_cast<unsigned long>(RAND_MAX)) - 15;
static_assert(kRandomShift >= 0, "rand() must yield at least 15 bits");
} // namespace detail

constexpr int kRandom15Max = 32767;

// A value from 0 to 32767 inclusive, drawn with the C library's rand().
inline int random15() {
    return std::rand() >> detail::kRandomShift;
}

// A value from -1 to 1 as the stored formulas compute it: random15() / 32767 * 2 - 1, in floats.
inline float randomSignedUnit() {
    return static_cast<float>(random15()) / static_cast<float>(kRandom15Max) * 2.0f - 1.0f;
}

// Truncates toward zero like a C cast, but defined for every input: NaN gives 0 and values
// outside the target range saturate to its nearest end (so negatives give 0 for unsigned types).
template <typename Integer> Integer truncateToInteger(double value) {
    static_assert(std::is_integral<Integer>::value, "integer target required");
    using Limits = std::numeric_limits<Integer>;
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    // Both ends are powers of two (or zero), so they are exact in a double.
    const double lowest = static_cast<double>(Limits::min());
    const double pastHighest = (static_cast<double>(Limits::max() / 2 + 1)) * 2.0;
    if (truncated < lowest)
        return Limits::min();
    if (truncated >= pastHighest)
        return Limits::max();
    return static_cast<Integer>(truncated);
}

inline int truncateToInt(double value) {
    return truncateToInteger<int>(value);
}
inline unsigned int truncateToUInt(double value) {
    return truncateToInteger<unsigned int>(value);
}

} // namespace kx
