#pragma once
// c_StringView and c_StringViewNoCase: non-owning views over 8-bit text.
//
// A view is a pointer and a signed 32-bit length; a null pointer always comes with length 0, and
// any view of length 0 is empty. c_StringViewNoCase differs only in its case rule: every comparison
// and search it takes part in ignores the case of ASCII letters. Both convert to each other.
//
// Every text argument may be a char, a C string, either view or either owning string. A char from
// 1 to 127 is a one-byte text (a view into a constant table); NUL and 0x80-0xFF are the empty text.

#include "strings/internal/ViewBase.h"

class c_String;
class c_StringNoCase;
class c_StringViewNoCase;

namespace n_StringCore {

extern const char ONE_CHARACTER_TABLE[128];

inline t_Text<char> OneCharacterText(char c) {
    const unsigned value = static_cast<unsigned char>(c);
    if (value - 1u < 127u) {
        return {ONE_CHARACTER_TABLE + value, 1};
    }
    return {ONE_CHARACTER_TABLE, 0};
}

inline t_Text<char> CStringText(const char* text) {
    return {text, ClampedLength(text)};
}

} // namespace n_StringCore

class c_StringView : public n_StringCore::c_ViewBase<c_StringView, char, false> {
public:
    c_StringView() = default;
    c_StringView(char c) : c_StringView(n_StringCore::OneCharacterText(c)) {}
    c_StringView(const char* text) : c_StringView(n_StringCore::CStringText(text)) {}
    c_StringView(const char* text, int length, bool cutAtNul = false)
        : c_StringView(n_StringCore::CountedText(text, length, cutAtNul)) {}
    // A bool is never a length.
    c_StringView(const char* text, bool cutAtNul) = delete;
    c_StringView(const char* begin, const char* end) : c_StringView(n_StringCore::RangeText(begin, end)) {}
    c_StringView(const c_String& text);
    c_StringView(const c_String& text, int maxLength);
    // The string's storage up to its stored size, cut at the first NUL; false gives the text.
    c_StringView(const c_String& text, bool cutAtNul);
    c_StringView(s_ByteSpan span, bool cutAtNul) : c_StringView(n_StringCore::SpanText<char>(span, cutAtNul)) {}
    c_StringView(const c_StringViewNoCase& view);
    c_StringView(n_StringCore::t_Text<char> text) : c_ViewBase(text.m_p_Data, text.m_Length) {}
};

class c_StringViewNoCase : public n_StringCore::c_ViewBase<c_StringViewNoCase, char, true> {
public:
    c_StringViewNoCase() = default;
    c_StringViewNoCase(char c) : c_StringViewNoCase(n_StringCore::OneCharacterText(c)) {}
    c_StringViewNoCase(const char* text) : c_StringViewNoCase(n_StringCore::CStringText(text)) {}
    c_StringViewNoCase(const char* text, int length, bool cutAtNul = false)
        : c_StringViewNoCase(n_StringCore::CountedText(text, length, cutAtNul)) {}
    c_StringViewNoCase(const char* text, bool cutAtNul) = delete;
    c_StringViewNoCase(const char* begin, const char* end) : c_StringViewNoCase(n_StringCore::RangeText(begin, end)) {}
    c_StringViewNoCase(const c_String& text);
    // The string's storage up to its stored size, cut at the first NUL; false gives the text.
    c_StringViewNoCase(const c_String& text, bool cutAtNul);
    // No maxLength form: a length would otherwise bind to the cut flag.
    c_StringViewNoCase(const c_String& text, int maxLength) = delete;
    c_StringViewNoCase(s_ByteSpan span, bool cutAtNul)
        : c_StringViewNoCase(n_StringCore::SpanText<char>(span, cutAtNul)) {}
    c_StringViewNoCase(const c_StringView& view) : c_StringViewNoCase(view.Text()) {}
    c_StringViewNoCase(n_StringCore::t_Text<char> text) : c_ViewBase(text.m_p_Data, text.m_Length) {}
};

inline c_StringView::c_StringView(const c_StringViewNoCase& view) : c_StringView(view.Text()) {}

// The six blank characters: 0x09 to 0x0D and the space.
inline bool IsWhitespaceChar(char c) {
    return n_StringCore::IsBlank(c);
}

namespace n_StringCore {

template <> struct t_Operand<char, char> {
    static constexpr bool NO_CASE = false;
    static t_Text<char> Get(char c) { return OneCharacterText(c); }
};
template <> struct t_Operand<char, const char*> {
    static constexpr bool NO_CASE = false;
    static t_Text<char> Get(const char* text) { return CStringText(text); }
};
template <> struct t_Operand<char, char*> : t_Operand<char, const char*> {};
template <std::size_t N> struct t_Operand<char, char[N]> : t_Operand<char, const char*> {};
template <> struct t_Operand<char, c_StringView> {
    static constexpr bool NO_CASE = false;
    static t_Text<char> Get(const c_StringView& view) { return view.Text(); }
};
template <> struct t_Operand<char, c_StringViewNoCase> {
    static constexpr bool NO_CASE = true;
    static t_Text<char> Get(const c_StringViewNoCase& view) { return view.Text(); }
};

} // namespace n_StringCore
