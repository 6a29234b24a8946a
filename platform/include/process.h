#pragma once
// The C run-time's thread start and end: _beginthreadex and _endthreadex.

#include "win32/types.h"

// Returns the thread handle, or 0 with errno and the last error set. With CREATE_SUSPENDED the
// thread waits for ResumeThread before it calls start. The id is stored before the call returns.
std::uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned(__stdcall* start)(void*), void* argument,
                              unsigned flags, unsigned* threadId);
// Ends the calling thread with the exit code; the stack unwinds, so destructors on it run.
[[noreturn]] void _endthreadex(unsigned exitCode);
