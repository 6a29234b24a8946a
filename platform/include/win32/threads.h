#pragma once
// Threads: ids, suspension, priorities, sleeping, fiber-local slots and the thread message post.
//
// Threads are started by _beginthreadex (process.h). A thread handle is signalled only once the
// thread has wholly ended: its start routine has returned and its thread-local destructors and
// fiber-local callbacks have run.

#include "win32/types.h"

#define CREATE_SUSPENDED 0x00000004

// Windows priorities map to the thread's nice value: -15 to 19, -2 to 10, -1 to 5, 0 to 0, 1 to -5,
// 2 to -10 and 15 to -20. Raising a priority needs CAP_SYS_NICE; without it the call fails with
// ERROR_ACCESS_DENIED.
#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15
#define THREAD_PRIORITY_ERROR_RETURN 0x7FFFFFFF

namespace n_PlatformThreads {
// The calling thread's id, 0 until the thread first asks for it. Read inline: locks ask for it on
// every entry and leave.
extern constinit thread_local DWORD t_CurrentThreadId;
DWORD AssignCurrentThreadId();
// An id that no thread will ever have, for what the system owns (the desktop window).
DWORD ReserveThreadId();
} // namespace n_PlatformThreads

// Ids are never 0 and never reused while the process runs.
inline DWORD WINAPI GetCurrentThreadId() {
    const DWORD id = n_PlatformThreads::t_CurrentThreadId;
    return id != 0 ? id : n_PlatformThreads::AssignCurrentThreadId();
}
DWORD WINAPI ResumeThread(HANDLE thread);
BOOL WINAPI SetThreadPriority(HANDLE thread, int priority);
int WINAPI GetThreadPriority(HANDLE thread);
// A POSIX thread cannot be ended safely from outside: this checks the handle and then fails with
// ERROR_NOT_SUPPORTED.
BOOL WINAPI TerminateThread(HANDLE thread, DWORD exitCode);

VOID WINAPI Sleep(DWORD milliseconds);

// Slots of one pointer per thread; the callback runs at thread end for every non-null value (but not
// at FlsFree).
#define FLS_OUT_OF_INDEXES 0xFFFFFFFF
typedef VOID(WINAPI* PFLS_CALLBACK_FUNCTION)(PVOID data);
DWORD WINAPI FlsAlloc(PFLS_CALLBACK_FUNCTION callback);
BOOL WINAPI FlsFree(DWORD index);
PVOID WINAPI FlsGetValue(DWORD index);
BOOL WINAPI FlsSetValue(DWORD index, PVOID data);

#define WM_QUIT 0x0012

// A thread gets its message queue with its first window call (win32/user.h); a post to a thread
// without one, or one that has ended, fails with ERROR_INVALID_THREAD_ID.
BOOL WINAPI PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
