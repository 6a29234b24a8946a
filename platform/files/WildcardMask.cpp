// The Windows wildcard rules of folder searches.

#include "platform/files/WildcardMask.h"

namespace {

char16_t FoldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool OnlyStars(std::u16string_view text) {
    return !text.empty() && text.find_first_not_of(u'*') == std::u16string_view::npos;
}

bool MatchFrom(std::u16string_view name, std::u16string_view mask) {
    while (!mask.empty()) {
        const char16_t c = mask.front();
        if (c == u'*') {
            while (!mask.empty() && mask.front() == u'*') {
                mask.remove_prefix(1);
            }
            if (mask.empty()) {
                return true;
            }
            for (std::size_t skip = 0; skip <= name.size(); ++skip) {
                if (MatchFrom(name.substr(skip), mask)) {
                    return true;
                }
            }
            return false;
        }
        if (name.empty()) {
            return (c == u'.' && OnlyStars(mask.substr(1))) || (c == u'?' && MatchFrom(name, mask.substr(1)));
        }
        if (c != u'?' && FoldCase(c) != FoldCase(name.front())) {
            return false;
        }
        name.remove_prefix(1);
        mask.remove_prefix(1);
    }
    return name.empty();
}

} // namespace

namespace n_Platform {

bool HasWildcards(std::u16string_view mask) {
    return mask.find_first_of(u"*?") != std::u16string_view::npos;
}

bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
    return MatchFrom(name, mask);
}

} // namespace n_Platform
