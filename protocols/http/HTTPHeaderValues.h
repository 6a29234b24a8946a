#pragma once
// SplitHeaderValue and UnquoteHeaderValue: the list and quoted-string rules of header field values
// (RFC 9110 sections 5.6.1 and 5.6.4), as far as proxy challenges need them.
//
//   list          = element *( "," element )       ; a "," inside quotes or after "\" is no separator
//   quoted-string = DQUOTE *( any byte / "\" any byte ) DQUOTE

#include "strings/c_String.h"
#include "strings/c_StringView.h"

#include <vector>

// The elements of a list, each trimmed of blanks; empty elements count too. A text that is blank as
// a whole has no elements.
std::vector<c_StringView> SplitHeaderValue(const c_StringView& text);

// The trimmed text without its surrounding quotes and escapes. Only bytes 1-127 are kept.
c_String UnquoteHeaderValue(const c_StringView& text);
