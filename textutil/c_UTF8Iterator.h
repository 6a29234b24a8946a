#pragma once
// c_UTF8Iterator: a forward walk over the code points of UTF-8 text.
//
// Each step moves past one lead byte and its continuation bytes, so every byte is visited once.
// Decoding does not check the continuation bytes or reject overlong forms and surrogates: the
// program only walks its own text with it. A malformed or cut-short sequence decodes as 0.

#include <cstdint>

inline bool IsUTF8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The code point whose lead byte is at current; 0 at or past end.
std::uint32_t DecodeUTF8CodePoint(const char* current, const char* end);

class c_UTF8Iterator {
public:
    c_UTF8Iterator() = default;
    c_UTF8Iterator(const char* current, const char* end) : m_p_Current(current), m_p_End(end) {}

    // Never steps past end.
    c_UTF8Iterator& operator++();
    c_UTF8Iterator operator++(int) {
        c_UTF8Iterator before = *this;
        ++*this;
        return before;
    }
    std::uint32_t operator*() const { return DecodeUTF8CodePoint(m_p_Current, m_p_End); }
    bool operator==(const c_UTF8Iterator& other) const { return m_p_Current == other.m_p_Current; }

    const char* GetCurrent() const { return m_p_Current; }

private:
    const char* m_p_Current = nullptr;
    const char* m_p_End = nullptr;
};
