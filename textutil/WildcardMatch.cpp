// Wildcard matching with one backtrack point.

#include "textutil/WildcardMatch.h"

#include "textutil/CharacterClasses.h"

bool WildcardMatchNoCase(const char* text, const char* pattern) {
    text = text == nullptr ? "" : text;
    pattern = pattern == nullptr ? "" : pattern;
    // Where the last '*' resumes in the mask, and the text it has swallowed up to.
    const char* afterStar = nullptr;
    const char* resume = nullptr;
    while (*text != 0) {
        if (*pattern == '*') {
            afterStar = ++pattern;
            resume = text;
        } else if (*pattern != 0 && CharEqualsNoCase(*pattern, *text)) {
            ++pattern;
            ++text;
        } else if (afterStar != nullptr) {
            // Let the last '*' take one more character; an earlier '*' never needs to, since the
            // last one can take anything the earlier could.
            pattern = afterStar;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') {
        ++pattern;
    }
    return *pattern == 0;
}
