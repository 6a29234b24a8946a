// n_OSLayer thread, mutex and wait wrappers.

#include "oslayer/threads/ThreadCalls.h"

#include "oslayer/system/TextConversion.h"

namespace {

constexpr DWORD TERMINATED_EXIT_CODE = 101;
constexpr DWORD FOUR_SECONDS = 4000;

} // namespace

namespace n_OSLayer {

std::uint32_t GetCurrentThreadId() {
    return ::GetCurrentThreadId();
}

bool SetThreadPriority(HANDLE thread, std::int32_t priority) {
    return ::SetThreadPriority(thread, priority) != FALSE;
}

std::int32_t GetThreadPriority(HANDLE thread) {
    return ::GetThreadPriority(thread);
}

std::uint32_t ResumeThread(HANDLE thread) {
    return ::ResumeThread(thread);
}

bool TerminateThread(HANDLE thread) {
    return ::TerminateThread(thread, TERMINATED_EXIT_CODE) != FALSE;
}

HANDLE CreateMutex(const c_StringView& name) {
    return CreateMutexW(nullptr, TRUE, UTF8ToWide(name).begin());
}

std::uint32_t WaitForSingleObject(HANDLE handle, std::uint32_t milliseconds) {
    return ::WaitForSingleObject(handle, milliseconds);
}

std::uint32_t WaitForMultipleObjects(std::uint32_t count, const HANDLE* handles) {
    return WaitForMultipleObjectsEx(count, handles, FALSE, INFINITE, FALSE);
}

void SleepFourSeconds() {
    Sleep(FOUR_SECONDS);
}

} // namespace n_OSLayer
