#pragma once
// c_StringNoCase: a c_String whose comparisons and searches ignore the case of ASCII letters.
//
// It adds no data and stores text exactly as c_String does. The case rule follows static types: an
// operation in which it takes part as a c_StringNoCase ignores case; handed on as a c_String it
// compares with case. Its pieces are c_StringViewNoCase values, so they carry the rule on. It is the
// key type of the case-insensitive ordered maps (header names, host names, file-name sets).

#include "strings/c_String.h"
#include "strings/internal/NoCaseString.h"

class c_StringNoCase : public n_StringCore::c_NoCaseString<c_StringNoCase, c_String, c_StringViewNoCase> {
public:
    using c_NoCaseString::c_NoCaseString;
    c_StringNoCase() = default;
    c_StringNoCase(const c_StringNoCase& other) = default;
    c_StringNoCase(c_StringNoCase&& other) noexcept = default;
    c_StringNoCase(const c_StringViewNoCase& view) : c_NoCaseString(c_StringView(view)) {}
    explicit c_StringNoCase(const c_String& text) : c_NoCaseString(text) {}

    c_StringNoCase& operator=(c_StringNoCase other) noexcept {
        SwapStorage(other);
        return *this;
    }
    c_StringNoCase& operator=(const char* text) { return Assign(text); }
    c_StringNoCase& operator=(char c) { return Assign(c); }
    c_StringNoCase& operator=(const c_StringView& view) { return Assign(view); }
    c_StringNoCase& operator=(const c_StringViewNoCase& view) { return Assign(c_StringView(view)); }

    c_StringNoCase& operator+=(char c) { return Appended(c); }
    c_StringNoCase& operator+=(const char* text) { return Appended(text); }
    c_StringNoCase& operator+=(const c_String& text) { return Appended(text); }
    c_StringNoCase& operator+=(const c_StringView& view) { return Appended(view); }

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
