#pragma once
// What the file calls read of an entry: Windows attributes, times and size, from statx.
//
// Attributes follow the layer's rules: a folder is FILE_ATTRIBUTE_DIRECTORY, a regular file
// FILE_ATTRIBUTE_ARCHIVE and anything else (devices, pipes, sockets) FILE_ATTRIBUTE_SYSTEM; an entry
// without write bits is READONLY and one whose name starts with '.' is HIDDEN. The creation time is
// the birth time where the file system keeps one, else the last-write time.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace n_Platform {

struct s_FileStatus {
    DWORD m_Attributes = 0;
    FILETIME m_Creation = {};
    FILETIME m_LastAccess = {};
    FILETIME m_LastWrite = {};
    std::uint64_t m_Size = 0;
    std::uint64_t m_Device = 0;
    std::uint64_t m_Inode = 0;
    std::uint32_t m_Links = 0;
    mode_t m_Mode = 0;

    bool IsDirectory() const { return S_ISDIR(m_Mode); }
    bool IsRegular() const { return S_ISREG(m_Mode); }
    bool IsReadOnly() const { return (m_Attributes & FILE_ATTRIBUTE_READONLY) != 0; }
};

// The last error for errno after a call on a path: a missing entry is ERROR_FILE_NOT_FOUND when its
// folder exists and ERROR_PATH_NOT_FOUND when not, as Windows tells them apart.
DWORD PathErrorFromErrno(int errorNumber, const std::string& linuxPath);
template <typename T> T FailWithPathErrno(T result, int errorNumber, const std::string& linuxPath) {
    SetLastError(PathErrorFromErrno(errorNumber, linuxPath));
    return result;
}

// The last component of a Linux path, a trailing '/' ignored.
std::string_view GetLinuxName(std::string_view linuxPath);

// Follows symbolic links. False with the last error set.
bool ReadPathStatus(const std::string& linuxPath, s_FileStatus& status);
// An entry of an open folder; a symbolic link that leads nowhere reads as the link itself.
bool ReadEntryStatus(int folder, const std::string& name, s_FileStatus& status);
bool ReadDescriptorStatus(int descriptor, std::string_view name, s_FileStatus& status);

FILETIME MakeFileTime(std::int64_t seconds, std::uint32_t nanoseconds);
// The Linux time of a FILETIME, for futimens.
timespec ToTimespec(const FILETIME& time);

} // namespace n_Platform
