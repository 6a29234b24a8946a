// MultiByteToWideChar and WideCharToMultiByte for UTF-8 and Windows-1252.
//
// Ill-formed input is replaced, never refused: each maximal ill-formed subpart of UTF-8 (Unicode,
// chapter 3, "U+FFFD Substitution of Maximal Subparts") and each unpaired surrogate becomes U+FFFD.

#include "platform/kernel/LastError.h"

#include <climits>
#include <cstdint>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;
constexpr UINT CODE_PAGE_1252 = 1252;

// The 0x80-0x9F row of Windows-1252; the rest of the page is Latin-1. The five unassigned bytes map
// to the C1 controls of the same value, as Windows does.
constexpr char16_t WINDOWS_1252_HIGH_ROW[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Counts every unit and writes those that fit; a count above the capacity means the buffer was short.
template <typename T> class c_UnitSink {
public:
    c_UnitSink(T* buffer, int capacity) : m_p_Buffer(buffer), m_Capacity(capacity) {}

    void Put(T unit) {
        if (m_p_Buffer != nullptr && m_Count < m_Capacity) {
            m_p_Buffer[m_Count] = unit;
        }
        ++m_Count;
    }
    std::int64_t GetCount() const { return m_Count; }

    // The API's result: the count, or 0 with the last error when it cannot be delivered.
    int Finish() const {
        if (m_Count > INT_MAX || (m_p_Buffer != nullptr && m_Count > m_Capacity)) {
            return n_Platform::FailWith(0, ERROR_INSUFFICIENT_BUFFER);
        }
        return static_cast<int>(m_Count);
    }

private:
    T* m_p_Buffer;
    std::int64_t m_Capacity;
    std::int64_t m_Count = 0;
};

// Reads one code point from UTF-8; returns the bytes taken (at least 1).
int DecodeUtf8(const unsigned char* text, int length, char32_t& codePoint) {
    const unsigned lead = text[0];
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    int continuations;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    char32_t value;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        value = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : low;   // overlong
        high = lead == 0xED ? 0x9F : high; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        value = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : low;   // overlong
        high = lead == 0xF4 ? 0x8F : high; // above U+10FFFF
    } else {
        codePoint = REPLACEMENT;
        return 1;
    }
    int used = 1;
    for (int i = 0; i < continuations; ++i, ++used) {
        const unsigned next = used < length ? text[used] : 0;
        if (next < low || next > high) {
            codePoint = REPLACEMENT;
            return used;
        }
        value = (value << 6) | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    codePoint = value;
    return used;
}

// Reads one code point from UTF-16; returns the units taken (1 or 2).
int DecodeUtf16(const char16_t* text, int length, char32_t& codePoint) {
    const char16_t unit = text[0];
    codePoint = unit;
    if (unit < 0xD800 || unit > 0xDFFF) {
        return 1;
    }
    if (unit <= 0xDBFF && length > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
        codePoint = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[1]) - 0xDC00);
        return 2;
    }
    codePoint = REPLACEMENT;
    return 1;
}

