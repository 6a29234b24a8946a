// Folders: creating and removing them, the current folder, full paths, disk space and volumes.

#include "platform/files/DrivePaths.h"
#include "platform/files/FileStatus.h"
#include "platform/files/PathText.h"
#include "platform/kernel/LastError.h"

#include <cerrno>
#include <climits>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

bool ReadVolume(LPCWSTR folder, struct statvfs& volume) {
    std::string linuxPath = ".";
    if (folder != nullptr && !n_Platform::ToLinuxPath(folder, linuxPath)) {
        return false;
    }
    if (statvfs(linuxPath.c_str(), &volume) != 0) {
        return n_Platform::FailWithPathErrno(false, errno, linuxPath);
    }
    return true;
}

void SetLarge(PULARGE_INTEGER target, std::uint64_t value) {
    if (target != nullptr) {
        target->QuadPart = value;
    }
}

} // namespace

BOOL WINAPI CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    std::string linuxPath;
    if (!n_Platform::ToLinuxPath(path, linuxPath)) {
        return FALSE;
    }
    if (mkdir(linuxPath.c_str(), 0777) != 0) {
        const int error = errno;
        return error == EEXIST ? n_Platform::FailWith(FALSE, ERROR_ALREADY_EXISTS)
                               : n_Platform::FailWithPathErrno(FALSE, error, linuxPath);
    }
    // Callers read the last error after a success too, to tell a new folder from an existing one.
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL WINAPI RemoveDirectoryW(LPCWSTR path) {
    std::string linuxPath;
    if (!n_Platform::ToLinuxPath(path, linuxPath)) {
        return FALSE;
    }
    if (rmdir(linuxPath.c_str()) != 0) {
        const int error = errno;
        if (error == ENOTDIR) {
            return n_Platform::FailWith(FALSE, ERROR_DIRECTORY);
        }
        return n_Platform::FailWithPathErrno(FALSE, error == EEXIST ? ENOTEMPTY : error, linuxPath);
    }
    return TRUE;
}

DWORD WINAPI GetFullPathNameW(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* filePart) {
    std::u16string full;
    if (!n_Platform::MakeFullPath(n_Platform::ReadArgument(path), full)) {
        return 0;
    }
    const DWORD result = n_Platform::CopyTextResult(full, buffer, size);
    if (filePart != nullptr) {
        const std::size_t separator = full.find_last_of(u"\\/");
        const bool named = result == full.size() && separator != full.size() - 1;
        *filePart = named ? buffer + separator + 1 : nullptr;
    }
    return result;
}

DWORD WINAPI GetCurrentDirectoryW(DWORD size, LPWSTR buffer) {
    char current[PATH_MAX];
    if (getcwd(current, sizeof current) == nullptr) {
        return n_Platform::FailWithErrno<DWORD>(0, errno);
    }
    return n_Platform::CopyTextResult(n_Platform::ToDrivePath(current), buffer, size);
}

BOOL WINAPI SetCurrentDirectoryW(LPCWSTR path) {
    std::string linuxPath;
    if (!n_Platform::ToLinuxPath(path, linuxPath)) {
        return FALSE;
    }
    if (chdir(linuxPath.c_str()) != 0) {
        const int error = errno;
        n_Platform::s_FileStatus status;
        if (error == ENOTDIR && n_Platform::ReadPathStatus(linuxPath, status)) {
            return n_Platform::FailWith(FALSE, ERROR_DIRECTORY);
        }
        return n_Platform::FailWithPathErrno(FALSE, error, linuxPath);
    }
    return TRUE;
}

BOOL WINAPI GetDiskFreeSpaceExW(LPCWSTR folder, PULARGE_INTEGER freeForCaller, PULARGE_INTEGER total,
                                PULARGE_INTEGER totalFree) {
    struct statvfs volume;
    if (!ReadVolume(folder, volume)) {
        return FALSE;
    }
    SetLarge(freeForCaller, std::uint64_t(volume.f_bavail) * volume.f_frsize);
    SetLarge(total, std::uint64_t(volume.f_blocks) * volume.f_frsize);
    SetLarge(totalFree, std::uint64_t(volume.f_bfree) * volume.f_frsize);
    return TRUE;
}

BOOL WINAPI GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                                  LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                                  DWORD fileSystemNameSize) {
    struct statvfs volume;
    if (!ReadVolume(root, volume)) {
        return FALSE;
    }
    if ((volumeName != nullptr && volumeNameSize == 0) || (fileSystemName != nullptr && fileSystemNameSize == 0)) {
        return n_Platform::FailWith(FALSE, ERROR_INSUFFICIENT_BUFFER);
    }
    if (volumeName != nullptr) {
        volumeName[0] = 0;
    }
    if (fileSystemName != nullptr) {
        fileSystemName[0] = 0;
    }
    if (serialNumber != nullptr) {
        *serialNumber = static_cast<DWORD>(volume.f_fsid ^ (std::uint64_t(volume.f_fsid) >> 32));
    }
    if (maxComponentLength != nullptr) {
        *maxComponentLength = static_cast<DWORD>(volume.f_namemax);
    }
    if (fileSystemFlags != nullptr) {
        *fileSystemFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
    }
    return TRUE;
}
