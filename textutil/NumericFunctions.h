#pragma once
// Rounding to integers and powers of ten.

#include <cstdint>

// Rounds half away from zero, with a tolerance a few units in the last place below one half, so
// 0.49999999999999983 rounds to 1. Values beyond the int range give its limit; NaN gives 0.
int RoundToInt(double value);
// Rounds half away from zero, exactly at one half. Beyond the range: the limit; NaN: 0.
std::int64_t RoundToInt64(double value);
// 10^n: exact constants from 1e-10 to 1e10, pow beyond.
double GetPowerOfTen(int n);
double Power(double base, int exponent);