void PutUtf16(c_UnitSink<char16_t>& sink, char32_t codePoint) {
    if (codePoint < 0x10000) {
        sink.Put(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    sink.Put(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    sink.Put(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

void PutUtf8(c_UnitSink<char>& sink, char32_t codePoint) {
    if (codePoint < 0x80) {
        sink.Put(static_cast<char>(codePoint));
        return;
    }
    if (codePoint < 0x800) {
        sink.Put(static_cast<char>(0xC0 | (codePoint >> 6)));
    } else {
        if (codePoint < 0x10000) {
            sink.Put(static_cast<char>(0xE0 | (codePoint >> 12)));
        } else {
            sink.Put(static_cast<char>(0xF0 | (codePoint >> 18)));
            sink.Put(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        }
        sink.Put(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    }
    sink.Put(static_cast<char>(0x80 | (codePoint & 0x3F)));
}

char16_t Decode1252(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? WINDOWS_1252_HIGH_ROW[byte - 0x80] : byte;
}

// The Windows-1252 byte of a code point, or -1 when the page has none.
int Encode1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    for (int i = 0; i < 32; ++i) {
        if (WINDOWS_1252_HIGH_ROW[i] == codePoint) {
            return 0x80 + i;
        }
    }
    return -1;
}

bool IsSupportedCodePage(UINT codePage) {
    return codePage == CP_UTF8 || codePage == CP_ACP || codePage == CODE_PAGE_1252;
}

// The checks that both directions share; length -1 is replaced by the length with the NUL.
template <typename T>
bool CheckArguments(UINT codePage, DWORD flags, const T* text, int& length, const void* buffer, int capacity) {
    if (flags != 0) {
        return n_Platform::FailWith(false, ERROR_INVALID_FLAGS);
    }
    if (!IsSupportedCodePage(codePage) || text == nullptr || length == 0 || length < -1 || capacity < 0 ||
        (buffer == nullptr && capacity > 0)) {
        return n_Platform::FailWith(false, ERROR_INVALID_PARAMETER);
    }
    if (length == -1) {
        std::int64_t count = 0;
        while (text[count] != 0) {
            ++count;
        }
        if (count >= INT_MAX) {
            return n_Platform::FailWith(false, ERROR_INVALID_PARAMETER);
        }
        length = static_cast<int>(count) + 1;
    }
    return true;
}

void DecodeWindows1252(const unsigned char* text, int length, c_UnitSink<char16_t>& sink) {
    for (int i = 0; i < length; ++i) {
        sink.Put(Decode1252(text[i]));
    }
}

void DecodeUtf8Text(const unsigned char* text, int length, c_UnitSink<char16_t>& sink) {
    for (int i = 0; i < length;) {
        char32_t codePoint;
        i += DecodeUtf8(text + i, length - i, codePoint);
        PutUtf16(sink, codePoint);
    }
}

void EncodeUtf8Text(const char16_t* text, int length, c_UnitSink<char>& sink) {
    for (int i = 0; i < length;) {
        char32_t codePoint;
        i += DecodeUtf16(text + i, length - i, codePoint);
        PutUtf8(sink, codePoint);
    }
}

// A pair of surrogates is one character, so it becomes one default character.
void EncodeWindows1252(const char16_t* text, int length, LPCCH defaultChar, LPBOOL usedDefaultChar,
                       c_UnitSink<char>& sink) {
    const char fallback = defaultChar != nullptr ? *defaultChar : '?';
    bool usedDefault = false;
    for (int i = 0; i < length;) {
        char32_t codePoint;
        i += DecodeUtf16(text + i, length - i, codePoint);
        const int byte = Encode1252(codePoint);
        usedDefault = usedDefault || byte < 0;
        sink.Put(byte < 0 ? fallback : static_cast<char>(byte));
    }
    if (usedDefaultChar != nullptr) {
        *usedDefaultChar = usedDefault ? TRUE : FALSE;
    }
}

} // namespace

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int bytes, LPWSTR buffer, int units) {
    if (!CheckArguments(codePage, flags, text, bytes, buffer, units)) {
        return 0;
    }
    c_UnitSink<char16_t> sink(units == 0 ? nullptr : buffer, units);
    const auto* input = reinterpret_cast<const unsigned char*>(text);
    if (codePage == CP_UTF8) {
        DecodeUtf8Text(input, bytes, sink);
    } else {
        DecodeWindows1252(input, bytes, sink);
    }
    return sink.Finish();
}

int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int units, LPSTR buffer, int bytes,
                               LPCCH defaultChar, LPBOOL usedDefaultChar) {
    if (!CheckArguments(codePage, flags, text, units, buffer, bytes)) {
        return 0;
    }
    c_UnitSink<char> sink(bytes == 0 ? nullptr : buffer, bytes);
    if (codePage != CP_UTF8) {
        EncodeWindows1252(text, units, defaultChar, usedDefaultChar, sink);
    } else if (defaultChar != nullptr || usedDefaultChar != nullptr) {
        return n_Platform::FailWith(0, ERROR_INVALID_PARAMETER);
    } else {
        EncodeUtf8Text(text, units, sink);
    }
    return sink.Finish();
}
