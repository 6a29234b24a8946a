// The thread's last error and the errno map.

#include "platform/kernel/LastError.h"

#include <cerrno>

namespace {

thread_local DWORD t_LastError = ERROR_SUCCESS;

struct s_ErrnoMapping {
    int m_Errno;
    DWORD m_Error;
};

constexpr s_ErrnoMapping ERRNO_MAP[] = {
    {0, ERROR_SUCCESS},
    {EPERM, ERROR_ACCESS_DENIED},
    {ENOENT, ERROR_FILE_NOT_FOUND},
    {EIO, ERROR_IO_DEVICE},
    {ENOEXEC, ERROR_BAD_EXE_FORMAT},
    {EBADF, ERROR_INVALID_HANDLE},
    {EAGAIN, ERROR_NO_SYSTEM_RESOURCES},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
    {EACCES, ERROR_ACCESS_DENIED},
    {EBUSY, ERROR_SHARING_VIOLATION},
    {EEXIST, ERROR_FILE_EXISTS},
    {EXDEV, ERROR_NOT_SAME_DEVICE},
    {ENOTDIR, ERROR_PATH_NOT_FOUND},
    {EISDIR, ERROR_ACCESS_DENIED},
    {EINVAL, ERROR_INVALID_PARAMETER},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
    {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ETXTBSY, ERROR_SHARING_VIOLATION},
    {EFBIG, ERROR_FILE_TOO_LARGE},
    {ENOSPC, ERROR_DISK_FULL},
    {EROFS, ERROR_WRITE_PROTECT},
    {EPIPE, ERROR_BROKEN_PIPE},
    {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {ENOSYS, ERROR_CALL_NOT_IMPLEMENTED},
    {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
    {ELOOP, ERROR_CANT_RESOLVE_FILENAME},
    {EOPNOTSUPP, ERROR_NOT_SUPPORTED},
    {ETIMEDOUT, ERROR_TIMEOUT},
    {EDQUOT, ERROR_DISK_FULL},
};

} // namespace

DWORD WINAPI GetLastError() {
    return t_LastError;
}

VOID WINAPI SetLastError(DWORD error) {
    t_LastError = error;
}

namespace n_Platform {

DWORD WindowsErrorFromErrno(int errorNumber) {
    for (const s_ErrnoMapping& mapping : ERRNO_MAP) {
        if (mapping.m_Errno == errorNumber) {
            return mapping.m_Error;
        }
    }
    return ERROR_GEN_FAILURE;
}

} // namespace n_Platform
