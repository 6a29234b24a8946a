// Windows attributes, times and sizes of Linux entries, and the errors of calls on paths.

#include "platform/files/FileStatus.h"

#include "platform/kernel/LastError.h"

#include <cerrno>
#include <fcntl.h>

namespace {

constexpr std::int64_t SECONDS_1601_TO_1970 = 11644473600;
constexpr std::int64_t TICKS_PER_SECOND = 10000000;

DWORD AttributesOf(mode_t mode, std::string_view name) {
    DWORD attributes = S_ISDIR(mode)   ? FILE_ATTRIBUTE_DIRECTORY
                       : S_ISREG(mode) ? FILE_ATTRIBUTE_ARCHIVE
                                       : FILE_ATTRIBUTE_SYSTEM;
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    return attributes;
}

FILETIME FromStatxTime(const statx_timestamp& time) {
    return n_Platform::MakeFileTime(time.tv_sec, time.tv_nsec);
}

bool ReadStatus(int folder, const char* path, int flags, std::string_view name, n_Platform::s_FileStatus& status) {
    struct statx data;
    if (statx(folder, path, flags | AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &data) != 0) {
        return false;
    }
    status.m_Mode = data.stx_mode;
    status.m_Attributes = AttributesOf(data.stx_mode, name);
    status.m_LastAccess = FromStatxTime(data.stx_atime);
    status.m_LastWrite = FromStatxTime(data.stx_mtime);
    status.m_Creation = (data.stx_mask & STATX_BTIME) != 0 ? FromStatxTime(data.stx_btime) : status.m_LastWrite;
    status.m_Size = S_ISREG(data.stx_mode) ? data.stx_size : 0;
    status.m_Device = (std::uint64_t(data.stx_dev_major) << 32) | data.stx_dev_minor;
    status.m_Inode = data.stx_ino;
    status.m_Links = data.stx_nlink;
    return true;
}

} // namespace

namespace n_Platform {

DWORD PathErrorFromErrno(int errorNumber, const std::string& linuxPath) {
    if (errorNumber == ENOTDIR) {
        return ERROR_PATH_NOT_FOUND;
    }
    if (errorNumber != ENOENT) {
        return WindowsErrorFromErrno(errorNumber);
    }
    const std::string_view name = GetLinuxName(linuxPath);
    const std::string folder = linuxPath.substr(0, static_cast<std::size_t>(name.data() - linuxPath.data()));
    struct stat data;
    const bool folderExists = stat(folder.empty() ? "." : folder.c_str(), &data) == 0 && S_ISDIR(data.st_mode);
    return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

std::string_view GetLinuxName(std::string_view linuxPath) {
    while (linuxPath.size() > 1 && linuxPath.back() == '/') {
        linuxPath.remove_suffix(1);
    }
    const std::size_t slash = linuxPath.rfind('/');
    return slash == std::string_view::npos ? linuxPath : linuxPath.substr(slash + 1);
}

bool ReadPathStatus(const std::string& linuxPath, s_FileStatus& status) {
    if (!ReadStatus(AT_FDCWD, linuxPath.c_str(), 0, GetLinuxName(linuxPath), status)) {
        return FailWithPathErrno(false, errno, linuxPath);
    }
    return true;
}

bool ReadEntryStatus(int folder, const std::string& name, s_FileStatus& status) {
    return ReadStatus(folder, name.c_str(), 0, name, status) ||
           ReadStatus(folder, name.c_str(), AT_SYMLINK_NOFOLLOW, name, status);
}

bool ReadDescriptorStatus(int descriptor, std::string_view name, s_FileStatus& status) {
    if (!ReadStatus(descriptor, "", AT_EMPTY_PATH, name, status)) {
        return FailWithErrno(false, errno);
    }
    return true;
}

FILETIME MakeFileTime(std::int64_t seconds, std::uint32_t nanoseconds) {
    const std::int64_t ticks = (seconds + SECONDS_1601_TO_1970) * TICKS_PER_SECOND + nanoseconds / 100;
    const std::uint64_t value = ticks < 0 ? 0 : static_cast<std::uint64_t>(ticks);
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

timespec ToTimespec(const FILETIME& time) {
    const std::int64_t ticks =
        static_cast<std::int64_t>((std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    timespec result;
    result.tv_sec = static_cast<time_t>(ticks / TICKS_PER_SECOND - SECONDS_1601_TO_1970);
    result.tv_nsec = static_cast<long>(ticks % TICKS_PER_SECOND * 100);
    return result;
}

} // namespace n_Platform
