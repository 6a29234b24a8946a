#pragma once
// The hexadecimal digit tables shared by the hex writers.

namespace n_HexDigits {

inline constexpr char UPPER[] = "0123456789ABCDEF";
inline constexpr char LOWER[] = "0123456789abcdef";

inline const char* Table(bool upperCase) {
    return upperCase ? UPPER : LOWER;
}

} // namespace n_HexDigits
