#pragma once
// c_WStringView and c_WStringViewNoCase: non-owning views over UTF-16 text.
//
// The twins of c_StringView and c_StringViewNoCase over 16-bit units (char16_t, the program's
// WCHAR): the same members and rules, with lengths and positions in units. Units are not validated
// and only 'A'-'Z' fold without case. A single unit used as a text is a one-unit text unless it is
// 0, which is the empty text.

#include "strings/internal/ViewBase.h"

class c_WString;
class c_WStringNoCase;
class c_WStringViewNoCase;

namespace n_StringCore {

inline t_Text<char16_t> WideCStringText(const char16_t* text) {
    return {text, ClampedLength(text)};
}

} // namespace n_StringCore

class c_WStringView : public n_StringCore::c_ViewBase<c_WStringView, char16_t, false> {
public:
    c_WStringView() = default;
    c_WStringView(const char16_t* text) : c_WStringView(n_StringCore::WideCStringText(text)) {}
    c_WStringView(const char16_t* text, int length, bool cutAtNul = false)
        : c_WStringView(n_StringCore::CountedText(text, length, cutAtNul)) {}
    // A bool is never a length.
    c_WStringView(const char16_t* text, bool cutAtNul) = delete;
    c_WStringView(const char16_t* begin, const char16_t* end) : c_WStringView(n_StringCore::RangeText(begin, end)) {}
    c_WStringView(const c_WString& text);
    c_WStringView(const c_WString& text, int maxLength);
    // The string's storage up to its stored size, cut at the first 0 unit; false gives the text.
    c_WStringView(const c_WString& text, bool cutAtNul);
    c_WStringView(s_ByteSpan span, bool cutAtNul) : c_WStringView(n_StringCore::SpanText<char16_t>(span, cutAtNul)) {}
    c_WStringView(const c_WStringViewNoCase& view);
    c_WStringView(n_StringCore::t_Text<char16_t> text) : c_ViewBase(text.m_p_Data, text.m_Length) {}
};

class c_WStringViewNoCase : public n_StringCore::c_ViewBase<c_WStringViewNoCase, char16_t, true> {
public:
    c_WStringViewNoCase() = default;
    c_WStringViewNoCase(const char16_t* text) : c_WStringViewNoCase(n_StringCore::WideCStringText(text)) {}
    c_WStringViewNoCase(const char16_t* text, int length, bool cutAtNul = false)
        : c_WStringViewNoCase(n_StringCore::CountedText(text, length, cutAtNul)) {}
    c_WStringViewNoCase(const char16_t* text, bool cutAtNul) = delete;
    c_WStringViewNoCase(const char16_t* begin, const char16_t* end)
        : c_WStringViewNoCase(n_StringCore::RangeText(begin, end)) {}
    c_WStringViewNoCase(const c_WString& text);
    // The string's storage up to its stored size, cut at the first 0 unit; false gives the text.
    c_WStringViewNoCase(const c_WString& text, bool cutAtNul);
    // No maxLength form: a length would otherwise bind to the cut flag.
    c_WStringViewNoCase(const c_WString& text, int maxLength) = delete;
    c_WStringViewNoCase(s_ByteSpan span, bool cutAtNul)
        : c_WStringViewNoCase(n_StringCore::SpanText<char16_t>(span, cutAtNul)) {}
    c_WStringViewNoCase(const c_WStringView& view) : c_WStringViewNoCase(view.Text()) {}
    c_WStringViewNoCase(n_StringCore::t_Text<char16_t> text) : c_ViewBase(text.m_p_Data, text.m_Length) {}
};

inline c_WStringView::c_WStringView(const c_WStringViewNoCase& view) : c_WStringView(view.Text()) {}

namespace n_StringCore {

// A unit operand lives as long as the call that takes it, so the run can point at it.
template <> struct t_Operand<char16_t, char16_t> {
    static constexpr bool NO_CASE = false;
    static t_Text<char16_t> Get(const char16_t& unit) { return {&unit, unit != 0 ? 1 : 0}; }
};
template <> struct t_Operand<char16_t, const char16_t*> {
    static constexpr bool NO_CASE = false;
    static t_Text<char16_t> Get(const char16_t* text) { return WideCStringText(text); }
};
template <> struct t_Operand<char16_t, char16_t*> : t_Operand<char16_t, const char16_t*> {};
template <std::size_t N> struct t_Operand<char16_t, char16_t[N]> : t_Operand<char16_t, const char16_t*> {};
template <> struct t_Operand<char16_t, c_WStringView> {
    static constexpr bool NO_CASE = false;
    static t_Text<char16_t> Get(const c_WStringView& view) { return view.Text(); }
};
template <> struct t_Operand<char16_t, c_WStringViewNoCase> {
    static constexpr bool NO_CASE = true;
    static t_Text<char16_t> Get(const c_WStringViewNoCase& view) { return view.Text(); }
};

} // namespace n_StringCore

using c_WCharSet = n_StringCore::c_UnitSet<char16_t>;
