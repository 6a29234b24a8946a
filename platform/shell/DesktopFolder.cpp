// The XDG desktop folder, read from user-dirs.dirs as xdg-user-dirs writes it.

#include "platform/shell/DesktopFolder.h"

#include "platform/files/DriveMap.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr std::string_view DESKTOP_KEY = "XDG_DESKTOP_DIR=";
constexpr std::string_view HOME_WORD = "$HOME";
// The file is a few lines; more is not a user-dirs file.
constexpr std::streamsize LONGEST_USER_DIRS = 64 * 1024;

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string ExpandFolder(std::string_view value, const std::string& home) {
    if (value.starts_with('/')) {
        return std::string(value);
    }
    if (value == HOME_WORD) {
        return home;
    }
    if (value.starts_with(HOME_WORD) && value[HOME_WORD.size()] == '/') {
        return home + std::string(value.substr(HOME_WORD.size()));
    }
    return std::string();
}

std::string ReadUserDirs() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder =
        config != nullptr && config[0] == '/' ? std::string(config) : n_Platform::FindHomeFolder() + "/.config";
    std::ifstream file(folder + "/user-dirs.dirs", std::ios::binary);
    std::string text(LONGEST_USER_DIRS, '\0');
    file.read(text.data(), LONGEST_USER_DIRS);
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

} // namespace

namespace n_Platform {

std::string ParseDesktopEntry(std::string_view userDirs, const std::string& home) {
    while (!userDirs.empty()) {
        const std::size_t end = userDirs.find('\n');
        std::string_view line = userDirs.substr(0, end);
        userDirs = end == std::string_view::npos ? std::string_view() : userDirs.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with(DESKTOP_KEY)) {
            return ExpandFolder(Unquote(line.substr(DESKTOP_KEY.size())), home);
        }
    }
    return std::string();
}

std::string FindDesktopFolder() {
    const std::string home = FindHomeFolder();
    const std::string folder = ParseDesktopEntry(ReadUserDirs(), home);
    return folder.empty() ? (home == "/" ? "" : home) + "/Desktop" : folder;
}

} // namespace n_Platform
