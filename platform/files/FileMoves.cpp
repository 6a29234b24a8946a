// Deleting, moving and copying files, under the read-only and sharing rules of Windows.

#include "platform/files/DrivePaths.h"
#include "platform/files/FileObjects.h"
#include "platform/files/FileStatus.h"
#include "platform/kernel/LastError.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct s_Entry {
    bool m_Exists = false;
    struct stat m_Status = {};

    n_Platform::s_FileKey GetKey() const {
        return {(std::uint64_t(major(m_Status.st_dev)) << 32) | minor(m_Status.st_dev), m_Status.st_ino};
    }
    bool IsDirectory() const { return S_ISDIR(m_Status.st_mode); }
    bool IsReadOnlyFile() const {
        return S_ISREG(m_Status.st_mode) && (m_Status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    }
    bool IsSameFile(const s_Entry& other) const {
        return m_Exists && other.m_Exists && m_Status.st_dev == other.m_Status.st_dev &&
               m_Status.st_ino == other.m_Status.st_ino;
    }
};

// The entry itself, not what a symbolic link leads to.
bool ReadEntry(const std::string& linuxPath, s_Entry& entry) {
    entry.m_Exists = lstat(linuxPath.c_str(), &entry.m_Status) == 0;
    return entry.m_Exists || errno == ENOENT;
}

bool ReadExistingEntry(const std::string& linuxPath, s_Entry& entry) {
    if (lstat(linuxPath.c_str(), &entry.m_Status) != 0) {
        return n_Platform::FailWithPathErrno(false, errno, linuxPath);
    }
    entry.m_Exists = true;
    return true;
}

// Under the sharing table's lock: whether every open handle of the entry shares deleting.
bool AllowsDelete(const s_Entry& entry) {
    return n_Platform::c_SharingTable::Get().Permits(entry.GetKey(), n_Platform::SHARED_ACCESS_DELETE, SHARE_ALL);
}

// Checks that a file may be replaced (or deleted) in the Windows way.
bool MayReplace(const s_Entry& entry) {
    if (entry.IsDirectory() || entry.IsReadOnlyFile()) {
        return n_Platform::FailWith(false, ERROR_ACCESS_DENIED);
    }
    if (!AllowsDelete(entry)) {
        return n_Platform::FailWith(false, ERROR_SHARING_VIOLATION);
    }
    return true;
}

class c_Descriptor {
public:
    explicit c_Descriptor(int descriptor) : m_Descriptor(descriptor) {}
    ~c_Descriptor() {
        if (m_Descriptor >= 0) {
            close(m_Descriptor);
        }
    }
    c_Descriptor(const c_Descriptor&) = delete;
    c_Descriptor& operator=(const c_Descriptor&) = delete;

    int Get() const { return m_Descriptor; }
    // Closes now, so that a failing close is seen.
    bool Close() {
        const int descriptor = m_Descriptor;
        m_Descriptor = -1;
        return close(descriptor) == 0;
    }

private:
    int m_Descriptor;
};

bool CopyBytes(int input, int output) {
    for (;;) {
        const ssize_t copied = copy_file_range(input, nullptr, output, nullptr, 1 << 30, 0);
        if (copied == 0) {
            return true;
        }
        if (copied < 0) {
            break;
        }
    }
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return false;
    }
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = read(input, buffer.data(), buffer.size());
        if (got <= 0) {
            return got == 0;
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote = write(output, buffer.data() + put, static_cast<std::size_t>(got - put));
            if (wrote <= 0) {
                errno = wrote == 0 ? ENOSPC : errno;
                return false;
            }
            put += wrote;
        }
    }
}

// Copies the content, the mode and the times of a file into a new or emptied destination; a copy
// that fails leaves no destination behind.
bool CopyContent(const std::string& source, const std::string& destination, bool replace) {
    c_Descriptor input(open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat status;
    if (input.Get() < 0 || fstat(input.Get(), &status) != 0) {
        return n_Platform::FailWithPathErrno(false, errno, source);
    }
    c_Descriptor output(
        open(destination.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (replace ? O_TRUNC : O_EXCL), S_IRUSR | S_IWUSR));
    if (output.Get() < 0) {
        const int error = errno;
        return error == EEXIST ? n_Platform::FailWith(false, ERROR_FILE_EXISTS)
                               : n_Platform::FailWithPathErrno(false, error, destination);
    }
    const timespec times[2] = {status.st_atim, status.st_mtim};
    if (!CopyBytes(input.Get(), output.Get()) || fchmod(output.Get(), status.st_mode & 07777) != 0 ||
        futimens(output.Get(), times) != 0 || !output.Close()) {
        const int error = errno;
        unlink(destination.c_str());
        return n_Platform::FailWithErrno(false, error);
    }
    return true;
}

bool RenameEntry(const std::string& source, const std::string& destination, bool replace) {
    const int result = replace ? rename(source.c_str(), destination.c_str())
                               : renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE);
    return result == 0;
}

