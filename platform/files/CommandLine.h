#pragma once
// Splitting a Windows command line into arguments, as the C run-time library of Windows does.
//
// The first argument, the program, ends at the first blank or tab, or, when it starts with a double
// quote, at the next double quote; backslashes have no special meaning in it. In the others, blanks
// and tabs outside double quotes separate; 2n backslashes before a double quote give n backslashes
// and the quote opens or closes a quoted part, 2n + 1 give n backslashes and a literal double quote;
// two double quotes inside a quoted part give one; other backslashes stand for themselves.

#include <string>
#include <string_view>
#include <vector>

namespace n_Platform {

std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

} // namespace n_Platform
