#pragma once
// c_String: the system's owning text, UTF-8 by convention, always followed by a NUL.
//
// 32 bytes, byte-aligned: texts of up to 30 bytes live inside the object, longer ones in one heap
// block (see internal/StringStorage.h). No operation throws: a constructor that cannot allocate
// yields the default state, an assignment empties the string, an append leaves it unchanged.
// Comparisons and searches are those of c_StringView on the string's text; pieces are views into it.

#include "strings/c_StringView.h"
#include "strings/internal/StringEditor.h"
#include "strings/internal/StringQueries.h"

#include <concepts>
#include <cstdarg>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <utility>

class c_String : public n_StringCore::c_StringEditor<char>,
                 public n_StringCore::c_StringQueries<c_String, c_StringView> {
public:
    c_String() = default;
    c_String(const c_String& other) = default;
    c_String(c_String&& other) noexcept = default;
    c_String(const c_StringView& view) { ConstructFrom(view.begin(), view.GetLength()); }
    c_String(const char* text, int length) : c_String(c_StringView(text, length < 0 ? 0 : length, true)) {}
    c_String(const char* text) : c_String(c_StringView(text)) {}
    explicit c_String(char c) : c_String(c_StringView(c)) {}
    // A raw buffer of size bytes, made text only by FromBuffer or AssignFromBuffer.
    explicit c_String(int size);

    static c_String FromBuffer(c_String&& buffer);

    c_String& operator=(c_String other) noexcept {
        SwapStorage(other);
        return *this;
    }
    c_String& operator=(const char* text) { return operator=(c_StringView(text)); }
    c_String& operator=(const c_StringView& view) {
        if (!AssignUnits(view.begin(), view.GetLength())) {
            Clear();
        }
        return *this;
    }
    c_String& operator=(char c) { return operator=(c_StringView(c)); }
    void AssignFromBuffer(c_String& buffer);

    // The NUL-terminated text; never null.
    const char* GetChars() const;

    c_String& Append(const c_StringView& text) {
        AppendUnits(text.begin(), text.GetLength());
        return *this;
    }
    c_String& Append(const c_String& text) { return Append(c_StringView(text)); }
    c_String& Append(const char* text) { return Append(c_StringView(text)); }
    c_String& Append(char c) { return Append(c_StringView(c)); }
    c_String& operator+=(const c_StringView& text) { return Append(text); }
    c_String& operator+=(const c_String& text) { return Append(text); }
    c_String& operator+=(const char* text) { return Append(text); }
    c_String& operator+=(char c) { return Append(c); }

    // Raw appends at the stored size, without a NUL.
    void AppendRaw(const char* bytes, int count);
    void AppendRaw(const c_String& text) { AppendRaw(text.GetBuffer(), text.GetLength()); }

    c_String& AppendFormatV(const char* format, va_list arguments);
    c_String& AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    c_String& Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    static c_String MakeFormatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

    c_String& Insert(int position, const c_StringView& text) {
        InsertText(position, text.Text());
        return *this;
    }
    c_String& Insert(int position, const c_String& text) { return Insert(position, c_StringView(text)); }
    c_String& Insert(int position, const char* text) { return Insert(position, c_StringView(text)); }
    c_String& Insert(int position, char c) { return Insert(position, c_StringView(c)); }
    c_String& Erase(int start, int count) {
        EraseUnits(start, count);
        return *this;
    }
    // Any byte value, 0x80-0xFF included.
    c_String& Remove(char c) {
        RemoveUnit(c);
        return *this;
    }
    // The length never changes: a NUL replacement leaves NULs inside the text.
    c_String& Replace(char find, char replacement) {
        ReplaceUnit(find, replacement);
        return *this;
    }

    // Replaces every occurrence of find, left to right, going on after each inserted replacement.
    // A string or view find with a NUL char replacement changes nothing; a C-string or char find with
    // a NUL (or 0x80-0xFF) replacement removes every occurrence.
    template <typename Find, typename Replacement>
    requires n_StringCore::TextOperand<char, Find> && n_StringCore::TextOperand<char, Replacement> c_String&
    ReplaceAll(const Find& find, const Replacement& replacement) {
        if constexpr (std::is_class_v<Find> && std::is_same_v<Replacement, char>) {
            if (replacement == 0) {
                return *this;
            }
        }
        ReplaceAllTexts(n_StringCore::OperandText<char>(find), n_StringCore::OperandText<char>(replacement));
        return *this;
    }

    c_String& MakeUpper() {
        ChangeCase(true);
        return *this;
    }
    c_String& MakeLower() {
        ChangeCase(false);
        return *this;
    }

    template <typename X>
    requires n_StringCore::TextOperand<char, X> c_String& RemovePrefix(const X& prefix) {
        if (GetView().StartsWith(prefix)) {
            DropFront(n_StringCore::OperandText<char>(prefix).m_Length);
        }
        return *this;
    }
    template <typename X>
    requires n_StringCore::TextOperand<char, X> c_String& RemoveSuffix(const X& suffix) {
        if (GetView().EndsWith(suffix)) {
            SetLength(GetLength() - n_StringCore::OperandText<char>(suffix).m_Length);
        }
        return *this;
    }
    c_String& Trim() {
        KeepPiece(GetTrimmedView().Text());
        return *this;
    }
    c_String& TrimLeft() {
        KeepPiece(GetTrimmedLeftView().Text());
        return *this;
    }
    // c is a raw byte here: NUL and 0x80-0xFF trim like any other.
    c_String& TrimChar(char c) {
        KeepPiece(GetTrimmedView(c).Text());
        return *this;
    }
    void Truncate(int length) { TruncateTo(length); }
    void CutAtNul() { CutStoredAtNul(); }

    // Out of range: a per-thread fallback byte, set to 0 first; writing it changes no string.
    char& operator[](int index);
    const char* begin() const { return GetBuffer(); }
    const char* end() const { return GetBuffer() + GetLength(); }
    std::pair<const char*, const char*> GetRange() const { return {begin(), end()}; }
    s_ByteSpan ToSpan() const { return GetView().ToSpan(); }
};

