#pragma once
// Splitting a text into views at a separator, with the variants for lines, padding and trimming.
//
// Pieces are views into the split text and live only as long as it. The separator is always matched
// with case. Every piece between two separators is kept, and a separator at the very end leaves an
// empty last piece: 'a,' gives 'a' and ''. An empty text gives no piece; an empty separator gives the
// whole text. When memory for the pieces runs out the result is empty, never a shortened list.
//
// A c_StringViewNoCase or c_StringNoCase text gives c_StringViewNoCase pieces, which carry the
// case-insensitive rule on.

#include "strings/c_StringNoCase.h"
#include "strings/c_StringView.h"

#include <concepts>
#include <vector>

// Appends the pieces to out; false, with out as before, when memory runs out.
bool Split(const c_StringView& text, const c_StringView& separator, std::vector<c_StringView>& out);
bool Split(const c_StringViewNoCase& text, const c_StringView& separator, std::vector<c_StringViewNoCase>& out);

std::vector<c_StringView> Split(const c_StringView& text, const c_StringView& separator);
std::vector<c_StringView> Split(const c_StringView& text, char separator);

// Clear out, then split into it.
void SplitInto(const c_StringView& text, const c_StringView& separator, std::vector<c_StringView>& out);
void SplitInto(const c_StringViewNoCase& text, const c_StringView& separator, std::vector<c_StringViewNoCase>& out);
void SplitInto(const c_StringViewNoCase& text, char separator, std::vector<c_StringViewNoCase>& out);
// Splits on "\n" only; a carriage return stays at the end of its piece.
void SplitLines(const c_StringView& text, std::vector<c_StringView>& out);

// At least minCount pieces, empty ones added at the end; a negative count is ignored.
std::vector<c_StringView> SplitPadded(const c_StringView& text, const c_StringView& separator, int minCount);
void SplitPadded(const c_StringView& text, const c_StringView& separator, int minCount, std::vector<c_StringView>& out);
// Each piece without blanks at both ends.
std::vector<c_StringView> SplitTrimmed(const c_StringView& text, const c_StringView& separator);

template <typename Text>
concept NoCaseText = std::same_as<Text, c_StringViewNoCase> || std::same_as<Text, c_StringNoCase>;

template <NoCaseText Text> std::vector<c_StringViewNoCase> Split(const Text& text, const c_StringView& separator) {
    std::vector<c_StringViewNoCase> pieces;
    Split(c_StringViewNoCase(text), separator, pieces);
    return pieces;
}
template <NoCaseText Text> std::vector<c_StringViewNoCase> Split(const Text& text, char separator) {
    return Split(text, c_StringView(separator));
}
