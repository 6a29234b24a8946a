#pragma once
// n_OSLayer files and folders: thin wrappers of the Windows file calls, taking UTF-8 paths.
//
// They neither log nor throw. Unless a function hands out the reason itself, a caller reads
// GetLastError right after a failure.

#include "strings/c_String.h"
#include "strings/c_StringView.h"
#include "textutil/c_DateTime.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

// The outcome of ClearReadOnlyAttribute, and the Windows error of the step that failed (or 0).
struct s_ClearReadOnlyResult {
    enum : std::int32_t {
        NOT_FOUND = 0,
        NOT_READ_ONLY = 1,
        READ_ONLY_CLEARED = 2,
        ATTRIBUTES_UNREADABLE = 3,
        STILL_READ_ONLY = 4,
    };
    std::int32_t m_Result;
    std::uint32_t m_Error;
};

// True when the folder was made, or when a folder (not a file) of that name exists already. The
// error receives the last error of CreateDirectoryW in every case.
bool CreateDirectory(const c_StringView& path, std::int32_t* error);
bool RemoveDirectory(const c_StringView& path);
// False for an empty path; folders exist too.
bool FileExists(const c_StringView& path);
// INVALID_HANDLE_VALUE on failure.
HANDLE CreateFile(const c_StringView& path, std::uint32_t access, std::uint32_t shareMode,
                  SECURITY_ATTRIBUTES* security, std::uint32_t disposition, std::uint32_t flagsAndAttributes);
bool DeleteFile(const c_StringView& path);
// MoveFileW, which refuses an existing destination. On failure a given error string becomes
// "MoveFile error: " and the Windows error text.
bool MoveFile(const c_StringView& source, const c_StringView& destination, c_String* error);
bool GetFileAttributesEx(const c_StringView& path, WIN32_FILE_ATTRIBUTE_DATA* data);
// -1 on failure.
std::int64_t GetFileSize(const c_StringView& path);
// The last-write time in UTC; 0 on failure.
c_DateTime GetFileModifiedTime(const c_StringView& path);
// Clears the read-only attribute of a file or folder when it is set.
s_ClearReadOnlyResult ClearReadOnlyAttribute(const c_StringView& path);
bool GetDiskFreeSpace(const c_StringView& folder, std::uint64_t* freeForCaller, std::uint64_t* total);
// 0 on failure.
std::uint32_t GetVolumeSerialNumber(const c_StringView& root);

bool ReadFile(HANDLE file, void* buffer, std::uint32_t count, std::uint32_t* read, OVERLAPPED* overlapped);
bool WriteFile(HANDLE file, const void* data, std::uint32_t count, std::uint32_t* written);
bool FlushFileBuffers(HANDLE file);
bool SetEndOfFile(HANDLE file);
bool CloseHandle(HANDLE handle);
// -1, 0 or 1.
std::int32_t CompareFileTime(const FILETIME* first, const FILETIME* second);

} // namespace n_OSLayer