static_assert(sizeof(c_String) == 32 && alignof(c_String) == 1, "c_String is 32 bytes, byte-aligned");

namespace n_StringCore {
template <> struct t_Operand<char, c_String> {
    static constexpr bool NO_CASE = false;
    static t_Text<char> Get(const c_String& text) { return text.GetText(); }
};
} // namespace n_StringCore

inline c_StringView::c_StringView(const c_String& text) : c_StringView(text.GetText()) {}
inline c_StringViewNoCase::c_StringViewNoCase(const c_String& text) : c_StringViewNoCase(text.GetText()) {}

// One allocation for the whole text; the default state when the total cannot be stored.
c_String Concat(std::initializer_list<c_StringView> pieces);

// The pieces with the separator between each two of them, sized once.
c_String JoinStringViews(const c_StringView* pieces, int count, const c_StringView& separator);
template <typename Range> c_String JoinStringViews(const Range& pieces, const c_StringView& separator) {
    return JoinStringViews(std::data(pieces), static_cast<int>(std::size(pieces)), separator);
}
inline c_String JoinStringViews(std::initializer_list<c_StringView> pieces, const c_StringView& separator) {
    return JoinStringViews(pieces.begin(), static_cast<int>(pieces.size()), separator);
}

// Both operands in one allocation; an rvalue left operand lends its block. When memory runs out the
// result is the default (empty) string, never one operand alone.
c_String operator+(const c_StringView& left, const c_StringView& right);
c_String AppendToRvalue(c_String&& left, const c_StringView& right);
template <typename Left>
requires std::same_as<Left, c_String> c_String operator+(Left&& left, const c_StringView& right) {
    return AppendToRvalue(static_cast<c_String&&>(left), right);
}

int ToUpperChar(int c);
int ToLowerChar(int c);
