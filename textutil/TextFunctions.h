#pragma once
// Small text functions over strings and views: repetition, ASCII case, prefixes, markers, URL
// extraction and a few fixed joins.
//
// Results are new c_Strings, empty when they cannot be allocated, or views into the caller's text.
// Comparisons follow the string library's case rule: without case when either operand is a NoCase
// type.

#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"
#include "strings/c_StringView.h"

#include <vector>

// The piece count times; empty for a count below 1 or a total beyond the string limit.
c_String Repeat(const c_StringView& piece, int count);
// ASCII letters only; bytes 0x80 and above stay as they are.
c_String ToUpper(const c_StringView& text);
c_String ToLower(const c_StringView& text);
// The text with the model's letter case wherever the two agree letter for letter; consumes both.
c_String CopyLetterCase(c_StringView& text, c_StringView& model);

// Removes a leading prefix from the caller's view. An empty prefix, or a text shorter than it,
// gives false. Prefix: const char*, either view or either owning string.
template <typename Prefix> bool ConsumePrefix(c_StringView& text, const Prefix& prefix) {
    if (!text.StartsWith(prefix)) {
        return false;
    }
    text = text.RightFrom(c_StringView(prefix).GetLength());
    return true;
}
template <typename Prefix> bool ConsumePrefix(c_StringViewNoCase& text, const Prefix& prefix) {
    if (!text.StartsWith(prefix)) {
        return false;
    }
    text = text.RightFrom(c_StringView(prefix).GetLength());
    return true;
}

// The text strictly between the first startMarker and the first endMarker after it; empty when
// either is missing.
c_StringView Between(const c_StringView& text, const c_StringView& startMarker, const c_StringView& endMarker);
// Drops the leading characters the two views share from both and returns how many.
int StripCommonPrefix(c_StringView& a, c_StringView& b);

// Every "http://" or "https://" address (prefix in lower case) in order of appearance. An address
// runs to the first of space < > [ ] { } | \ ^ line feed tab, or to the end of the text.
std::vector<c_StringView> ExtractURLs(const c_StringView& text);

// "&&" becomes "&" and every other '&' disappears: the label of a menu item without its mnemonic.
void RemoveMenuMnemonics(c_String& text);

c_String JoinWithDots(const c_String& a, const c_String& b, const c_String& c, const c_String& d);
// A null middle counts as empty.
c_String Concat(const c_String& a, const char* middle, const c_String& b);
c_String JoinWithSpace(const c_String& a, const c_StringView& b);
