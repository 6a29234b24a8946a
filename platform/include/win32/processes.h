#pragma once
// Processes: CreateProcessW and the handles of processes, and the environment.
//
// The command line is split as the C run-time library of Windows splits it, and the first piece
// (or the application name) is the program: a path in Windows or POSIX form, or a bare name looked
// for in the current folder and then in PATH; a name without an extension is also tried with
// ".exe". A native program or a script runs; a Windows image fails with ERROR_BAD_EXE_FORMAT. The
// child gets no handles of the parent, the default signal actions and the given current folder.

#include "win32/types.h"

typedef unsigned char BYTE;
typedef BYTE* LPBYTE;

#define STILL_ACTIVE 259

#define CREATE_UNICODE_ENVIRONMENT 0x00000400
#define STARTF_USESHOWWINDOW 0x00000001

#define SYNCHRONIZE 0x00100000
#define PROCESS_TERMINATE 0x0001
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000

#ifndef SW_SHOWNORMAL
#define SW_SHOWNORMAL 1
#endif
#ifndef SW_SHOW
#define SW_SHOW 5
#endif

struct STARTUPINFOW {
    DWORD cb;
    LPWSTR lpReserved;
    LPWSTR lpDesktop;
    LPWSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
typedef STARTUPINFOW* LPSTARTUPINFOW;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

static_assert(sizeof(STARTUPINFOW) == 104, "STARTUPINFOW is 104 bytes");
static_assert(sizeof(PROCESS_INFORMATION) == 24, "PROCESS_INFORMATION is 24 bytes");

// The process handle and the thread handle are signalled when the process ends; the thread id is
// the process id. Security attributes, handle inheritance, the show state and the standard handles
// of STARTUPINFOW are not used: the child shares the parent's terminal. An empty current folder is
// the parent's.
BOOL WINAPI CreateProcessW(LPCWSTR applicationName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                           LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                           LPVOID environment, LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo,
                           LPPROCESS_INFORMATION processInformation);
// STILL_ACTIVE while the process runs; its exit status afterwards (128 + the signal when a signal
// ended it). A process that is not a child of this one ends with 0.
BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// A waitable handle to any running process; ERROR_INVALID_PARAMETER when there is none of that id.
HANDLE WINAPI OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId);
DWORD WINAPI GetCurrentProcessId();

// ERROR_ENVVAR_NOT_FOUND when the variable is not set.
DWORD WINAPI GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size);
