// The Windows wildcard rules of folder searches.

#include "platform/files/WildcardMask.h"

namespace {

char16_t FoldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool OnlyStars(std::u16string_view text) {
    return !text.empty() && text.find_first_not_of(u'*') == std::u16string_view::npos;
}

// What is left of the mask once the name has run out must match nothing: stars, '?' (which match
// nothing at the end of a name), and a '.' that only stars follow.
bool MatchesEndOfName(std::u16string_view mask) {
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'.') {
            return OnlyStars(mask.substr(i + 1));
        }
        if (mask[i] != u'*' && mask[i] != u'?') {
            return false;
        }
    }
    return true;
}

bool MatchesAt(char16_t maskUnit, char16_t nameUnit) {
    return maskUnit == u'?' || FoldCase(maskUnit) == FoldCase(nameUnit);
}

} // namespace

namespace n_Platform {

bool HasWildcards(std::u16string_view mask) {
    return mask.find_first_of(u"*?") != std::u16string_view::npos;
}

// One backtrack point: only the last '*' met ever takes more of the name, since it can take
// anything an earlier one could. So the work grows with the name times the mask, never
// exponentially with the number of stars.
bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
    constexpr std::size_t NO_STAR = std::u16string_view::npos;
    std::size_t afterStar = NO_STAR;
    std::size_t resume = 0;
    std::size_t m = 0;
    for (std::size_t n = 0; n < name.size();) {
        if (m < mask.size() && mask[m] == u'*') {
            afterStar = ++m;
            resume = n;
        } else if (m < mask.size() && MatchesAt(mask[m], name[n])) {
            ++m;
            ++n;
        } else if (afterStar != NO_STAR) {
            m = afterStar;
            n = ++resume;
        } else {
            return false;
        }
    }
    return MatchesEndOfName(mask.substr(m));
}

} // namespace n_Platform
