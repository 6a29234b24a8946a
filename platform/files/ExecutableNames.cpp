// Executable names and their execute bits.

#include "platform/files/ExecutableNames.h"

#include "platform/files/FileStatus.h"

#include <fstream>
#include <sys/stat.h>

namespace n_Platform {

namespace {

constexpr mode_t DEFAULT_UMASK = 022;

// The umask read without changing it (umask() itself would, for every thread at once).
mode_t ReadUmask() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Umask:")) {
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        }
    }
    return DEFAULT_UMASK;
}

} // namespace

bool IsExecutableName(std::string_view name) {
    if (name.size() < 4) {
        return false;
    }
    const std::string_view extension = name.substr(name.size() - 4);
    return extension[0] == '.' && (extension[1] | 0x20) == 'e' && (extension[2] | 0x20) == 'x' &&
           (extension[3] | 0x20) == 'e';
}

mode_t GetAllowedExecuteBits() {
    return (S_IXUSR | S_IXGRP | S_IXOTH) & ~ReadUmask();
}

void GrantExecuteBitsByName(const std::string& linuxPath) {
    struct stat status;
    if (IsExecutableName(GetLinuxName(linuxPath)) && lstat(linuxPath.c_str(), &status) == 0 &&
        S_ISREG(status.st_mode)) {
        chmod(linuxPath.c_str(), (status.st_mode | GetAllowedExecuteBits()) & 07777);
    }
}

} // namespace n_Platform
