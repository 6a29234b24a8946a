#pragma once
// Kernel objects and waits: handles, events, mutexes, critical sections and the wait functions.
//
// Handles are checked entries of one table: a closed or made-up handle fails with
// ERROR_INVALID_HANDLE. A named mutex is known across processes of the same user, so a second
// process sees ERROR_ALREADY_EXISTS; the names of events are known within the process only.

#include "win32/types.h"

#define INFINITE 0xFFFFFFFF
#define MAXIMUM_WAIT_OBJECTS 64
#define WAIT_OBJECT_0 0x00000000
#define WAIT_TIMEOUT 0x00000102
#define WAIT_FAILED 0xFFFFFFFF

BOOL WINAPI CloseHandle(HANDLE handle);

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL WINAPI SetEvent(HANDLE event);
BOOL WINAPI ResetEvent(HANDLE event);

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
BOOL WINAPI ReleaseMutex(HANDLE mutex);

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
// No asynchronous procedure calls exist here, so an alertable wait is an ordinary one.
DWORD WINAPI WaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                      BOOL alertable);

// A recursive lock within the process. LockCount is the lock word (0 free, 1 held, 2 held with
// sleepers); OwningThread holds the owner's thread id and RecursionCount its entries. The owner
// fields are written atomically, so any thread may compare OwningThread with its own id.
struct CRITICAL_SECTION {
    PVOID DebugInfo;
    LONG LockCount;
    LONG RecursionCount;
    HANDLE OwningThread;
    HANDLE LockSemaphore;
    ULONG_PTR SpinCount;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

static_assert(sizeof(CRITICAL_SECTION) == 40, "CRITICAL_SECTION is 40 bytes");

// A waiter watches the lock up to the spin count of times before it sleeps.
BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION section, DWORD spinCount);
VOID WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section);
VOID WINAPI EnterCriticalSection(LPCRITICAL_SECTION section);
// A leave by a thread that does not own the section is ignored.
VOID WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section);
