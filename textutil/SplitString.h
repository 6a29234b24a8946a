#pragma once
// Splitting into owned pieces: the installer's version list, file lists and command line.
//
// Unlike Split into views, a separator at the very end adds no empty last piece: 'a||b||' on "||"
// gives 'a' and 'b', while '||a' gives '' and 'a'. An empty text gives no piece, and an empty or null
// separator the whole text. The result is the number of pieces; when memory runs out it is 0 and
// out is empty, never a shortened list.

#include "strings/c_String.h"
#include "strings/c_StringNoCase.h"

#include <vector>

// The separator is found with case.
int SplitString(const c_String& text, const char* separator, std::vector<c_String>& out);
// The separator is found without ASCII case.
int SplitStringNoCase(const c_StringNoCase& text, const char* separator, std::vector<c_String>& out);

// Pieces of a writable NUL-terminated buffer: each separator is overwritten with NUL and out gets a
// pointer to every piece. The text itself is always the first piece, so an empty text gives one.
int SplitInPlace(char* text, const char* separator, std::vector<char*>& out);
