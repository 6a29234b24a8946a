#pragma once
// Measures for comparing short texts: matching characters, a similarity percentage, and the
// ratings a search gives its terms and its matches.

#include "strings/c_StringView.h"

#include <vector>

// Ratcliff/Obershelp: the longest common substring (the first found among the longest), plus the
// matches left of it and right of it.
int CountMatchingCharacters(const c_StringView& a, const c_StringView& b);
// 200 * matches / (length of a + length of b), ignoring ASCII case; 0 when either is empty.
int GetSimilarityPercent(const c_StringView& a, const c_StringView& b);
// 20, 30 or 40 for a term with a blank by its length; 10 per character up to 50 otherwise.
int GetTermWeight(const c_StringView& term);
// 100 when the text holds the phrase; else 99 less the number of words it lacks, when it holds at
// least one; else 0. Without ASCII case.
int GetWordMatchRank(const c_StringView& text, const c_StringView& phrase, const std::vector<c_StringView>& words);
