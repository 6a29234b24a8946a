#pragma once
// Files and folders: CreateFileW and the transfers on its handles, folder searches, attributes,
// moves, copies, deletes, full paths, disk space and file times.
//
// Paths are Windows paths: a drive letter and "\" (or "/"), as the drive map of the layer gives
// them folders; a POSIX path ("/...") is taken as it is. A drive that the map does not hold gives
// ERROR_PATH_NOT_FOUND, a UNC path ERROR_BAD_NETPATH. Names keep their case, as Linux has them.
//
// The Windows rules that the program depends on hold even where Linux would not: a read-only file
// (one without write bits) refuses writing and deleting, root included; a name starting with '.' is
// hidden; sharing modes are honoured between the handles of the process; a move without
// MOVEFILE_REPLACE_EXISTING fails on an existing target. A new file whose name ends in ".exe" gets
// the execute bits.

#include "win32/time.h"
#include "win32/types.h"

typedef unsigned char BYTE;

#define MAX_PATH 260

#define GENERIC_READ 0x80000000
#define GENERIC_WRITE 0x40000000
#define GENERIC_EXECUTE 0x20000000
#define GENERIC_ALL 0x10000000
#define FILE_READ_DATA 0x00000001
#define FILE_WRITE_DATA 0x00000002
#define FILE_APPEND_DATA 0x00000004
#define FILE_READ_ATTRIBUTES 0x00000080
#define FILE_WRITE_ATTRIBUTES 0x00000100
#define DELETE 0x00010000

#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_COMPRESSED 0x00000800
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFF

#define FILE_FLAG_WRITE_THROUGH 0x80000000
#define FILE_FLAG_OVERLAPPED 0x40000000
#define FILE_FLAG_NO_BUFFERING 0x20000000
#define FILE_FLAG_RANDOM_ACCESS 0x10000000
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_WRITE_THROUGH 0x00000008

#define FILE_CASE_SENSITIVE_SEARCH 0x00000001
#define FILE_CASE_PRESERVED_NAMES 0x00000002

union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    ULONGLONG QuadPart;
};
typedef ULARGE_INTEGER* PULARGE_INTEGER;
typedef LARGE_INTEGER* PLARGE_INTEGER;

struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    union {
        struct {
            DWORD Offset;
            DWORD OffsetHigh;
        };
        PVOID Pointer;
    };
    HANDLE hEvent;
};
typedef OVERLAPPED* LPOVERLAPPED;

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;

struct WIN32_FILE_ATTRIBUTE_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
};

struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;
    DWORD nFileIndexLow;
};
typedef BY_HANDLE_FILE_INFORMATION* LPBY_HANDLE_FILE_INFORMATION;

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard = 0, GetFileExMaxInfoLevel };

static_assert(sizeof(OVERLAPPED) == 32, "OVERLAPPED is 32 bytes");
static_assert(sizeof(WIN32_FIND_DATAW) == 592, "WIN32_FIND_DATAW is 592 bytes");
static_assert(sizeof(WIN32_FILE_ATTRIBUTE_DATA) == 36, "WIN32_FILE_ATTRIBUTE_DATA is 36 bytes");
static_assert(sizeof(BY_HANDLE_FILE_INFORMATION) == 52, "BY_HANDLE_FILE_INFORMATION is 52 bytes");

// Security attributes and the template are not used. FILE_FLAG_OVERLAPPED is accepted: transfers
// with an OVERLAPPED then take their offset from it and complete before the call returns. A folder
// opens only with FILE_FLAG_BACKUP_SEMANTICS, as on Windows.
HANDLE WINAPI CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                          DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped);
// A write that cannot be completed fails with the reason; the count says what was written.
BOOL WINAPI WriteFile(HANDLE file, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED overlapped);
BOOL WINAPI SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method);
// Ends a regular file at the position; other files have no end to move and succeed.
BOOL WINAPI SetEndOfFile(HANDLE file);
BOOL WINAPI FlushFileBuffers(HANDLE file);
BOOL WINAPI GetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
BOOL WINAPI GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite);
// Linux keeps no settable creation time: that argument is ignored.
BOOL WINAPI SetFileTime(HANDLE file, const FILETIME* creation, const FILETIME* lastAccess, const FILETIME* lastWrite);
BOOL WINAPI GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);
// Linux has no NTFS compression: every control code fails with ERROR_NOT_SUPPORTED.
BOOL WINAPI DeviceIoControl(HANDLE device, DWORD code, LPVOID input, DWORD inputSize, LPVOID output, DWORD outputSize,
                            LPDWORD returned, LPOVERLAPPED overlapped);

// The pattern's last part may hold '*' (any run) and '?' (one character), matched without ASCII
// case; a part without them names one entry exactly. Entries come sorted by name. No match gives
// ERROR_FILE_NOT_FOUND, a missing folder ERROR_PATH_NOT_FOUND.
HANDLE WINAPI FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
BOOL WINAPI FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW data);
BOOL WINAPI FindClose(HANDLE search);

// Folders are FILE_ATTRIBUTE_DIRECTORY, regular files FILE_ATTRIBUTE_ARCHIVE, anything else
// FILE_ATTRIBUTE_SYSTEM; without write bits an entry is READONLY, with a name starting with '.'
// HIDDEN. Setting acts on FILE_ATTRIBUTE_READONLY only: it removes every write bit, clearing it
// gives the owner write access back.
DWORD WINAPI GetFileAttributesW(LPCWSTR path);
BOOL WINAPI GetFileAttributesExW(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID information);
BOOL WINAPI SetFileAttributesW(LPCWSTR path, DWORD attributes);

BOOL WINAPI CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES attributes);
BOOL WINAPI RemoveDirectoryW(LPCWSTR path);
BOOL WINAPI DeleteFileW(LPCWSTR path);
// MoveFileW is MoveFileExW with MOVEFILE_COPY_ALLOWED. Between file systems a file is copied and
// its source deleted; a folder cannot move there (ERROR_NOT_SAME_DEVICE).
BOOL WINAPI MoveFileW(LPCWSTR source, LPCWSTR destination);
BOOL WINAPI MoveFileExW(LPCWSTR source, LPCWSTR destination, DWORD flags);
// Copies the content, the read-only state and the last-write time.
BOOL WINAPI CopyFileW(LPCWSTR source, LPCWSTR destination, BOOL failIfExists);

// Full paths are in drive form; a POSIX path that no drive holds stays a POSIX path.
DWORD WINAPI GetFullPathNameW(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* filePart);
DWORD WINAPI GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
BOOL WINAPI SetCurrentDirectoryW(LPCWSTR path);

BOOL WINAPI GetDiskFreeSpaceExW(LPCWSTR folder, PULARGE_INTEGER freeForCaller, PULARGE_INTEGER total,
                                PULARGE_INTEGER totalFree);
// The serial number and the longest name come from the file system; the volume and file-system
// names are empty.
BOOL WINAPI GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                                  LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                                  DWORD fileSystemNameSize);

LONG WINAPI CompareFileTime(const FILETIME* first, const FILETIME* second);
