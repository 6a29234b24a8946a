#pragma once
// Known folders, in the drive map: the Desktop is the user's XDG desktop folder; the others are
// folders under C: named as on Windows. A folder that is missing is made, as Windows has them all.
// Other ids fail with HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND). Flags and token are not looked at.

#include "win32/com.h"

typedef WCHAR* PWSTR;
typedef GUID KNOWNFOLDERID;
typedef const KNOWNFOLDERID& REFKNOWNFOLDERID;

extern const KNOWNFOLDERID FOLDERID_Desktop;
extern const KNOWNFOLDERID FOLDERID_CommonPrograms;
extern const KNOWNFOLDERID FOLDERID_ProgramFiles;
extern const KNOWNFOLDERID FOLDERID_ProgramFilesX86;
extern const KNOWNFOLDERID FOLDERID_System;

// The folder's full path without a trailing "\", in a block for CoTaskMemFree; null on failure.
HRESULT WINAPI SHGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD flags, HANDLE token, PWSTR* path);
