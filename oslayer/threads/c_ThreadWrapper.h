#pragma once
// c_ThreadWrapper: the base of every worker thread of the system.
//
// A wrapper owns a named thread, a manual-reset end event that asks the thread to stop, and a
// default wait loop over up to 63 handles of the subclass plus the end event. A subclass either
// overrides ThreadFunction with its own loop, or GetWaitHandles and OnHandleSignaled to use the
// default one; either way it asks IsStopRequested or WaitForEndEvent whenever it may run for long.
//
// The owner starts and stops the wrapper on its own thread. The thread starts suspended and is
// resumed only once its handle and id are stored, so that it never sees "no thread" at its start.
// A subclass with members of its own stops its thread in its own destructor (WaitForThreadToFinish),
// before those members go. A process-wide registry lists every live wrapper.

#include "oslayer/threads/c_Event.h"
#include "strings/c_String.h"

#include <atomic>
#include <cstdint>

class c_TextOutput;

class c_ThreadWrapper;

// Run at the start of every wrapper thread, with the wrapper; nothing in the system sets it.
extern std::atomic<void (*)(c_ThreadWrapper*)> ThreadStartHook;
// Run at the end of every wrapper thread; the application sets it at start-up with an exchange.
extern std::atomic<void (*)()> ThreadEndHook;

class c_ThreadWrapper {
public:
    explicit c_ThreadWrapper(const c_StringView& name);
    virtual ~c_ThreadWrapper();
    c_ThreadWrapper(const c_ThreadWrapper&) = delete;
    c_ThreadWrapper& operator=(const c_ThreadWrapper&) = delete;

    // False at once, with no error text, when a thread is running. The text is assigned, not appended.
    bool StartThread(c_String* error = nullptr);
    // Signals the end event, calls OnStopRequested and posts WM_QUIT; does not wait.
    void RequestThreadStop();
    // The same, then waits until the thread has ended and closes it; the wrapper can start again.
    void WaitForThreadToFinish();

    bool IsThreadRunning() const { return m_Thread.IsValid(); }
    bool IsThreadFinished() const;
    // True when there is no thread.
    bool IsStopRequested() const;
    // True at once when there is no thread; else whether a stop is requested within the time.
    bool WaitForEndEvent(std::uint32_t milliseconds) const;
    bool WaitForThreadEnd() const;
    std::uint32_t GetThreadId() const { return m_ThreadId.load(std::memory_order_relaxed); }
    bool PostQuitToThread() const;
    // The previous suspend count, or 0xFFFFFFFF without a thread.
    std::uint32_t ResumeThread() const;
    void SetName(c_String name);

    bool SetThreadPriority(std::int32_t priority, c_String* error = nullptr) const;
    bool SetThreadPriorityBelowNormal(c_String* error = nullptr) const;
    bool SetThreadPriorityNormal(c_String* error = nullptr) const;
    bool SetThreadPriorityAboveNormal(c_String* error = nullptr) const;

    // Writes "Thread ID: <id>, name: <name>." for every registered wrapper that has a thread.
    static void ListThreads(c_TextOutput& output);

protected:
    // The virtual operations, in slot order. ThreadFunction runs OnThreadStart, WaitLoop and
    // OnThreadEnd. GetWaitHandles fills at most maximum handles and returns false to end the loop.
    virtual void ThreadFunction();
    virtual bool GetWaitHandles(HANDLE* handles, std::int32_t maximum, std::int32_t& count);
    virtual void OnHandleSignaled(std::int32_t index);
    virtual void OnThreadStart();
    virtual void OnThreadEnd();
    // Runs on the thread that asks for the stop, before WM_QUIT is posted and before any wait.
    virtual void OnStopRequested();
    virtual void WaitLoop();

private:
    static unsigned __stdcall ThreadWrapperEntry(void* wrapper);
    void SignalStop();
    // Pauses after a failed wait (logged once per loop), so that the loop neither spins nor keeps a
    // stop waiting; true when a stop was requested meanwhile.
    bool PauseAfterFailedWait(bool& logged);

    c_Event m_EndEvent;
    c_Handle m_Thread;
    // Read by ListThreads on other threads.
    std::atomic<std::uint32_t> m_ThreadId{0};
    c_String m_Name;
};
