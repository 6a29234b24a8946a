// Attributes of paths: GetFileAttributesW, GetFileAttributesExW and SetFileAttributesW.

#include "platform/files/DrivePaths.h"
#include "platform/files/FileStatus.h"
#include "platform/kernel/LastError.h"

#include <cerrno>

namespace {

bool ReadStatusOfPath(LPCWSTR path, n_Platform::s_FileStatus& status) {
    std::string linuxPath;
    return n_Platform::ToLinuxPath(path, linuxPath) && n_Platform::ReadPathStatus(linuxPath, status);
}

} // namespace

DWORD WINAPI GetFileAttributesW(LPCWSTR path) {
    n_Platform::s_FileStatus status;
    if (!ReadStatusOfPath(path, status)) {
        return INVALID_FILE_ATTRIBUTES;
    }
    return status.m_Attributes;
}

BOOL WINAPI GetFileAttributesExW(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID information) {
    if (level != GetFileExInfoStandard || information == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    n_Platform::s_FileStatus status;
    if (!ReadStatusOfPath(path, status)) {
        return FALSE;
    }
    WIN32_FILE_ATTRIBUTE_DATA& data = *static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(information);
    data.dwFileAttributes = status.m_Attributes;
    data.ftCreationTime = status.m_Creation;
    data.ftLastAccessTime = status.m_LastAccess;
    data.ftLastWriteTime = status.m_LastWrite;
    data.nFileSizeHigh = static_cast<DWORD>(status.m_Size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(status.m_Size);
    return TRUE;
}

BOOL WINAPI SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    std::string linuxPath;
    n_Platform::s_FileStatus status;
    if (!n_Platform::ToLinuxPath(path, linuxPath) || !n_Platform::ReadPathStatus(linuxPath, status)) {
        return FALSE;
    }
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly == status.IsReadOnly()) {
        return TRUE;
    }
    const mode_t mode = readOnly ? status.m_Mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) : status.m_Mode | S_IWUSR;
    if (chmod(linuxPath.c_str(), mode & 07777) != 0) {
        return n_Platform::FailWithPathErrno(FALSE, errno, linuxPath);
    }
    return TRUE;
}
