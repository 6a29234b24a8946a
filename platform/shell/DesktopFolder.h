#pragma once
// The user's desktop folder as the XDG user folders name it.

#include <string>
#include <string_view>

namespace n_Platform {

// The XDG_DESKTOP_DIR line of a user-dirs.dirs text: "$HOME/..." (or "$HOME") with the home folder
// put in, or an absolute path; empty when the text has no such line.
std::string ParseDesktopEntry(std::string_view userDirs, const std::string& home);

// The folder of XDG_DESKTOP_DIR in user-dirs.dirs of the configuration folder ($XDG_CONFIG_HOME when
// absolute, else ~/.config); the home folder's Desktop when that says nothing.
std::string FindDesktopFolder();

} // namespace n_Platform
