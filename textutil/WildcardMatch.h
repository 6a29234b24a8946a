#pragma once
// Matching a name against a mask in which '*' stands for any run of characters, as the folder
// search filters names. Every other character matches itself without ASCII case; there is no '?'.
// The whole text must be consumed. Null counts as the empty text.
//
// The match backtracks only to the last '*', so it takes at most text length times mask length
// steps, however many '*' the mask holds.

bool WildcardMatchNoCase(const char* text, const char* pattern);
