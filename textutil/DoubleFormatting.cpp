// Double and float texts: one converter with the program's settings, formatting into a stack buffer.

#include "textutil/DoubleFormatting.h"

#include <double-conversion/double-to-string.h>

#include <cmath>

namespace {

using double_conversion::DoubleToStringConverter;

constexpr double FIXED_MAGNITUDE_LIMIT = 1e60;
constexpr int TEXT_BUFFER = 128;

const DoubleToStringConverter& GetConverter() {
    static const DoubleToStringConverter CONVERTER(DoubleToStringConverter::EMIT_POSITIVE_EXPONENT_SIGN |
                                                       DoubleToStringConverter::UNIQUE_ZERO,
                                                   "Infinity", "NaN", 'e', -8, 8, 0, 0, 2);
    return CONVERTER;
}

c_String Formatted(double value, int decimals, bool shortest, bool singlePrecision) {
    c_String text;
    DoubleToString(value, decimals, shortest, singlePrecision, text);
    return text;
}

template <typename F> bool IsIntegralInt(F value) {
    return value >= F(-2147483648.0) && value < F(2147483648.0) && value == static_cast<F>(static_cast<int>(value));
}

} // namespace

void DoubleToString(double value, int decimals, bool shortest, bool singlePrecision, c_String& out) {
    char buffer[TEXT_BUFFER];
    double_conversion::StringBuilder builder(buffer, TEXT_BUFFER);
    const DoubleToStringConverter& converter = GetConverter();
    if (shortest && singlePrecision) {
        converter.ToShortestSingle(static_cast<float>(value), &builder);
    } else if (shortest || !std::isfinite(value)) {
        converter.ToShortest(value, &builder);
    } else if (decimals >= 0 && decimals <= MAX_FIXED_DECIMALS && std::fabs(value) < FIXED_MAGNITUDE_LIMIT) {
        converter.ToFixed(value, decimals, &builder);
    } else {
        out = c_String();
        return;
    }
    const int length = builder.position();
    out = c_StringView(builder.Finalize(), length);
}

c_String ToString(double value) {
    if (value == 0) {
        return c_String("0");
    }
    return Formatted(value, 0, !IsIntegralInt(value), false);
}

c_String ToString(float value) {
    if (value == 0) {
        return c_String("0");
    }
    return Formatted(value, 0, !IsIntegralInt(value), true);
}

c_String ToString(double value, int decimals) {
    return Formatted(value, decimals, false, false);
}
c_String ToString(float value, int decimals) {
    return Formatted(value, decimals, false, true);
}
c_String ToStringShortest(double value) {
    return Formatted(value, 0, true, false);
}
c_String ToStringShortest(float value) {
    return Formatted(value, 0, true, true);
}
