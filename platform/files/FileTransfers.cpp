// Reading, writing and positioning on file handles, their size, flushing and the device controls.

#include "platform/files/FileObjects.h"
#include "platform/files/FileStatus.h"
#include "platform/kernel/LastError.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace {

// Linux moves at most this much in one call.
constexpr std::size_t LARGEST_TRANSFER = 0x7FFFF000;

std::int64_t OverlappedOffset(const OVERLAPPED* overlapped) {
    if (overlapped == nullptr) {
        return -1;
    }
    return static_cast<std::int64_t>((std::uint64_t(overlapped->OffsetHigh) << 32) | overlapped->Offset);
}

// Moves count bytes at the offset, or at the position when the offset is negative, going on until
// the count or an end; with untilDone clear it stops after one call. done counts the bytes moved, also
// when the transfer fails.
template <typename Buffer, typename Transfer>
bool TransferBytes(int descriptor, Buffer buffer, DWORD count, std::int64_t offset, bool untilDone, DWORD& done,
                   const Transfer& transfer) {
    done = 0;
    while (done < count) {
        const std::size_t piece = count - done < LARGEST_TRANSFER ? count - done : LARGEST_TRANSFER;
        const ssize_t moved = transfer(descriptor, buffer + done, piece, offset < 0 ? -1 : offset + done);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved < 0) {
            return n_Platform::FailWithErrno(false, errno);
        }
        done += static_cast<DWORD>(moved);
        if (moved == 0 || !untilDone) {
            break;
        }
    }
    return true;
}

ssize_t ReadPiece(int descriptor, char* buffer, std::size_t count, std::int64_t offset) {
    return offset < 0 ? read(descriptor, buffer, count) : pread(descriptor, buffer, count, offset);
}

ssize_t WritePiece(int descriptor, const char* data, std::size_t count, std::int64_t offset) {
    return offset < 0 ? write(descriptor, data, count) : pwrite(descriptor, data, count, offset);
}

// An overlapped transfer completes at once: the block gets the status and the count, and its event
// is set.
void CompleteOverlapped(LPOVERLAPPED overlapped, DWORD done) {
    if (overlapped == nullptr) {
        return;
    }
    overlapped->Internal = 0;
    overlapped->InternalHigh = done;
    if (overlapped->hEvent != nullptr) {
        SetEvent(overlapped->hEvent);
    }
}

std::shared_ptr<n_Platform::c_FileObject> LookupWritableFile(HANDLE handle) {
    std::shared_ptr<n_Platform::c_FileObject> file = n_Platform::LookupFile(handle);
    if (file != nullptr && !file->CanWrite()) {
        return n_Platform::FailWith<std::shared_ptr<n_Platform::c_FileObject>>(nullptr, ERROR_ACCESS_DENIED);
    }
    return file;
}

} // namespace

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped) {
    if (read != nullptr) {
        *read = 0;
    }
    std::shared_ptr<n_Platform::c_FileObject> file = n_Platform::LookupFile(handle);
    if (file == nullptr) {
        return FALSE;
    }
    if (!file->CanRead()) {
        return n_Platform::FailWith(FALSE, ERROR_ACCESS_DENIED);
    }
    if (buffer == nullptr && count != 0) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    DWORD done = 0;
    // A pipe or a device gives what it has; a regular file is read to the count or its end.
    const bool succeeded = TransferBytes(file->m_Descriptor, static_cast<char*>(buffer), count,
                                         OverlappedOffset(overlapped), file->m_Regular, done, ReadPiece);
    if (read != nullptr) {
        *read = done;
    }
    if (succeeded) {
        CompleteOverlapped(overlapped, done);
    }
    return succeeded ? TRUE : FALSE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
    if (written != nullptr) {
        *written = 0;
    }
    std::shared_ptr<n_Platform::c_FileObject> file = LookupWritableFile(handle);
    if (file == nullptr) {
        return FALSE;
    }
    if (data == nullptr && count != 0) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    DWORD done = 0;
    bool succeeded = TransferBytes(file->m_Descriptor, static_cast<const char*>(data), count,
                                   OverlappedOffset(overlapped), true, done, WritePiece);
    if (succeeded && done < count) {
        // A device that takes nothing more is full.
        succeeded = n_Platform::FailWith(false, ERROR_DISK_FULL);
    }
    if (written != nullptr) {
        *written = done;
    }
    if (succeeded) {
        CompleteOverlapped(overlapped, done);
    }
    return succeeded ? TRUE : FALSE;
}

