#pragma once
// c_WStringNoCase: a c_WString whose comparisons and searches ignore the case of ASCII letters.
//
// The wide twin of c_StringNoCase: no data of its own, pieces that are c_WStringViewNoCase values,
// and the case rule of the static types.

#include "strings/c_WString.h"
#include "strings/internal/NoCaseString.h"

class c_WStringNoCase : public n_StringCore::c_NoCaseString<c_WStringNoCase, c_WString, c_WStringViewNoCase> {
public:
    using c_NoCaseString::c_NoCaseString;
    c_WStringNoCase() = default;
    c_WStringNoCase(const c_WStringNoCase& other) = default;
    c_WStringNoCase(c_WStringNoCase&& other) noexcept = default;
    c_WStringNoCase(const c_WStringViewNoCase& view) : c_NoCaseString(c_WStringView(view)) {}
    explicit c_WStringNoCase(const c_WString& text) : c_NoCaseString(text) {}

    c_WStringNoCase& operator=(c_WStringNoCase other) noexcept {
        SwapStorage(other);
        return *this;
    }
    c_WStringNoCase& operator=(const char16_t* text) { return Assign(text); }
    c_WStringNoCase& operator=(char16_t unit) { return Assign(n_StringCore::OperandText<char16_t>(unit)); }
    c_WStringNoCase& operator=(const c_WStringView& view) { return Assign(view); }
    c_WStringNoCase& operator=(const c_WStringViewNoCase& view) { return Assign(c_WStringView(view)); }

    c_WStringNoCase& operator+=(char16_t unit) { return Appended(n_StringCore::OperandText<char16_t>(unit)); }
    c_WStringNoCase& operator+=(const char16_t* text) { return Appended(text); }
    c_WStringNoCase& operator+=(const c_WString& text) { return Appended(text); }
    c_WStringNoCase& operator+=(const c_WStringView& view) { return Appended(view); }

private:
    c_WStringNoCase& Assign(const c_WStringView& view) {
        c_WString::operator=(view);
        return *this;
    }
    c_WStringNoCase& Appended(const c_WStringView& view) {
        Append(view);
        return *this;
    }
};

static_assert(sizeof(c_WStringNoCase) == 64, "c_WStringNoCase adds no data");

namespace n_StringCore {
template <> struct t_Operand<char16_t, c_WStringNoCase> {
    static constexpr bool NO_CASE = true;
    static t_Text<char16_t> Get(const c_WStringNoCase& text) { return text.GetText(); }
};
} // namespace n_StringCore
