// Number parsing: integer magnitudes with per-digit overflow thresholds, and decimal text handed to
// double-conversion's correctly rounded Strtod.

#include "textutil/NumberParsing.h"

#include <double-conversion/strtod.h>

#include <array>
#include <limits>
#include <type_traits>

namespace {

unsigned DigitValue(char c) {
    return static_cast<unsigned char>(c) - static_cast<unsigned>('0');
}

// For each digit d, the largest magnitude m for which m * 10 + d still fits the limit.
template <typename U, U LIMIT> constexpr std::array<U, 10> MakeThresholds() {
    std::array<U, 10> thresholds{};
    for (unsigned d = 0; d < 10; ++d) {
        thresholds[d] = (LIMIT - d) / 10;
    }
    return thresholds;
}

// Reads the digits at the front of [position, end) into magnitude; false when the limit is passed.
template <typename U, U LIMIT> bool ReadMagnitude(const char* position, const char* end, U& magnitude) {
    magnitude = 0;
    if constexpr (sizeof(U) < sizeof(std::uint64_t)) {
        // A 64-bit accumulator cannot overflow before the limit is seen, so one compare per digit.
        std::uint64_t wide = 0;
        for (; position < end; ++position) {
            const unsigned digit = DigitValue(*position);
            if (digit > 9) {
                break;
            }
            wide = wide * 10 + digit;
            if (wide > LIMIT) {
                return false;
            }
        }
        magnitude = static_cast<U>(wide);
        return true;
    } else {
        static constexpr std::array<U, 10> THRESHOLDS = MakeThresholds<U, LIMIT>();
        for (; position < end; ++position) {
            const unsigned digit = DigitValue(*position);
            if (digit > 9) {
                break;
            }
            if (magnitude > THRESHOLDS[digit]) {
                return false;
            }
            magnitude = magnitude * 10 + digit;
        }
        return true;
    }
}

template <typename S> S ParseSigned(const c_StringView& text) {
    using U = std::make_unsigned_t<S>;
    constexpr U MAX = static_cast<U>(std::numeric_limits<S>::max());
    const c_StringView number = text.TrimmedLeft();
    const char* position = number.begin();
    const bool negative = number.GetFirstChar() == '-';
    U magnitude = 0;
    if (negative) {
        if (!ReadMagnitude<U, MAX + 1>(position + 1, number.end(), magnitude)) {
            return std::numeric_limits<S>::min();
        }
        return static_cast<S>(U(0) - magnitude);
    }
    if (!ReadMagnitude<U, MAX>(position, number.end(), magnitude)) {
        return std::numeric_limits<S>::max();
    }
    return static_cast<S>(magnitude);
}

template <typename U> U ParseUnsigned(const c_StringView& text) {
    const c_StringView number = text.TrimmedLeft();
    U magnitude = 0;
    if (!ReadMagnitude<U, std::numeric_limits<U>::max()>(number.begin(), number.end(), magnitude)) {
        return std::numeric_limits<U>::max();
    }
    return magnitude;
}

// Significant digits kept for Strtod; it cannot use more than this many.
constexpr int MAX_SIGNIFICANT_DIGITS = 780;
// Exponents beyond this over- or underflow whatever the digits are.
constexpr std::int64_t EXPONENT_CLAMP = 100000;

class c_DecimalReader {
public:
    double Read(const char* position, const char* end) {
        const bool negative = position < end && *position == '-';
        for (position += negative ? 1 : 0; position < end && Accept(*position); ++position) {
        }
        const double magnitude = m_Count == 0 ? 0.0 : Convert();
        return negative ? -magnitude : magnitude;
    }

private:
    enum class e_Part { INTEGER, FRACTION, EXPONENT };

    bool Accept(char c) {
        const unsigned digit = DigitValue(c);
        if (digit <= 9) {
            AcceptDigit(c, digit);
            return true;
        }
        if (c == '.' && m_Part == e_Part::INTEGER) {
            m_Part = e_Part::FRACTION;
            return true;
        }
        if ((c == 'e' || c == 'E') && m_Part != e_Part::EXPONENT) {
            m_Part = e_Part::EXPONENT;
            m_SignAllowed = true;
            return true;
        }
        if ((c == '+' || c == '-') && m_SignAllowed) {
            m_ExponentNegative = c == '-';
            m_SignAllowed = false;
            return true;
        }
        return false;
    }

