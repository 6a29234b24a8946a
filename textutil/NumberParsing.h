#pragma once
// Parsing numbers out of text: integers of four widths, doubles, floats, a decimal prefix and the
// grouped hexadecimal form.
//
// The parsers never fail. Leading blanks (0x09-0x0D and the space) are skipped, only '-' is a sign,
// reading stops at the first character that does not belong to the number, text without a number
// gives 0, and an integer too large for its type gives the limit in its direction. The forms taking a
// non-const view also remove the leading blanks from the caller's view.
//
// Double grammar: ['-'] digits ['.' digits] [('e'|'E') ['+'|'-'] digits], where each part may be
// empty, the exponent may also come before the '.', and only its first three significant digits count.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <cstdint>

int ParseInt32(const c_StringView& text);
int ParseInt32(c_StringView& text);
std::uint32_t ParseUInt32(const c_StringView& text);
std::uint32_t ParseUInt32(c_StringView& text);
std::int64_t ParseInt64(const c_StringView& text);
std::int64_t ParseInt64(c_StringView& text);
std::uint64_t ParseUInt64(const c_StringView& text);
std::uint64_t ParseUInt64(c_StringView& text);

// Correctly rounded; never NaN. A '-' alone gives negative zero.
double ParseDouble(const c_StringView& text);
double ParseDouble(c_StringView& text);
float ParseFloat(const c_StringView& text);

// An unsigned decimal at the very start of the view (no blanks, no sign) that fits an int. On success
// the view moves past it; false, with view and value untouched, for no digit or an overflow.
bool ConsumeDecimal(c_StringView& text, int* value);

// The inverse of ToGroupedHexString: 19 characters of 16 hexadecimal digits and dashes, else 0.
std::uint64_t ParseGroupedHex(const c_String& text);
