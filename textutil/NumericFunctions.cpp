// Rounding and powers of ten.

#include "textutil/NumericFunctions.h"

#include <bit>
#include <cmath>
#include <limits>

namespace {

// The largest double below 0.5 by four units in the last place.
constexpr double INT_ROUNDING_TOLERANCE = std::bit_cast<double>(std::uint64_t(0x3FDFFFFFFFFFFFFC));

template <typename I> I RoundHalfAway(double value, double tolerance) {
    // Casting NaN or an out-of-range value is undefined, so those are settled first.
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= -static_cast<double>(std::numeric_limits<I>::min())) {
        return std::numeric_limits<I>::max();
    }
    if (value < static_cast<double>(std::numeric_limits<I>::min())) {
        return std::numeric_limits<I>::min();
    }
    const I truncated = static_cast<I>(value);
    const double fraction = value - static_cast<double>(truncated);
    if (value > 0 && fraction >= tolerance) {
        return truncated == std::numeric_limits<I>::max() ? truncated : truncated + 1;
    }
    if (value < 0 && fraction <= -tolerance) {
        return truncated == std::numeric_limits<I>::min() ? truncated : truncated - 1;
    }
    return truncated;
}

constexpr double POWERS_OF_TEN[21] = {1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,
                                      1e1,   1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10};

} // namespace

int RoundToInt(double value) {
    return RoundHalfAway<int>(value, INT_ROUNDING_TOLERANCE);
}

std::int64_t RoundToInt64(double value) {
    return RoundHalfAway<std::int64_t>(value, 0.5);
}

double GetPowerOfTen(int n) {
    if (n >= -10 && n <= 10) {
        return POWERS_OF_TEN[n + 10];
    }
    return std::pow(10.0, n);
}

double Power(double base, int exponent) {
    return std::pow(base, exponent);
}
