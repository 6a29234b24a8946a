#pragma once
// n_OSLayer threads, mutexes and waits: thin wrappers of the Windows calls.

#include "strings/c_StringView.h"

#include <windows.h>

#include <cstdint>

namespace n_OSLayer {

std::uint32_t GetCurrentThreadId();
bool SetThreadPriority(HANDLE thread, std::int32_t priority);
std::int32_t GetThreadPriority(HANDLE thread);
std::uint32_t ResumeThread(HANDLE thread);
// With exit code 101.
bool TerminateThread(HANDLE thread);
// Initially owned; the caller reads the last error for ERROR_ALREADY_EXISTS.
HANDLE CreateMutex(const c_StringView& name);
std::uint32_t WaitForSingleObject(HANDLE handle, std::uint32_t milliseconds);
// Waits without limit for any of the handles.
std::uint32_t WaitForMultipleObjects(std::uint32_t count, const HANDLE* handles);
void SleepFourSeconds();

} // namespace n_OSLayer
