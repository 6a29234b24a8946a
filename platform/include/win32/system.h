#pragma once
// System facilities that Linux does not have, declared so that the program's calls fail as on a
// Windows system without them: version resources, sound playback and unhandled-exception filters.

#include "win32/types.h"

// No file carries a version resource: 0 with ERROR_RESOURCE_TYPE_NOT_FOUND for a file that exists,
// else the error of finding the file.
DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR path, LPDWORD handle);
BOOL WINAPI GetFileVersionInfoW(LPCWSTR path, DWORD handle, DWORD bytes, LPVOID data);
// Nothing to query: FALSE.
BOOL WINAPI VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* value, UINT* bytes);

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "VS_FIXEDFILEINFO is 52 bytes");

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_FILENAME 0x00020000

// There is no sound device: FALSE, as Windows gives when a sound cannot be played.
BOOL WINAPI PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);

struct EXCEPTION_POINTERS;
typedef LONG(WINAPI* LPTOP_LEVEL_EXCEPTION_FILTER)(EXCEPTION_POINTERS* exception);

// There are no structured exceptions to filter: the filter is not kept and never called, and the
// previous filter is always none (null).
LPTOP_LEVEL_EXCEPTION_FILTER WINAPI SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter);
