// n_OSLayer file and folder wrappers over the Windows calls.

#include "oslayer/files/FileCalls.h"

#include "oslayer/system/ErrorText.h"
#include "oslayer/system/TextConversion.h"
#include "oslayer/system/TimeCalls.h"

namespace {

std::uint64_t JoinHalves(DWORD high, DWORD low) {
    return (std::uint64_t(high) << 32) | low;
}

} // namespace

namespace n_OSLayer {

bool CreateDirectory(const c_StringView& path, std::int32_t* error) {
    const c_WString widePath = UTF8ToWide(path);
    const bool created = CreateDirectoryW(widePath.begin(), nullptr) != FALSE;
    const DWORD lastError = ::GetLastError();
    if (error != nullptr) {
        *error = static_cast<std::int32_t>(lastError);
    }
    if (created) {
        return true;
    }
    // A file of that name is no folder, whatever the error says.
    const DWORD attributes =
        lastError == ERROR_ALREADY_EXISTS ? GetFileAttributesW(widePath.begin()) : INVALID_FILE_ATTRIBUTES;
    ::SetLastError(lastError);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveDirectory(const c_StringView& path) {
    return RemoveDirectoryW(UTF8ToWide(path).begin()) != FALSE;
}

bool FileExists(const c_StringView& path) {
    return !path.IsEmpty() && GetFileAttributesW(UTF8ToWide(path).begin()) != INVALID_FILE_ATTRIBUTES;
}

HANDLE CreateFile(const c_StringView& path, std::uint32_t access, std::uint32_t shareMode,
                  SECURITY_ATTRIBUTES* security, std::uint32_t disposition, std::uint32_t flagsAndAttributes) {
    return CreateFileW(UTF8ToWide(path).begin(), access, shareMode, security, disposition, flagsAndAttributes, nullptr);
}

bool DeleteFile(const c_StringView& path) {
    return DeleteFileW(UTF8ToWide(path).begin()) != FALSE;
}

bool MoveFile(const c_StringView& source, const c_StringView& destination, c_String* error) {
    if (MoveFileW(UTF8ToWide(source).begin(), UTF8ToWide(destination).begin())) {
        return true;
    }
    if (error != nullptr) {
        *error = Concat({"MoveFile error: ", GetWindowsErrorText(::GetLastError())});
    }
    return false;
}

bool GetFileAttributesEx(const c_StringView& path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return GetFileAttributesExW(UTF8ToWide(path).begin(), GetFileExInfoStandard, data) != FALSE;
}

std::int64_t GetFileSize(const c_StringView& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesEx(path, &data)) {
        return -1;
    }
    return static_cast<std::int64_t>(JoinHalves(data.nFileSizeHigh, data.nFileSizeLow));
}

c_DateTime GetFileModifiedTime(const c_StringView& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesEx(path, &data)) {
        return c_DateTime();
    }
    return FileTimeToDateTime(JoinHalves(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime));
}

s_ClearReadOnlyResult ClearReadOnlyAttribute(const c_StringView& path) {
    const c_WString widePath = UTF8ToWide(path);
    const DWORD attributes = GetFileAttributesW(widePath.begin());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return {IsNotFoundError(error) ? s_ClearReadOnlyResult::NOT_FOUND
                                       : s_ClearReadOnlyResult::ATTRIBUTES_UNREADABLE,
                error};
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return {s_ClearReadOnlyResult::NOT_READ_ONLY, 0};
    }
    if (!SetFileAttributesW(widePath.begin(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY))) {
        return {s_ClearReadOnlyResult::STILL_READ_ONLY, ::GetLastError()};
    }
    return {s_ClearReadOnlyResult::READ_ONLY_CLEARED, 0};
}

bool GetDiskFreeSpace(const c_StringView& folder, std::uint64_t* freeForCaller, std::uint64_t* total) {
    ULARGE_INTEGER available;
    ULARGE_INTEGER size;
    if (!GetDiskFreeSpaceExW(UTF8ToWide(folder).begin(), &available, &size, nullptr)) {
        return false;
    }
    if (freeForCaller != nullptr) {
        *freeForCaller = available.QuadPart;
    }
    if (total != nullptr) {
        *total = size.QuadPart;
    }
    return true;
}

std::uint32_t GetVolumeSerialNumber(const c_StringView& root) {
    DWORD serial = 0;
    if (!GetVolumeInformationW(UTF8ToWide(root).begin(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        return 0;
    }
    return serial;
}

bool ReadFile(HANDLE file, void* buffer, std::uint32_t count, std::uint32_t* read, OVERLAPPED* overlapped) {
    DWORD done = 0;
    const bool succeeded = ::ReadFile(file, buffer, count, &done, overlapped) != FALSE;
    if (read != nullptr) {
        *read = done;
    }
    return succeeded;
}

bool WriteFile(HANDLE file, const void* data, std::uint32_t count, std::uint32_t* written) {
    DWORD done = 0;
    const bool succeeded = ::WriteFile(file, data, count, &done, nullptr) != FALSE;
    if (written != nullptr) {
        *written = done;
    }
    return succeeded;
}

bool FlushFileBuffers(HANDLE file) {
    return ::FlushFileBuffers(file) != FALSE;
}

bool SetEndOfFile(HANDLE file) {
    return ::SetEndOfFile(file) != FALSE;
}

bool CloseHandle(HANDLE handle) {
    return ::CloseHandle(handle) != FALSE;
}

std::int32_t CompareFileTime(const FILETIME* first, const FILETIME* second) {
    return ::CompareFileTime(first, second);
}

} // namespace n_OSLayer
