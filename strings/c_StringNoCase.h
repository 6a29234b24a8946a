#pragma once
// c_StringNoCase: a c_String whose comparisons and searches ignore the case of ASCII letters.
//
// It adds no data and stores text exactly as c_String does. The case rule follows static types: an
// operation in which it takes part as a c_StringNoCase ignores case; handed on as a c_String it
// compares with case. Its pieces are c_StringViewNoCase values, so they carry the rule on. It is the
// key type of the case-insensitive ordered maps (header names, host names, file-name sets).

#include "strings/c_String.h"

class c_StringNoCase : public c_String, public n_StringCore::c_StringQueries<c_StringNoCase, c_StringViewNoCase> {
    using t_Queries = n_StringCore::c_StringQueries<c_StringNoCase, c_StringViewNoCase>;

public:
    c_StringNoCase() = default;
    c_StringNoCase(const c_StringNoCase& other) = default;
    c_StringNoCase(c_StringNoCase&& other) noexcept = default;
    explicit c_StringNoCase(char c) : c_String(c) {}
    c_StringNoCase(const char* text) : c_String(text) {}
    c_StringNoCase(const char* text, int length) : c_String(text, length) {}
    c_StringNoCase(const c_StringView& view) : c_String(view) {}
    c_StringNoCase(c_StringViewNoCase view) : c_String(c_StringView(view)) {}
    explicit c_StringNoCase(const c_String& text) : c_String(text) {}

    c_StringNoCase& operator=(c_StringNoCase other) noexcept {
        SwapStorage(other);
        return *this;
    }
    c_StringNoCase& operator=(const char* text) { return Assign(c_StringView(text)); }
    c_StringNoCase& operator=(char c) { return Assign(c_StringView(c)); }
    c_StringNoCase& operator=(const c_StringView& view) { return Assign(view); }
    c_StringNoCase& operator=(const c_StringViewNoCase& view) { return Assign(c_StringView(view)); }

    c_StringNoCase& operator+=(char c) { return Appended(c_StringView(c)); }
    c_StringNoCase& operator+=(const char* text) { return Appended(c_StringView(text)); }
    c_StringNoCase& operator+=(const c_String& text) { return Appended(c_StringView(text)); }
    c_StringNoCase& operator+=(const c_StringView& view) { return Appended(view); }

    using t_Queries::Contains;
    using t_Queries::CountLeadingSpaces;
    using t_Queries::CountTrailingSpaces;
    using t_Queries::EndsWith;
    using t_Queries::Find;
    using t_Queries::FindFirstOf;
    using t_Queries::FindLastOf;
    using t_Queries::GetTrimmedLeftView;
    using t_Queries::GetTrimmedView;
    using t_Queries::GetView;
    using t_Queries::IsAllDigits;
    using t_Queries::IsAllLetters;
    using t_Queries::IsDigitAt;
    using t_Queries::IsLetterAt;
    using t_Queries::Left;
    using t_Queries::Mid;
    using t_Queries::ReverseFind;
    using t_Queries::Right;
    using t_Queries::RightFrom;
    using t_Queries::StartsWith;
    using t_Queries::WithoutPrefix;
    using t_Queries::WithoutSuffix;

    template <typename X>
        requires n_StringCore::TextOperand<char, X>
    c_StringNoCase& RemovePrefix(const X& prefix) {
        if (GetView().StartsWith(prefix)) {
            DropFront(n_StringCore::OperandText<char>(prefix).m_Length);
        }
        return *this;
    }
    template <typename X>
        requires n_StringCore::TextOperand<char, X>
    c_StringNoCase& RemoveSuffix(const X& suffix) {
        if (GetView().EndsWith(suffix)) {
            SetLength(GetLength() - n_StringCore::OperandText<char>(suffix).m_Length);
        }
        return *this;
    }

    c_StringNoCase& MakeUpper() {
        c_String::MakeUpper();
        return *this;
    }
    c_StringNoCase& MakeLower() {
        c_String::MakeLower();
        return *this;
    }

private:
    c_StringNoCase& Assign(const c_StringView& view) {
        c_String::operator=(view);
        return *this;
    }
    c_StringNoCase& Appended(const c_StringView& view) {
        Append(view);
        return *this;
    }
};

static_assert(sizeof(c_StringNoCase) == 32 && alignof(c_StringNoCase) == 1, "c_StringNoCase adds no data");

namespace n_StringCore {
template <> struct t_Operand<char, c_StringNoCase> {
    static constexpr bool NO_CASE = true;
    static t_Text<char> Get(const c_StringNoCase& text) { return text.GetText(); }
};
} // namespace n_StringCore
