// Ratcliff/Obershelp matching and the ratings built on it.

#include "textutil/TextSimilarity.h"

#include "strings/c_String.h"
#include "textutil/TextFunctions.h"

namespace {

struct s_CommonRun {
    int m_StartA = 0;
    int m_StartB = 0;
    int m_Length = 0;
};

// The first longest common substring, trying starts in a, then in b, in increasing order.
s_CommonRun FindLongestCommonRun(const c_StringView& a, const c_StringView& b) {
    s_CommonRun best;
    const char* textA = a.begin();
    const char* textB = b.begin();
    for (int i = 0; a.GetLength() - i > best.m_Length; ++i) {
        for (int j = 0; b.GetLength() - j > best.m_Length; ++j) {
            int length = 0;
            while (i + length < a.GetLength() && j + length < b.GetLength() && textA[i + length] == textB[j + length]) {
                ++length;
            }
            if (length > best.m_Length) {
                best = {i, j, length};
            }
        }
    }
    return best;
}

} // namespace

int CountMatchingCharacters(const c_StringView& a, const c_StringView& b) {
    // The smaller side recurses and the larger one loops, so the depth stays logarithmic.
    int matches = 0;
    c_StringView left = a;
    c_StringView right = b;
    while (!left.IsEmpty() && !right.IsEmpty()) {
        const s_CommonRun run = FindLongestCommonRun(left, right);
        if (run.m_Length == 0) {
            break;
        }
        matches += run.m_Length;
        const c_StringView beforeA = left.Left(run.m_StartA);
        const c_StringView beforeB = right.Left(run.m_StartB);
        const c_StringView afterA = left.RightFrom(run.m_StartA + run.m_Length);
        const c_StringView afterB = right.RightFrom(run.m_StartB + run.m_Length);
        if (beforeA.GetLength() + beforeB.GetLength() < afterA.GetLength() + afterB.GetLength()) {
            matches += CountMatchingCharacters(beforeA, beforeB);
            left = afterA;
            right = afterB;
        } else {
            matches += CountMatchingCharacters(afterA, afterB);
            left = beforeA;
            right = beforeB;
        }
    }
    return matches;
}

int GetSimilarityPercent(const c_StringView& a, const c_StringView& b) {
    if (a.IsEmpty() || b.IsEmpty()) {
        return 0;
    }
    const std::int64_t matches = CountMatchingCharacters(ToLower(a), ToLower(b));
    return static_cast<int>(matches * 200 / (std::int64_t(a.GetLength()) + b.GetLength()));
}

int GetTermWeight(const c_StringView& term) {
    const int length = term.GetLength();
    if (term.Contains(' ')) {
        return length < 10 ? 20 : (length < 15 ? 30 : 40);
    }
    return length < 5 ? length * 10 : 50;
}

int GetWordMatchRank(const c_StringView& text, const c_StringView& phrase, const std::vector<c_StringView>& words) {
    const c_StringViewNoCase searched(text);
    if (searched.Contains(phrase)) {
        return 100;
    }
    int found = 0;
    for (const c_StringView& word : words) {
        found += searched.Contains(word) ? 1 : 0;
    }
    return found == 0 ? 0 : found - static_cast<int>(words.size()) + 99;
}
