#pragma once
// c_WString: the owning UTF-16 text, used at the Windows boundary.
//
// The twin of c_String over 16-bit units: 64 bytes, 30 units inline, the flag byte at byte 62 and
// the same capacity rule, failure results and editing rules, in units. It has no raw-buffer
// constructor or raw append. A single unit is a one-unit text unless it is 0, which is the empty
// text. Formatting runs through the narrow formatter: the format is taken as UTF-16, formatted as
// UTF-8 (a %s argument is a UTF-8 C string) and the result converted back.

#include "strings/c_WStringView.h"
#include "strings/internal/StringEditor.h"
#include "strings/internal/StringQueries.h"

#include <concepts>
#include <cstdarg>
#include <initializer_list>
#include <type_traits>
#include <utility>

class c_WString : public n_StringCore::c_StringEditor<char16_t>,
                  public n_StringCore::c_StringQueries<c_WString, c_WStringView> {
public:
    c_WString() = default;
    c_WString(const c_WString& other) = default;
    c_WString(c_WString&& other) noexcept = default;
    c_WString(const c_WStringView& view) { ConstructFrom(view.begin(), view.GetLength()); }
    c_WString(const char16_t* text, int length) : c_WString(c_WStringView(text, length < 0 ? 0 : length, true)) {}
    c_WString(const char16_t* text) : c_WString(c_WStringView(text)) {}
    explicit c_WString(char16_t unit) : c_WString(c_WStringView(n_StringCore::OperandText<char16_t>(unit))) {}

    static c_WString FromBuffer(c_WString&& buffer);
    static c_WString MakeFormatted(const char16_t* format, ...);

    c_WString& operator=(c_WString other) noexcept {
        SwapStorage(other);
        return *this;
    }
    c_WString& operator=(const char16_t* text) { return operator=(c_WStringView(text)); }
    c_WString& operator=(const c_WStringView& view) {
        if (!AssignUnits(view.begin(), view.GetLength())) {
            Clear();
        }
        return *this;
    }
    c_WString& operator=(char16_t unit) { return operator=(c_WStringView(n_StringCore::OperandText<char16_t>(unit))); }
    void AssignFromBuffer(c_WString& buffer);

    c_WString& Append(const c_WStringView& text) {
        AppendUnits(text.begin(), text.GetLength());
        return *this;
    }
    c_WString& Append(const c_WString& text) { return Append(c_WStringView(text)); }
    c_WString& Append(const char16_t* text) { return Append(c_WStringView(text)); }
    c_WString& Append(char16_t unit) { return Append(c_WStringView(n_StringCore::OperandText<char16_t>(unit))); }
    c_WString& operator+=(const c_WStringView& text) { return Append(text); }
    c_WString& operator+=(const c_WString& text) { return Append(text); }
    c_WString& operator+=(const char16_t* text) { return Append(text); }
    c_WString& operator+=(char16_t unit) { return Append(unit); }

    c_WString& AppendFormatV(const char16_t* format, va_list arguments);
    c_WString& AppendFormat(const char16_t* format, ...);
    c_WString& Format(const char16_t* format, ...);

    c_WString& Insert(int position, const c_WStringView& text) {
        InsertText(position, text.Text());
        return *this;
    }
    c_WString& Insert(int position, const c_WString& text) { return Insert(position, c_WStringView(text)); }
    c_WString& Insert(int position, const char16_t* text) { return Insert(position, c_WStringView(text)); }
    c_WString& Insert(int position, char16_t unit) {
        return Insert(position, c_WStringView(n_StringCore::OperandText<char16_t>(unit)));
    }
    c_WString& Erase(int start, int count) {
        EraseUnits(start, count);
        return *this;
    }
    // A 0 unit changes nothing.
    c_WString& Remove(char16_t unit) {
        if (unit != 0) {
            RemoveUnit(unit);
        }
        return *this;
    }
    // A 0 unit on either side changes nothing; the length never changes.
    c_WString& Replace(char16_t find, char16_t replacement) {
        if (find != 0 && replacement != 0) {
            ReplaceUnit(find, replacement);
        }
        return *this;
    }
    // As c_String's, except that a 0 unit replacement changes nothing whatever find is.
    template <typename Find, typename Replacement>
    requires n_StringCore::TextOperand<char16_t, Find> && n_StringCore::TextOperand<char16_t, Replacement> c_WString&
    ReplaceAll(const Find& find, const Replacement& replacement) {
        if constexpr (std::is_same_v<Replacement, char16_t>) {
            if (replacement == 0) {
                return *this;
            }
        }
        ReplaceAllTexts(n_StringCore::OperandText<char16_t>(find), n_StringCore::OperandText<char16_t>(replacement));
        return *this;
    }
    c_WString& MakeUpper() {
        ChangeCase(true);
        return *this;
    }
    c_WString& MakeLower() {
        ChangeCase(false);
        return *this;
    }

    template <typename X>
    requires n_StringCore::TextOperand<char16_t, X> c_WString& RemovePrefix(const X& prefix) {
        if (GetView().StartsWith(prefix)) {
            DropFront(n_StringCore::OperandText<char16_t>(prefix).m_Length);
        }
        return *this;
    }
    template <typename X>
    requires n_StringCore::TextOperand<char16_t, X> c_WString& RemoveSuffix(const X& suffix) {
        if (GetView().EndsWith(suffix)) {
            SetLength(GetLength() - n_StringCore::OperandText<char16_t>(suffix).m_Length);
        }
        return *this;
    }
    c_WString& Trim() {
        KeepPiece(GetTrimmedView().Text());
        return *this;
    }
    c_WString& TrimLeft() {
        KeepPiece(GetTrimmedLeftView().Text());
        return *this;
    }
    // unit is raw here: the 0 unit trims like any other.
    c_WString& TrimChar(char16_t unit) {
        KeepPiece(GetTrimmedView(unit).Text());
        return *this;
    }
    void Truncate(int length) { TruncateTo(length); }
    // Nothing for a string that never held text.
    void CutAtNul() {
        if (GetStoredSize() != 0) {
            CutStoredAtNul();
        }
    }

    // Out of range: a per-thread fallback unit, set to 0 first; writing it changes no string.
    char16_t& operator[](int index);
    const char16_t& operator[](int index) const;
    const char16_t* begin() const { return GetBuffer(); }
    const char16_t* end() const { return GetBuffer() + GetLength(); }
    std::pair<const char16_t*, const char16_t*> GetRange() const { return {begin(), end()}; }
    s_ByteSpan ToSpan() const { return GetView().ToSpan(); }
};

