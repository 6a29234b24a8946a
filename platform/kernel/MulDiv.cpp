// MulDiv: scaling through 64 bits with rounding.

#include <windows.h>

#include <cstdlib>

int WINAPI MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    const long long result = negative ? -magnitude : magnitude;
    if (result > 2147483647LL || result < -2147483647LL - 1) {
        return -1;
    }
    return static_cast<int>(result);
}
