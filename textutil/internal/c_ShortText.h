#pragma once
// c_ShortText: a short text put together on the stack and handed over as one c_String.
//
// The date-time texts are built here so that a result is either whole or, when its one allocation
// fails, empty: never cut short between two pieces. Their longest form stays below 40 characters.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "textutil/internal/DigitPairs.h"

#include <cstdint>

class c_ShortText {
public:
    static constexpr int CAPACITY = 64;

    void Append(const c_StringView& text) { AppendUnits(text.begin(), text.GetLength()); }
    void Append(char c) {
        if (m_Length < CAPACITY) {
            m_Buffer[m_Length++] = c;
        }
    }
    // The decimal digits of the value's magnitude zero-padded to minDigits, '-' in front when negative.
    // Written in place: these texts are a few short numbers, so copying each one costs as much as
    // writing it.
    void AppendNumber(std::int64_t value, int minDigits) {
        if (value >= 0 && value < 100 && minDigits <= 2 && CAPACITY - m_Length >= 2) {
            AppendSmallNumber(static_cast<int>(value), minDigits);
            return;
        }
        const bool negative = value < 0;
        const std::uint64_t magnitude =
            negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        int digits = 1;
        for (std::uint64_t rest = magnitude; rest >= 10; rest /= 10) {
            ++digits;
        }
        const int width = digits > minDigits ? digits : minDigits;
        const int sign = negative ? 1 : 0;
        if (width + sign > CAPACITY - m_Length) {
            return;
        }
        char* const start = m_Buffer + m_Length;
        char* const end = start + sign + width;
        for (char* zero = n_DigitPairs::WriteBackwards(magnitude, end); zero > start + sign;) {
            *--zero = '0';
        }
        if (negative) {
            *start = '-';
        }
        m_Length += sign + width;
    }
    bool IsEmpty() const { return m_Length == 0; }
    c_StringView GetView() const { return c_StringView(m_Buffer, m_Length); }
    // Replaces out; out is left empty when the text cannot be stored.
    void AssignTo(c_String& out) const { out = GetView(); }

private:
    // The fields of a date and time: one or two digits from the digit-pair table.
    void AppendSmallNumber(int value, int minDigits) {
        if (value < 10 && minDigits < 2) {
            m_Buffer[m_Length++] = static_cast<char>('0' + value);
            return;
        }
        m_Buffer[m_Length] = n_DigitPairs::TABLE[2 * value];
        m_Buffer[m_Length + 1] = n_DigitPairs::TABLE[2 * value + 1];
        m_Length += 2;
    }

    // The forms built here are far below the capacity; a piece that would not fit is not written.
    void AppendUnits(const char* units, int count) {
        if (count > CAPACITY - m_Length) {
            return;
        }
        for (int i = 0; i < count; ++i) {
            m_Buffer[m_Length + i] = units[i];
        }
        m_Length += count;
    }

    char m_Buffer[CAPACITY];
    int m_Length = 0;
};