    void AcceptDigit(char c, unsigned digit) {
        if (m_Part == e_Part::EXPONENT) {
            // Only the first three significant exponent digits count; later ones are read and dropped.
            m_SignAllowed = false;
            const unsigned exponent = m_Exponent * 10 + digit;
            m_Exponent = exponent < 1000 ? exponent : m_Exponent;
            return;
        }
        const bool fraction = m_Part == e_Part::FRACTION;
        if (m_Count == 0 && digit == 0) {
            m_Scale -= fraction ? 1 : 0;
            return;
        }
        if (m_Count < MAX_SIGNIFICANT_DIGITS) {
            m_Digits[m_Count++] = c;
            m_Scale -= fraction ? 1 : 0;
        } else {
            m_Scale += fraction ? 0 : 1;
        }
    }

    double Convert() const {
        std::int64_t exponent = m_Scale + (m_ExponentNegative ? -std::int64_t(m_Exponent) : m_Exponent);
        exponent =
            exponent < -EXPONENT_CLAMP ? -EXPONENT_CLAMP : (exponent > EXPONENT_CLAMP ? EXPONENT_CLAMP : exponent);
        return double_conversion::Strtod(double_conversion::Vector<const char>(m_Digits, m_Count),
                                         static_cast<int>(exponent));
    }

    char m_Digits[MAX_SIGNIFICANT_DIGITS];
    int m_Count = 0;
    std::int64_t m_Scale = 0;
    unsigned m_Exponent = 0;
    bool m_ExponentNegative = false;
    bool m_SignAllowed = false;
    e_Part m_Part = e_Part::INTEGER;
};

int HexDigitValue(char c) {
    if (DigitValue(c) <= 9) {
        return static_cast<int>(DigitValue(c));
    }
    const unsigned letter = (static_cast<unsigned char>(c) | 0x20u) - 'a';
    return letter < 6 ? static_cast<int>(letter + 10) : -1;
}

} // namespace

int ParseInt32(const c_StringView& text) {
    return ParseSigned<int>(text);
}
std::uint32_t ParseUInt32(const c_StringView& text) {
    return ParseUnsigned<std::uint32_t>(text);
}
std::int64_t ParseInt64(const c_StringView& text) {
    return ParseSigned<std::int64_t>(text);
}
std::uint64_t ParseUInt64(const c_StringView& text) {
    return ParseUnsigned<std::uint64_t>(text);
}

int ParseInt32(c_StringView& text) {
    text.TrimLeft();
    return ParseSigned<int>(text);
}
std::uint32_t ParseUInt32(c_StringView& text) {
    text.TrimLeft();
    return ParseUnsigned<std::uint32_t>(text);
}
std::int64_t ParseInt64(c_StringView& text) {
    text.TrimLeft();
    return ParseSigned<std::int64_t>(text);
}
std::uint64_t ParseUInt64(c_StringView& text) {
    text.TrimLeft();
    return ParseUnsigned<std::uint64_t>(text);
}

double ParseDouble(c_StringView& text) {
    text.TrimLeft();
    return c_DecimalReader().Read(text.begin(), text.end());
}

double ParseDouble(const c_StringView& text) {
    c_StringView copy = text;
    return ParseDouble(copy);
}

float ParseFloat(const c_StringView& text) {
    return static_cast<float>(ParseDouble(text));
}

bool ConsumeDecimal(c_StringView& text, int* value) {
    if (DigitValue(text.GetFirstChar()) > 9) {
        return false;
    }
    unsigned magnitude = 0;
    if (!ReadMagnitude<unsigned, static_cast<unsigned>(std::numeric_limits<int>::max())>(text.begin(), text.end(),
                                                                                         magnitude)) {
        return false;
    }
    int digits = 0;
    while (digits < text.GetLength() && DigitValue(text.begin()[digits]) <= 9) {
        ++digits;
    }
    text = text.RightFrom(digits);
    if (value != nullptr) {
        *value = static_cast<int>(magnitude);
    }
    return true;
}

std::uint64_t ParseGroupedHex(const c_String& text) {
    constexpr int GROUPED_LENGTH = 19;
    constexpr int MAX_DIGITS = 16;
    if (text.GetLength() != GROUPED_LENGTH) {
        return 0;
    }
    std::uint64_t value = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == 0) {
            break;
        }
        if (c == '-') {
            continue;
        }
        const int nibble = HexDigitValue(c);
        if (nibble < 0 || ++digits > MAX_DIGITS) {
            return 0;
        }
        value = value << 4 | static_cast<unsigned>(nibble);
    }
    return value;
}