BOOL WINAPI SetFilePointerEx(HANDLE handle, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method) {
    std::shared_ptr<n_Platform::c_FileObject> file = n_Platform::LookupFile(handle);
    if (file == nullptr) {
        return FALSE;
    }
    if (method > FILE_END) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    off_t base = 0;
    if (method == FILE_CURRENT) {
        base = lseek(file->m_Descriptor, 0, SEEK_CUR);
    } else if (method == FILE_END) {
        base = lseek(file->m_Descriptor, 0, SEEK_END);
    }
    if (base < 0) {
        return n_Platform::FailWithErrno(FALSE, errno);
    }
    const std::int64_t target = static_cast<std::int64_t>(base) + distance.QuadPart;
    if (target < 0 || (distance.QuadPart > 0 && target < base)) {
        return n_Platform::FailWith(FALSE, ERROR_NEGATIVE_SEEK);
    }
    const off_t position = lseek(file->m_Descriptor, static_cast<off_t>(target), SEEK_SET);
    if (position < 0) {
        return n_Platform::FailWithErrno(FALSE, errno);
    }
    if (newPosition != nullptr) {
        newPosition->QuadPart = position;
    }
    return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE handle) {
    std::shared_ptr<n_Platform::c_FileObject> file = LookupWritableFile(handle);
    if (file == nullptr) {
        return FALSE;
    }
    if (!file->m_Regular) {
        return TRUE;
    }
    const off_t position = lseek(file->m_Descriptor, 0, SEEK_CUR);
    if (position < 0 || ftruncate(file->m_Descriptor, position) != 0) {
        return n_Platform::FailWithErrno(FALSE, errno);
    }
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE handle) {
    std::shared_ptr<n_Platform::c_FileObject> file = LookupWritableFile(handle);
    if (file == nullptr) {
        return FALSE;
    }
    if (fsync(file->m_Descriptor) != 0) {
        return n_Platform::FailWithErrno(FALSE, errno);
    }
    return TRUE;
}

BOOL WINAPI GetFileSizeEx(HANDLE handle, PLARGE_INTEGER size) {
    std::shared_ptr<n_Platform::c_FileObject> file = n_Platform::LookupFile(handle);
    n_Platform::s_FileStatus status;
    if (file == nullptr || !n_Platform::ReadDescriptorStatus(file->m_Descriptor, "", status)) {
        return FALSE;
    }
    size->QuadPart = static_cast<LONGLONG>(status.m_Size);
    return TRUE;
}

BOOL WINAPI GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
    std::shared_ptr<n_Platform::c_FileObject> file = n_Platform::LookupFile(handle);
    n_Platform::s_FileStatus status;
    if (file == nullptr ||
        !n_Platform::ReadDescriptorStatus(file->m_Descriptor, n_Platform::GetLinuxName(file->m_LinuxPath), status)) {
        return FALSE;
    }
    information->dwFileAttributes = status.m_Attributes;
    information->ftCreationTime = status.m_Creation;
    information->ftLastAccessTime = status.m_LastAccess;
    information->ftLastWriteTime = status.m_LastWrite;
    information->dwVolumeSerialNumber = static_cast<DWORD>(status.m_Device ^ (status.m_Device >> 32));
    information->nFileSizeHigh = static_cast<DWORD>(status.m_Size >> 32);
    information->nFileSizeLow = static_cast<DWORD>(status.m_Size);
    information->nNumberOfLinks = status.m_Links;
    information->nFileIndexHigh = static_cast<DWORD>(status.m_Inode >> 32);
    information->nFileIndexLow = static_cast<DWORD>(status.m_Inode);
    return TRUE;
}

BOOL WINAPI DeviceIoControl(HANDLE device, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD returned, LPOVERLAPPED) {
    if (returned != nullptr) {
        *returned = 0;
    }
    if (n_Platform::LookupFile(device) == nullptr) {
        return FALSE;
    }
    return n_Platform::FailWith(FALSE, ERROR_NOT_SUPPORTED);
}
