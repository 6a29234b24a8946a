// c_StringView: the constructors that need more than one line, and the one-character table.

#include "strings/c_StringView.h"

#include <climits>

namespace n_StringCore {

constinit const char ONE_CHARACTER_TABLE[128] = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,
    22,  23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,
    44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  63,  64,  65,
    66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,  87,
    88,  89,  90,  91,  92,  93,  94,  95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
    110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127};

t_Text<char> SpanText(s_ByteSpan span, bool cutAtNul) {
    if (span.m_p_Data == nullptr) {
        return {};
    }
    const char* data = static_cast<const char*>(span.m_p_Data);
    const int length = span.m_Size > INT_MAX ? INT_MAX : static_cast<int>(span.m_Size);
    return {data, cutAtNul ? CutAtNul(data, length) : length};
}

} // namespace n_StringCore

c_StringView::c_StringView(const char* text, int length, bool cutAtNul) {
    m_p_Data = text;
    if (text == nullptr || length < 0) {
        return;
    }
    m_Length = cutAtNul ? n_StringCore::CutAtNul(text, length) : length;
}

c_StringView::c_StringView(const char* begin, const char* end) {
    m_p_Data = begin;
    if (begin != nullptr && n_StringCore::Address(end) >= n_StringCore::Address(begin)) {
        m_Length = static_cast<int>(end - begin);
    }
}

c_StringView::c_StringView(s_ByteSpan span, bool cutAtNul) : c_StringView(n_StringCore::SpanText(span, cutAtNul)) {}
