#pragma once
// Opening files and web addresses with the desktop's default program, through xdg-open.
//
// Every verb opens: the file (a path in Windows or POSIX form) or the address is handed to the
// xdg-open found in PATH at the call. Without one the call fails with ERROR_NO_ASSOCIATION and
// SE_ERR_NOASSOC. Parameters and the folder are not passed on; nothing waits for the program.

#include "win32/processes.h"

struct HWND__;
typedef HWND__* HWND;
struct HKEY__;
typedef HKEY__* HKEY;
typedef std::uint32_t ULONG;

#define SE_ERR_NOASSOC 31
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400
#define SEE_MASK_NO_CONSOLE 0x00008000

struct SHELLEXECUTEINFOW {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void* lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    union {
        HANDLE hIcon;
        HANDLE hMonitor;
    };
    HANDLE hProcess;
};
typedef SHELLEXECUTEINFOW* LPSHELLEXECUTEINFOW;

static_assert(sizeof(SHELLEXECUTEINFOW) == 112, "SHELLEXECUTEINFOW is 112 bytes");

// hInstApp is above 32 on success. With SEE_MASK_NOCLOSEPROCESS, hProcess is the opener's handle.
BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* information);
// The result is above 32 on success, SE_ERR_NOASSOC otherwise.
HINSTANCE WINAPI ShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder,
                               int showCommand);
