#pragma once
// Snapshots of the running processes and of a process's modules, from /proc.
//
// A process entry names the file of the process's executable. A module snapshot holds one module,
// the executable, with its path in drive form; a process whose executable cannot be read (another
// user's) gives ERROR_ACCESS_DENIED.

#include "win32/files.h"

#define TH32CS_SNAPPROCESS 0x00000002
#define TH32CS_SNAPMODULE 0x00000008
#define TH32CS_SNAPMODULE32 0x00000010
#define MAX_MODULE_NAME32 255

struct PROCESSENTRY32W {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    WCHAR szExeFile[MAX_PATH];
};
typedef PROCESSENTRY32W* LPPROCESSENTRY32W;

struct MODULEENTRY32W {
    DWORD dwSize;
    DWORD th32ModuleID;
    DWORD th32ProcessID;
    DWORD GlblcntUsage;
    DWORD ProccntUsage;
    BYTE* modBaseAddr;
    DWORD modBaseSize;
    HMODULE hModule;
    WCHAR szModule[MAX_MODULE_NAME32 + 1];
    WCHAR szExePath[MAX_PATH];
};
typedef MODULEENTRY32W* LPMODULEENTRY32W;

static_assert(sizeof(PROCESSENTRY32W) == 568, "PROCESSENTRY32W is 568 bytes");
static_assert(sizeof(MODULEENTRY32W) == 1080, "MODULEENTRY32W is 1080 bytes");

// Process id 0 is the calling process. Close the snapshot with CloseHandle.
HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// dwSize must be set; the walk ends with ERROR_NO_MORE_FILES.
BOOL WINAPI Process32FirstW(HANDLE snapshot, LPPROCESSENTRY32W entry);
BOOL WINAPI Process32NextW(HANDLE snapshot, LPPROCESSENTRY32W entry);
BOOL WINAPI Module32FirstW(HANDLE snapshot, LPMODULEENTRY32W entry);
BOOL WINAPI Module32NextW(HANDLE snapshot, LPMODULEENTRY32W entry);