// Between file systems a file is copied and its source deleted; when the source cannot be deleted
// the copy goes again, so that the file is not left twice.
bool MoveByCopying(const std::string& source, const std::string& destination, bool replace) {
    if (!CopyContent(source, destination, replace)) {
        return false;
    }
    if (unlink(source.c_str()) != 0) {
        const int error = errno;
        unlink(destination.c_str());
        return n_Platform::FailWithPathErrno(false, error, source);
    }
    return true;
}

// The source, which must exist, and the destination, which may not; false with the error set.
bool ReadBothEntries(const std::string& source, const std::string& destination, s_Entry& from, s_Entry& to) {
    if (!ReadExistingEntry(source, from)) {
        return false;
    }
    if (!ReadEntry(destination, to)) {
        return n_Platform::FailWithPathErrno(false, errno, destination);
    }
    return true;
}

bool MoveEntry(const std::string& source, const std::string& destination, DWORD flags) {
    s_Entry from;
    s_Entry to;
    if (!ReadBothEntries(source, destination, from, to)) {
        return false;
    }
    if (!AllowsDelete(from)) {
        return n_Platform::FailWith(false, ERROR_SHARING_VIOLATION);
    }
    const bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
    if (to.m_Exists && !to.IsSameFile(from)) {
        if (!replace) {
            return n_Platform::FailWith(false, ERROR_ALREADY_EXISTS);
        }
        if (!MayReplace(to)) {
            return false;
        }
    }
    if (RenameEntry(source, destination, replace || to.IsSameFile(from))) {
        return true;
    }
    const int error = errno;
    if (error == EEXIST) {
        return n_Platform::FailWith(false, ERROR_ALREADY_EXISTS);
    }
    if (error != EXDEV) {
        return n_Platform::FailWithPathErrno(false, error, destination);
    }
    if (from.IsDirectory() || (flags & MOVEFILE_COPY_ALLOWED) == 0) {
        return n_Platform::FailWith(false, ERROR_NOT_SAME_DEVICE);
    }
    return MoveByCopying(source, destination, replace);
}

bool CopyEntry(const std::string& source, const std::string& destination, bool failIfExists) {
    s_Entry from;
    s_Entry to;
    if (!ReadBothEntries(source, destination, from, to)) {
        return false;
    }
    if (from.IsDirectory()) {
        return n_Platform::FailWith(false, ERROR_ACCESS_DENIED);
    }
    n_Platform::c_SharingTable& table = n_Platform::c_SharingTable::Get();
    if (!table.Permits(from.GetKey(), n_Platform::SHARED_ACCESS_READ, SHARE_ALL)) {
        return n_Platform::FailWith(false, ERROR_SHARING_VIOLATION);
    }
    if (to.m_Exists) {
        if (failIfExists) {
            return n_Platform::FailWith(false, ERROR_FILE_EXISTS);
        }
        if (to.IsDirectory() || to.IsReadOnlyFile()) {
            return n_Platform::FailWith(false, ERROR_ACCESS_DENIED);
        }
        if (to.IsSameFile(from) || !table.Permits(to.GetKey(), n_Platform::SHARED_ACCESS_WRITE, 0)) {
            return n_Platform::FailWith(false, ERROR_SHARING_VIOLATION);
        }
    }
    return CopyContent(source, destination, !failIfExists);
}

bool TranslatePaths(LPCWSTR source, LPCWSTR destination, std::string& linuxSource, std::string& linuxDestination) {
    return n_Platform::ToLinuxPath(source, linuxSource) && n_Platform::ToLinuxPath(destination, linuxDestination);
}

} // namespace

BOOL WINAPI DeleteFileW(LPCWSTR path) {
    std::string linuxPath;
    if (!n_Platform::ToLinuxPath(path, linuxPath)) {
        return FALSE;
    }
    std::unique_lock<std::mutex> lock = n_Platform::c_SharingTable::Get().Lock();
    s_Entry entry;
    if (!ReadExistingEntry(linuxPath, entry) || !MayReplace(entry)) {
        return FALSE;
    }
    if (unlink(linuxPath.c_str()) != 0) {
        return n_Platform::FailWithPathErrno(FALSE, errno, linuxPath);
    }
    return TRUE;
}

BOOL WINAPI MoveFileExW(LPCWSTR source, LPCWSTR destination, DWORD flags) {
    std::string linuxSource;
    std::string linuxDestination;
    if (!TranslatePaths(source, destination, linuxSource, linuxDestination)) {
        return FALSE;
    }
    std::unique_lock<std::mutex> lock = n_Platform::c_SharingTable::Get().Lock();
    return MoveEntry(linuxSource, linuxDestination, flags) ? TRUE : FALSE;
}

BOOL WINAPI MoveFileW(LPCWSTR source, LPCWSTR destination) {
    return MoveFileExW(source, destination, MOVEFILE_COPY_ALLOWED);
}

BOOL WINAPI CopyFileW(LPCWSTR source, LPCWSTR destination, BOOL failIfExists) {
    std::string linuxSource;
    std::string linuxDestination;
    if (!TranslatePaths(source, destination, linuxSource, linuxDestination)) {
        return FALSE;
    }
    std::unique_lock<std::mutex> lock = n_Platform::c_SharingTable::Get().Lock();
    return CopyEntry(linuxSource, linuxDestination, failIfExists != FALSE) ? TRUE : FALSE;
}
