#pragma once
// Reading keys and values out of text: key-value lists, quoted attributes, host and port, and the
// fields of a comma- or tab-separated line.

#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"
#include "strings/c_StringView.h"

#include <cstdint>
#include <map>

// 'a=1;b=2;c' with "=" and ";" gives a->1, b->2, c->'' in out (cleared first), keys without case,
// a later equal key replacing the value. Returns the number of keys; 0 and an empty map when memory
// runs out. Null or empty separators never match.
int ParseKeyValuePairs(const c_String& text, const char* keySeparator, const char* pairSeparator,
                       std::map<c_StringNoCase, c_String>& out);
// The same over a writable buffer: separators are overwritten with NUL and out maps each key to its
// value inside the buffer.
int ParseKeyValuePairsInPlace(char* text, const char* keySeparator, const char* pairSeparator,
                              std::map<char*, char*>& out);

// The next name="value" pair of a writable buffer, from cursor on: blanks skipped, the '=' and the
// closing quote overwritten with NUL, cursor left after the closing quote. False at the end of the
// text, with value null when no '=' was found.
bool ParseNextAttribute(char*& cursor, char*& name, char*& value);

// Host and port at the last ':'. The port changes only for a number from 1 to 65535.
void SplitHostAndPort(const c_String& text, c_String& host, std::uint16_t& port);

// The position of the first ',' or tab, or the length.
int FindFieldEnd(const c_StringView& text);
// Trimmed; when it starts and ends with '"', the text between them, trimmed again.
c_StringView TrimAndUnquote(const c_StringView& text);
