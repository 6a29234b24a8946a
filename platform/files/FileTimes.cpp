// File times of handles, and their comparison.

#include "platform/files/FileObjects.h"
#include "platform/files/FileStatus.h"
#include "platform/kernel/LastError.h"

#include <cerrno>
#include <fcntl.h>

namespace {

std::uint64_t ReadTicks(const FILETIME& time) {
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// A missing or zero time leaves that time as it is.
timespec ChangeTo(const FILETIME* time) {
    if (time == nullptr || ReadTicks(*time) == 0) {
        timespec unchanged = {};
        unchanged.tv_nsec = UTIME_OMIT;
        return unchanged;
    }
    return n_Platform::ToTimespec(*time);
}

} // namespace

BOOL WINAPI GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
    std::shared_ptr<n_Platform::c_FileObject> file = n_Platform::LookupFile(handle);
    n_Platform::s_FileStatus status;
    if (file == nullptr || !n_Platform::ReadDescriptorStatus(file->m_Descriptor, "", status)) {
        return FALSE;
    }
    if (creation != nullptr) {
        *creation = status.m_Creation;
    }
    if (lastAccess != nullptr) {
        *lastAccess = status.m_LastAccess;
    }
    if (lastWrite != nullptr) {
        *lastWrite = status.m_LastWrite;
    }
    return TRUE;
}

BOOL WINAPI SetFileTime(HANDLE handle, const FILETIME*, const FILETIME* lastAccess, const FILETIME* lastWrite) {
    std::shared_ptr<n_Platform::c_FileObject> file = n_Platform::LookupFile(handle);
    if (file == nullptr) {
        return FALSE;
    }
    const timespec times[2] = {ChangeTo(lastAccess), ChangeTo(lastWrite)};
    if (futimens(file->m_Descriptor, times) != 0) {
        return n_Platform::FailWithErrno(FALSE, errno);
    }
    return TRUE;
}

LONG WINAPI CompareFileTime(const FILETIME* first, const FILETIME* second) {
    const std::uint64_t a = ReadTicks(*first);
    const std::uint64_t b = ReadTicks(*second);
    return a < b ? -1 : a > b ? 1 : 0;
}
