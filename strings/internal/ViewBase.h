#pragma once
// The members shared by all string views, narrow and wide, with case and without.
//
// A view type derives from c_ViewBase<itself, unit, NO_CASE>. Every text argument goes through
// t_Operand, which turns each operand kind into a (pointer, length) run and says whether the kind
// ignores case; an operation ignores case when the view or its argument does.

#include "strings/internal/TextCore.h"
#include "strings/internal/UnitSet.h"
#include "strings/s_ByteSpan.h"

#include <compare>
#include <concepts>
#include <initializer_list>
#include <utility>
#include <vector>

namespace n_StringCore {

// Specialised for each operand kind: static constexpr bool NO_CASE and static t_Text<T> Get(const X&).
template <typename T, typename X> struct t_Operand;

template <typename T, typename X>
concept TextOperand = requires(const X& operand) {
    { t_Operand<T, std::remove_cv_t<X>>::Get(operand) } -> std::same_as<t_Text<T>>;
};

template <typename T, typename X> constexpr bool IS_NO_CASE_OPERAND = t_Operand<T, std::remove_cv_t<X>>::NO_CASE;

template <typename T, typename X> t_Text<T> OperandText(const X& operand) {
    return t_Operand<T, std::remove_cv_t<X>>::Get(operand);
}

// The units of a byte span (an odd last byte dropped), at most INT_MAX of them, cut at the first 0
// unit when asked; a null pointer gives the empty run.
template <typename T> t_Text<T> SpanText(s_ByteSpan span, bool cutAtNul) {
    if (span.m_p_Data == nullptr) {
        return {};
    }
    const T* data = static_cast<const T*>(span.m_p_Data);
    const std::uint64_t units = span.m_Size / sizeof(T);
    const int length = units > INT_MAX ? INT_MAX : static_cast<int>(units);
    return {data, cutAtNul ? CutAtNul(data, length) : length};
}

// A counted run: a null pointer or a negative length gives length 0 (the pointer stays); the cut
// stops at the first 0 unit when asked.
template <typename T> t_Text<T> CountedText(const T* text, int length, bool cutAtNul) {
    if (text == nullptr || length < 0) {
        return {text, 0};
    }
    return {text, cutAtNul ? CutAtNul(text, length) : length};
}

// The run from begin to end; a null begin, or an end before begin, gives length 0.
template <typename T> t_Text<T> RangeText(const T* begin, const T* end) {
    if (begin == nullptr || Address(end) < Address(begin)) {
        return {begin, 0};
    }
    return {begin, static_cast<int>(end - begin)};
}

template <typename Derived, typename T, bool NO_CASE> class c_ViewBase {
public:
    using t_Unit = T;
    static constexpr bool IS_NO_CASE = NO_CASE;

    constexpr c_ViewBase() = default;

    int GetLength() const { return m_Length; }
    bool IsEmpty() const { return m_Length == 0; }
    T GetFirstChar() const { return m_Length == 0 ? T(0) : *m_p_Data; }
    Derived& DropFirst() {
        if (m_Length != 0) {
            ++m_p_Data;
            --m_Length;
        }
        return Self();
    }
    const T* begin() const { return m_p_Data; }
    const T* end() const { return m_p_Data + m_Length; }
    std::pair<const T*, const T*> GetRange() const { return {m_p_Data, m_p_Data + m_Length}; }
    s_ByteSpan ToSpan() const {
        return s_ByteSpan::FromPointer(m_p_Data, static_cast<std::int64_t>(m_Length) * sizeof(T));
    }

    bool IsAllLetters() const { return AllUnits(Text(), IsAsciiLetter<T>); }
    bool IsAllDigits() const { return AllUnits(Text(), IsAsciiDigit<T>); }
    bool IsLetterAt(int position) const { return IsInside(position) && IsAsciiLetter(m_p_Data[position]); }
    bool IsDigitAt(int position) const { return IsInside(position) && IsAsciiDigit(m_p_Data[position]); }

    template <typename X>
    requires TextOperand<T, X>
    int Compare(const X& other, bool caseSensitive) const {
        return n_StringCore::Compare(Text(), OperandText<T>(other), caseSensitive);
    }
    template <typename X>
    requires TextOperand<T, X>
    bool Equals(const X& other, bool caseSensitive) const {
        const t_Text<T> right = OperandText<T>(other);
        return caseSensitive ? Equal<T, false>(Text(), right) : Equal<T, true>(Text(), right);
    }

    template <typename X>
    requires TextOperand<T, X>
    int Find(const X& pattern, int start = 0) const {
        return n_StringCore::Find<T, NoCaseWith<X>()>(Text(), OperandText<T>(pattern), start);
    }
    template <typename X>
    requires TextOperand<T, X>
    int ReverseFind(const X& pattern, int start = INT_MAX) const {
        return n_StringCore::ReverseFind<T, NoCaseWith<X>()>(Text(), OperandText<T>(pattern), start);
    }
    template <typename X>
    requires TextOperand<T, X>
    bool Contains(const X& pattern) const { return Find(pattern) != -1; }
    template <typename X>
    requires TextOperand<T, X>
    bool StartsWith(const X& prefix) const {
        return n_StringCore::StartsWith<T, NoCaseWith<X>()>(Text(), OperandText<T>(prefix));
    }
    template <typename X>
    requires TextOperand<T, X>
    bool EndsWith(const X& suffix) const {
        return n_StringCore::EndsWith<T, NoCaseWith<X>()>(Text(), OperandText<T>(suffix));
    }

    int FindFirstOf(std::initializer_list<T> units, int start = 0) const {
        return FindFirstOf(c_UnitSet<T>(units), start);
    }
    int FindFirstOf(const c_UnitSet<T>& units, int start = 0) const {
        for (int position = start < 0 ? 0 : start; position < m_Length; ++position) {
            if (units.Contains(m_p_Data[position])) {
                return position;
            }
        }
        return -1;
    }
    int FindLastOf(std::initializer_list<T> units, int start = INT_MAX) const {
        return FindLastOf(c_UnitSet<T>(units), start);
    }
    int FindLastOf(const c_UnitSet<T>& units, int start = INT_MAX) const {
        if (start < 0) {
            return -1;
        }
        for (int position = start < m_Length ? start : m_Length - 1; position >= 0; --position) {
            if (units.Contains(m_p_Data[position])) {
                return position;
            }
        }
        return -1;
    }

    Derived Left(int count) const { return Make(n_StringCore::Left(Text(), count)); }
    Derived Right(int count) const { return Make(n_StringCore::Right(Text(), count)); }
    Derived Mid(int start, int count) const { return Make(n_StringCore::Mid(Text(), start, count)); }
    Derived RightFrom(int start) const { return Make(n_StringCore::RightFrom(Text(), start)); }
    Derived LeftOf(const T* position) const { return Make(n_StringCore::LeftOf(Text(), position)); }
    template <typename X>
    requires TextOperand<T, X> Derived After(const X& inner)
    const { return Make(n_StringCore::After(Text(), OperandText<T>(inner))); }

    template <typename X>
    requires TextOperand<T, X> Derived WithoutPrefix(const X& prefix)
    const {
        const t_Text<T> cut = OperandText<T>(prefix);
        if (!n_StringCore::StartsWith<T, NoCaseWith<X>()>(Text(), cut)) {
            return Self();
        }
        return Make({m_p_Data + cut.m_Length, m_Length - cut.m_Length});
    }
    template <typename X>
    requires TextOperand<T, X> Derived WithoutSuffix(const X& suffix)
    const {
        const t_Text<T> cut = OperandText<T>(suffix);
        if (!n_StringCore::EndsWith<T, NoCaseWith<X>()>(Text(), cut)) {
            return Self();
        }
        return cut.m_Length == m_Length ? Derived() : Make({m_p_Data, m_Length - cut.m_Length});
    }
    template <typename X>
    requires TextOperand<T, X> Derived& RemovePrefix(const X& prefix) { return Self() = WithoutPrefix(prefix); }
    template <typename X>
    requires TextOperand<T, X> Derived& RemoveSuffix(const X& suffix) { return Self() = WithoutSuffix(suffix); }

    Derived Trimmed() const { return Make(n_StringCore::Trimmed(Text())); }
    Derived TrimmedLeft() const { return Make(n_StringCore::TrimmedLeft(Text())); }
    Derived TrimmedRight() const { return Make(n_StringCore::TrimmedRight(Text())); }
    Derived Trimmed(T unit) const { return Make(TrimmedUnit(Text(), unit)); }
    Derived& Trim() { return Self() = Trimmed(); }
    Derived& Trim(T unit) { return Self() = Trimmed(unit); }
    int TrimLeft() {
        const int dropped = CountLeadingSpaces();
        m_p_Data += dropped;
        m_Length -= dropped;
        return dropped;
    }
    int TrimRight() {
        const int dropped = CountTrailingSpaces();
        m_Length -= dropped;
        return dropped;
    }
    int CountLeadingSpaces() const { return CountLeadingBlanks(Text()); }
    int CountTrailingSpaces() const { return CountTrailingBlanks(Text()); }

    void Truncate(int length) {
        if (length >= 0 && length < m_Length) {
            m_Length = length;
        }
    }
    void TruncateAt(const T* position) {
        if (Address(position) >= Address(m_p_Data) && Address(position) < Address(m_p_Data + m_Length)) {
            m_Length = static_cast<int>(position - m_p_Data);
        }
    }
    // Appends the pieces between separators (found with case) to out, empty ones included, so a
    // separator at the very end leaves an empty last piece; an empty text gives none and an empty
    // separator the whole text. False, with out as it was, when memory for the pieces runs out.
    template <typename X>
    requires TextOperand<T, X>
    bool Split(const X& separator, std::vector<Derived>& out) const {
        return SplitPieces(OperandText<T>(separator), out);
    }

    template <typename X>
    requires TextOperand<T, X>
    bool Overlaps(const X& other) const { return n_StringCore::Overlaps(Text(), OperandText<T>(other)); }

    template <typename X>
    requires TextOperand<T, X>
    friend bool operator==(const Derived& left, const X& right) {
        return Equal<T, NoCaseWith<X>()>(left.Text(), OperandText<T>(right));
    }
    template <typename X>
    requires TextOperand<T, X>
    friend std::weak_ordering operator<=>(const Derived& left, const X& right) {
        return Order<T, NoCaseWith<X>()>(left.Text(), OperandText<T>(right)) <=> 0;
    }

    t_Text<T> Text() const { return {m_p_Data, m_Length}; }

protected:
    constexpr c_ViewBase(const T* data, int length) : m_p_Data(data), m_Length(length) {}

    template <typename X> static constexpr bool NoCaseWith() { return NO_CASE || IS_NO_CASE_OPERAND<T, X>; }

    static Derived Make(t_Text<T> text) {
        Derived view;
        static_cast<c_ViewBase&>(view).m_p_Data = text.m_p_Data;
        static_cast<c_ViewBase&>(view).m_Length = text.m_Length;
        return view;
    }
    Derived& Self() { return static_cast<Derived&>(*this); }
    const Derived& Self() const { return static_cast<const Derived&>(*this); }
    bool IsInside(int position) const { return position >= 0 && position < m_Length; }

    // Out of line (ViewSplit.cpp), for the four view types.
    bool SplitPieces(t_Text<T> separator, std::vector<Derived>& out) const;

    const T* m_p_Data = nullptr;
    int m_Length = 0;
};

} // namespace n_StringCore