static_assert(sizeof(c_WString) == 64, "c_WString is 64 bytes");

namespace n_StringCore {
template <> struct t_Operand<char16_t, c_WString> {
    static constexpr bool NO_CASE = false;
    static t_Text<char16_t> Get(const c_WString& text) { return text.GetText(); }
};
} // namespace n_StringCore

inline c_WStringView::c_WStringView(const c_WString& text) : c_WStringView(text.GetText()) {}
inline c_WStringViewNoCase::c_WStringViewNoCase(const c_WString& text) : c_WStringViewNoCase(text.GetText()) {}

c_WString Concat(std::initializer_list<c_WStringView> pieces);

// Both operands in one allocation; an rvalue left operand lends its block. A unit operand is a
// one-unit text for every value from 1 to 0xFFFF. When memory runs out the result is the default
// (empty) string, never one operand alone.
c_WString operator+(const c_WStringView& left, const c_WStringView& right);
c_WString AppendToRvalue(c_WString&& left, const c_WStringView& right);
template <typename Left>
requires std::same_as<Left, c_WString> c_WString operator+(Left&& left, const c_WStringView& right) {
    return AppendToRvalue(static_cast<c_WString&&>(left), right);
}
inline c_WString operator+(const c_WStringView& left, char16_t right) {
    return left + c_WStringView(n_StringCore::OperandText<char16_t>(right));
}
inline c_WString operator+(char16_t left, const c_WStringView& right) {
    return c_WStringView(n_StringCore::OperandText<char16_t>(left)) + right;
}
template <typename Left>
requires std::same_as<Left, c_WString> c_WString operator+(Left&& left, char16_t right) {
    return AppendToRvalue(static_cast<c_WString&&>(left), c_WStringView(n_StringCore::OperandText<char16_t>(right)));
}
