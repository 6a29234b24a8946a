// c_ThreadWrapper: starting and stopping, the thread's entry, the default wait loop and priorities.

#include "oslayer/threads/c_ThreadWrapper.h"

#include "oslayer/system/ErrorText.h"
#include "oslayer/system/LogMessage.h"
#include "oslayer/system/c_TextOutput.h"
#include "oslayer/threads/internal/ThreadRegistry.h"

#include <process.h>

std::atomic<void (*)(c_ThreadWrapper*)> ThreadStartHook{nullptr};
std::atomic<void (*)()> ThreadEndHook{nullptr};

namespace {

constexpr DWORD FAILED_WAIT_PAUSE_MS = 100;
constexpr DWORD TERMINATED_EXIT_CODE = 101;

} // namespace

c_ThreadWrapper::c_ThreadWrapper(const c_StringView& name) : m_Name(name) {
    n_ThreadRegistry::Add(this);
}

c_ThreadWrapper::~c_ThreadWrapper() {
    WaitForThreadToFinish();
    n_ThreadRegistry::Remove(this);
}

bool c_ThreadWrapper::StartThread(c_String* error) {
    if (m_Thread.IsValid()) {
        return false;
    }
    if (!m_EndEvent.IsValid() && !m_EndEvent.Create(true, c_StringView())) {
        if (error != nullptr) {
            *error = "Error creating thread wrapper end event object.";
        }
        return false;
    }
    m_EndEvent.Reset();
    unsigned threadId = 0;
    m_Thread = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, &c_ThreadWrapper::ThreadWrapperEntry, this, CREATE_SUSPENDED, &threadId));
    if (!m_Thread.IsValid()) {
        if (error != nullptr) {
            *error = "Error creating thread.";
        }
        return false;
    }
    m_ThreadId.store(threadId, std::memory_order_relaxed);
    ::ResumeThread(m_Thread.Get());
    return true;
}

void c_ThreadWrapper::RequestThreadStop() {
    if (m_Thread.IsValid()) {
        SignalStop();
    }
}

void c_ThreadWrapper::WaitForThreadToFinish() {
    if (!m_Thread.IsValid()) {
        return;
    }
    SignalStop();
    if (!WaitForThreadEnd()) {
        ::TerminateThread(m_Thread.Get(), TERMINATED_EXIT_CODE);
    }
    m_Thread.Close();
    m_ThreadId.store(0, std::memory_order_relaxed);
    m_EndEvent.Reset();
}

bool c_ThreadWrapper::IsThreadFinished() const {
    return !m_Thread.IsValid() || WaitForSingleObject(m_Thread.Get(), 0) == WAIT_OBJECT_0;
}

bool c_ThreadWrapper::IsStopRequested() const {
    if (!m_Thread.IsValid()) {
        return true;
    }
    return m_EndEvent.IsSet();
}

bool c_ThreadWrapper::WaitForEndEvent(std::uint32_t milliseconds) const {
    if (!m_Thread.IsValid()) {
        return true;
    }
    return m_EndEvent.Wait(milliseconds);
}

bool c_ThreadWrapper::WaitForThreadEnd() const {
    return WaitForSingleObject(m_Thread.Get(), INFINITE) == WAIT_OBJECT_0;
}

bool c_ThreadWrapper::PostQuitToThread() const {
    return PostThreadMessageW(GetThreadId(), WM_QUIT, 0, 0) != FALSE;
}

std::uint32_t c_ThreadWrapper::ResumeThread() const {
    return m_Thread.IsValid() ? ::ResumeThread(m_Thread.Get()) : static_cast<std::uint32_t>(-1);
}

void c_ThreadWrapper::SetName(c_String name) {
    n_ThreadRegistry::ReplaceName(m_Name, name);
}

bool c_ThreadWrapper::SetThreadPriority(std::int32_t priority, c_String* error) const {
    if (!m_Thread.IsValid()) {
        return false;
    }
    if (::SetThreadPriority(m_Thread.Get(), priority)) {
        return true;
    }
    if (error != nullptr) {
        *error = Concat({"Error setting thread priority: ", n_OSLayer::GetWindowsErrorText(::GetLastError())});
    }
    return false;
}

