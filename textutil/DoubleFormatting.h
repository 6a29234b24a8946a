#pragma once
// Floating-point values as text, through double-conversion with the program's fixed settings.
//
// Shortest forms are plain decimal for a first significant digit at 10^-8 to 10^7 and exponential
// otherwise, with a signed exponent of at least two digits (1e+08, 1e-09, 1.234567895e+08); "NaN",
// "Infinity" and "-Infinity" for the special values; negative zero is "0". Fixed forms take up to 60
// decimals for magnitudes below 1e60; any other fixed request gives the empty text.

#include "strings/c_String.h"

constexpr int MAX_FIXED_DECIMALS = 60;

// Integral values within the int range without decimals; every other value in shortest form.
c_String ToString(double value);
c_String ToString(float value);
// Fixed notation with exactly decimals digits after the point (none and no point for 0).
c_String ToString(double value, int decimals);
c_String ToString(float value, int decimals);
c_String ToStringShortest(double value);
c_String ToStringShortest(float value);

// The core of the above; replaces out, which is left empty when a request cannot be met.
void DoubleToString(double value, int decimals, bool shortest, bool singlePrecision, c_String& out);
