#pragma once
// URLEncode: percent-encoding of form field values (RFC 3986 section 2.1): unreserved bytes stay,
// every other byte becomes "%" and two upper-case hexadecimal digits. The first NUL ends the text.

#include "strings/c_String.h"
#include "strings/c_StringView.h"

c_String URLEncode(const c_StringView& text);
