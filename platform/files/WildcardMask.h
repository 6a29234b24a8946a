#pragma once
// Matching entry names against the last part of a FindFirstFileW pattern.
//
// '*' stands for any run of characters and '?' for one, or for none at the end of the name; a '.'
// followed only by '*' at the end of the mask also matches a name without an extension, so "*.*"
// matches every name. Other characters match without ASCII case, as Windows matches them.

#include <string_view>

namespace n_Platform {

bool HasWildcards(std::u16string_view mask);
bool MatchesMask(std::u16string_view name, std::u16string_view mask);

} // namespace n_Platform
