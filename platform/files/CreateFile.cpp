// CreateFileW: dispositions, access, sharing, the read-only rule and the execute bits of ".exe" files.

#include "platform/files/DrivePaths.h"
#include "platform/files/FileObjects.h"
#include "platform/files/FileStatus.h"
#include "platform/kernel/LastError.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct s_OpenedFile {
    int m_Descriptor = -1;
    bool m_Existed = false;
    n_Platform::s_FileStatus m_Status;
};

bool EndsWithExe(std::string_view name) {
    if (name.size() < 4) {
        return false;
    }
    const std::string_view extension = name.substr(name.size() - 4);
    return extension[0] == '.' && (extension[1] | 0x20) == 'e' && (extension[2] | 0x20) == 'x' &&
           (extension[3] | 0x20) == 'e';
}

int OpenFlags(DWORD access, DWORD flags) {
    const bool read = (access & n_Platform::SHARED_ACCESS_READ) != 0;
    const bool write = (access & n_Platform::SHARED_ACCESS_WRITE) != 0;
    int openFlags = O_CLOEXEC | O_NOCTTY | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    if ((flags & FILE_FLAG_WRITE_THROUGH) != 0) {
        openFlags |= O_DSYNC;
    }
    return openFlags;
}

bool OpenExisting(const std::string& linuxPath, const struct stat& existing, DWORD access, DWORD disposition,
                  DWORD flags, int& descriptor) {
    if (disposition == CREATE_NEW) {
        return n_Platform::FailWith(false, ERROR_FILE_EXISTS);
    }
    int openFlags = OpenFlags(access, flags);
    if (S_ISDIR(existing.st_mode)) {
        if ((flags & FILE_FLAG_BACKUP_SEMANTICS) == 0) {
            return n_Platform::FailWith(false, ERROR_ACCESS_DENIED);
        }
        openFlags = O_CLOEXEC | O_RDONLY | O_DIRECTORY;
    } else if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 &&
               ((access & n_Platform::SHARED_ACCESS_WRITE) != 0 || disposition == CREATE_ALWAYS)) {
        // Read-only refuses writing even to root.
        return n_Platform::FailWith(false, ERROR_ACCESS_DENIED);
    }
    descriptor = open(linuxPath.c_str(), openFlags);
    return true;
}

bool CreateNew(const std::string& linuxPath, DWORD access, DWORD disposition, DWORD flags, int& descriptor) {
    if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
        return n_Platform::FailWithPathErrno(false, ENOENT, linuxPath);
    }
    const mode_t mode = EndsWithExe(n_Platform::GetLinuxName(linuxPath)) ? 0777 : 0666;
    descriptor = open(linuxPath.c_str(), OpenFlags(access, flags) | O_CREAT | O_EXCL, mode);
    struct stat created;
    if (descriptor >= 0 && (flags & FILE_ATTRIBUTE_READONLY) != 0 && fstat(descriptor, &created) == 0) {
        fchmod(descriptor, created.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
    }
    return true;
}

bool OpenDescriptor(const std::string& linuxPath, DWORD access, DWORD disposition, DWORD flags, s_OpenedFile& opened) {
    struct stat existing;
    opened.m_Existed = stat(linuxPath.c_str(), &existing) == 0;
    if (!opened.m_Existed && errno != ENOENT) {
        return n_Platform::FailWithPathErrno(false, errno, linuxPath);
    }
    const bool tried = opened.m_Existed
                           ? OpenExisting(linuxPath, existing, access, disposition, flags, opened.m_Descriptor)
                           : CreateNew(linuxPath, access, disposition, flags, opened.m_Descriptor);
    if (!tried) {
        return false;
    }
    if (opened.m_Descriptor < 0) {
        return n_Platform::FailWithPathErrno(false, errno, linuxPath);
    }
    if (!n_Platform::ReadDescriptorStatus(opened.m_Descriptor, n_Platform::GetLinuxName(linuxPath), opened.m_Status)) {
        close(opened.m_Descriptor);
        return false;
    }
    return true;
}

bool EmptiesFile(DWORD disposition) {
    return disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
}

} // namespace

HANDLE WINAPI CreateFileW(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES, DWORD disposition,
                          DWORD flagsAndAttributes, HANDLE) {
    std::string linuxPath;
    if (!n_Platform::ToLinuxPath(path, linuxPath)) {
        return INVALID_HANDLE_VALUE;
    }
    const DWORD access = n_Platform::ReduceAccess(desiredAccess);
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING ||
        (disposition == TRUNCATE_EXISTING && (access & n_Platform::SHARED_ACCESS_WRITE) == 0)) {
        return n_Platform::FailWith(INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
    }
    n_Platform::c_SharingTable& table = n_Platform::c_SharingTable::Get();
    std::unique_lock<std::mutex> lock = table.Lock();
    s_OpenedFile opened;
    if (!OpenDescriptor(linuxPath, access, disposition, flagsAndAttributes, opened)) {
        return INVALID_HANDLE_VALUE;
    }
    const n_Platform::s_FileKey key{opened.m_Status.m_Device, opened.m_Status.m_Inode};
    if (!table.Permits(key, access, shareMode)) {
        close(opened.m_Descriptor);
        return n_Platform::FailWith(INVALID_HANDLE_VALUE, ERROR_SHARING_VIOLATION);
    }
    if (opened.m_Existed && EmptiesFile(disposition) && opened.m_Status.IsRegular() &&
        ftruncate(opened.m_Descriptor, 0) != 0) {
        const int error = errno;
        close(opened.m_Descriptor);
        return n_Platform::FailWithErrno(INVALID_HANDLE_VALUE, error);
    }
    auto file = std::make_shared<n_Platform::c_FileObject>(opened.m_Descriptor, key, access, shareMode,
                                                           (flagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0,
                                                           opened.m_Status.IsRegular(), linuxPath);
    lock.unlock();
    HANDLE handle = n_Platform::InsertHandle(std::move(file));
    if (handle == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    const bool reportsExisting = disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS;
    SetLastError(reportsExisting && opened.m_Existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}
