#pragma once
// c_ShortText: a short text put together on the stack and handed over as one c_String.
//
// The date-time texts are built here so that a result is either whole or, when its one allocation
// fails, empty: never cut short between two pieces. Their longest form stays below 40 characters.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "textutil/internal/DigitPairs.h"

#include <cstdint>
#include <cstring>

class c_ShortText {
public:
    static constexpr int CAPACITY = 64;

    void Append(const c_StringView& text) { AppendUnits(text.begin(), text.GetLength()); }
    void Append(char c) { AppendUnits(&c, 1); }
    // The decimal digits of the value's magnitude zero-padded to minDigits, '-' in front when negative.
    void AppendNumber(std::int64_t value, int minDigits) {
        const bool negative = value < 0;
        const std::uint64_t magnitude =
            negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        char digits[CAPACITY];
        char* const end = digits + sizeof digits;
        char* start = n_DigitPairs::WriteBackwards(magnitude, end);
        while (end - start < minDigits && start > digits + 1) {
            *--start = '0';
        }
        if (negative) {
            *--start = '-';
        }
        AppendUnits(start, static_cast<int>(end - start));
    }
    bool IsEmpty() const { return m_Length == 0; }
    c_StringView GetView() const { return c_StringView(m_Buffer, m_Length); }
    // Replaces out; out is left empty when the text cannot be stored.
    void AssignTo(c_String& out) const { out = GetView(); }

private:
    // The forms built here are far below the capacity; a piece that would not fit is not written.
    void AppendUnits(const char* units, int count) {
        if (count > CAPACITY - m_Length) {
            return;
        }
        std::memcpy(m_Buffer + m_Length, units, static_cast<std::size_t>(count));
        m_Length += count;
    }

    char m_Buffer[CAPACITY];
    int m_Length = 0;
};