bool c_ThreadWrapper::SetThreadPriorityBelowNormal(c_String* error) const {
    return SetThreadPriority(THREAD_PRIORITY_BELOW_NORMAL, error);
}

bool c_ThreadWrapper::SetThreadPriorityNormal(c_String* error) const {
    return SetThreadPriority(THREAD_PRIORITY_NORMAL, error);
}

bool c_ThreadWrapper::SetThreadPriorityAboveNormal(c_String* error) const {
    return SetThreadPriority(THREAD_PRIORITY_ABOVE_NORMAL, error);
}

void c_ThreadWrapper::ListThreads(c_TextOutput& output) {
    n_ThreadRegistry::ForEach([&](const c_ThreadWrapper& wrapper) {
        const std::uint32_t threadId = wrapper.GetThreadId();
        if (threadId != 0) {
            output.Output(Concat({c_String::MakeFormatted("Thread ID: %u, name: ", threadId), wrapper.m_Name, "."}),
                          false, 0);
        }
    });
}

void c_ThreadWrapper::ThreadFunction() {
    OnThreadStart();
    WaitLoop();
    OnThreadEnd();
}

bool c_ThreadWrapper::GetWaitHandles(HANDLE*, std::int32_t, std::int32_t&) {
    return false;
}

void c_ThreadWrapper::OnHandleSignaled(std::int32_t) {}

void c_ThreadWrapper::OnThreadStart() {}

void c_ThreadWrapper::OnThreadEnd() {}

void c_ThreadWrapper::OnStopRequested() {}

void c_ThreadWrapper::WaitLoop() {
    constexpr std::int32_t OWN_HANDLES = MAXIMUM_WAIT_OBJECTS - 1;
    bool logged = false;
    for (;;) {
        HANDLE handles[MAXIMUM_WAIT_OBJECTS] = {INVALID_HANDLE_VALUE};
        std::int32_t count = 0;
        if (!GetWaitHandles(handles, OWN_HANDLES, count)) {
            return;
        }
        if (count > 0 && handles[0] == nullptr) {
            return;
        }
        // A count beyond the room given cannot be waited for; it fails like a failed wait.
        if (count < 0 || count > OWN_HANDLES) {
            SetLastError(ERROR_INVALID_PARAMETER);
            if (PauseAfterFailedWait(logged)) {
                return;
            }
            continue;
        }
        handles[count] = m_EndEvent.Get();
        const DWORD result =
            WaitForMultipleObjectsEx(static_cast<DWORD>(count) + 1, handles, FALSE, INFINITE, FALSE) - WAIT_OBJECT_0;
        if (result < static_cast<DWORD>(count)) {
            OnHandleSignaled(static_cast<std::int32_t>(result));
        } else if (result == static_cast<DWORD>(count) || PauseAfterFailedWait(logged)) {
            return;
        }
    }
}

unsigned __stdcall c_ThreadWrapper::ThreadWrapperEntry(void* argument) {
    auto* wrapper = static_cast<c_ThreadWrapper*>(argument);
    if (auto* startHook = ThreadStartHook.load()) {
        startHook(wrapper);
    }
    wrapper->ThreadFunction();
    if (auto* endHook = ThreadEndHook.load()) {
        endHook();
    }
    _endthreadex(0);
}

void c_ThreadWrapper::SignalStop() {
    m_EndEvent.Set();
    OnStopRequested();
    if (GetThreadId() != 0) {
        PostQuitToThread();
    }
}

bool c_ThreadWrapper::PauseAfterFailedWait(bool& logged) {
    if (!logged) {
        LogMessage(Concat({"Warning: The wait loop of thread ", m_Name, " failed to wait.  ",
                           n_OSLayer::GetWindowsErrorText(::GetLastError())}));
        logged = true;
    }
    return m_EndEvent.Wait(FAILED_WAIT_PAUSE_MS);
}
