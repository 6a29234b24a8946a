// Threads: _beginthreadex, _endthreadex, ids, suspension and priorities.
//
// A thread's handle is signalled by a reaper thread that joins it, so waiters wake only once the
// thread has wholly ended, its thread-local destructors and fiber-local callbacks included.

#include "platform/kernel/LastError.h"
#include "platform/kernel/WaitableObject.h"

#include <process.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

typedef unsigned(__stdcall* t_StartRoutine)(void*);

std::atomic<DWORD> g_NextThreadId{1};

class c_ThreadObject : public n_Platform::c_WaitableObject {
public:
    c_ThreadObject(t_StartRoutine start, void* argument, DWORD suspendCount)
        : m_Id(g_NextThreadId.fetch_add(1)), m_p_Start(start), m_p_Argument(argument), m_SuspendCount(suspendCount) {}

    bool IsSignaledFor(DWORD) const override { return m_Ended; }

    const DWORD m_Id;
    const t_StartRoutine m_p_Start;
    void* const m_p_Argument;

    // Under the kernel lock.
    pthread_t m_Thread = {};
    pid_t m_KernelId = 0;
    DWORD m_SuspendCount;
    int m_Priority = THREAD_PRIORITY_NORMAL;
    bool m_Ended = false;
    std::condition_variable m_StateChanged;
};

// Joins ending threads and signals their objects. Never destroyed: it outlives every thread.
class c_ThreadReaper {
public:
    static c_ThreadReaper& Get() {
        static c_ThreadReaper* reaper = new c_ThreadReaper;
        return *reaper;
    }

    // Without the reaper no thread handle would ever be signalled, so no thread may start.
    bool IsRunning() const { return m_Running; }

    void Hand(std::shared_ptr<c_ThreadObject> thread) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Ending.push_back(std::move(thread));
        m_Arrived.notify_one();
    }

private:
    c_ThreadReaper() {
        pthread_t thread;
        m_Running = pthread_create(&thread, nullptr, &c_ThreadReaper::Run, this) == 0;
        if (m_Running) {
            pthread_detach(thread);
        }
    }

    static void* Run(void* self) {
        static_cast<c_ThreadReaper*>(self)->ReapForever();
        return nullptr;
    }

    void ReapForever() {
        for (;;) {
            std::shared_ptr<c_ThreadObject> thread = Take();
            pthread_join(thread->m_Thread, nullptr);
            std::lock_guard<std::mutex> lock(n_Platform::GetKernelLock());
            thread->m_Ended = true;
            thread->SatisfyWaiters();
        }
    }

    std::shared_ptr<c_ThreadObject> Take() {
        std::unique_lock<std::mutex> lock(m_Lock);
        m_Arrived.wait(lock, [this] { return !m_Ending.empty(); });
        std::shared_ptr<c_ThreadObject> thread = std::move(m_Ending.back());
        m_Ending.pop_back();
        return thread;
    }

    bool m_Running = false;
    std::mutex m_Lock;
    std::condition_variable m_Arrived;
    std::vector<std::shared_ptr<c_ThreadObject>> m_Ending;
};

// Hands the thread to the reaper when the start routine returns or _endthreadex unwinds it.
class c_EndReport {
public:
    explicit c_EndReport(std::shared_ptr<c_ThreadObject> thread) : m_p_Thread(std::move(thread)) {}
    ~c_EndReport() { c_ThreadReaper::Get().Hand(std::move(m_p_Thread)); }
    c_EndReport(const c_EndReport&) = delete;
    c_EndReport& operator=(const c_EndReport&) = delete;

private:
    std::shared_ptr<c_ThreadObject> m_p_Thread;
};

void* RunThread(void* box) {
    std::shared_ptr<c_ThreadObject> thread = std::move(*static_cast<std::shared_ptr<c_ThreadObject>*>(box));
    delete static_cast<std::shared_ptr<c_ThreadObject>*>(box);
    n_PlatformThreads::t_CurrentThreadId = thread->m_Id;
    {
        std::unique_lock<std::mutex> lock(n_Platform::GetKernelLock());
        thread->m_Thread = pthread_self();
        thread->m_KernelId = gettid();
        thread->m_StateChanged.notify_all();
        thread->m_StateChanged.wait(lock, [&] { return thread->m_SuspendCount == 0; });
    }
    c_EndReport report(thread);
    thread->m_p_Start(thread->m_p_Argument);
    return nullptr;
}

// Starts the POSIX thread and waits until it has told its kernel id, so that priorities can be set
// at once, even on a suspended thread. Returns an errno value.
int LaunchThread(const std::shared_ptr<c_ThreadObject>& thread, unsigned stackSize) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    if (stackSize != 0) {
        pthread_attr_setstacksize(&attributes, stackSize < PTHREAD_STACK_MIN ? PTHREAD_STACK_MIN : stackSize);
    }
    auto* box = new std::shared_ptr<c_ThreadObject>(thread);
    pthread_t posixThread;
    const int error = pthread_create(&posixThread, &attributes, RunThread, box);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        delete box;
        return error;
    }
    std::unique_lock<std::mutex> lock(n_Platform::GetKernelLock());
    thread->m_StateChanged.wait(lock, [&] { return thread->m_KernelId != 0; });
    return 0;
}

struct s_PriorityMapping {
    int m_Priority;
    int m_NiceOffset;
};

constexpr s_PriorityMapping PRIORITY_MAP[] = {
    {THREAD_PRIORITY_IDLE, 19},           {THREAD_PRIORITY_LOWEST, 10},       {THREAD_PRIORITY_BELOW_NORMAL, 5},
    {THREAD_PRIORITY_NORMAL, 0},          {THREAD_PRIORITY_ABOVE_NORMAL, -5}, {THREAD_PRIORITY_HIGHEST, -10},
    {THREAD_PRIORITY_TIME_CRITICAL, -20},
};

// The nice value for a Windows priority, relative to the process's own; INT_MIN for no priority.
int NiceForPriority(int priority) {
    static const int base = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    for (const s_PriorityMapping& mapping : PRIORITY_MAP) {
        if (mapping.m_Priority == priority) {
            const int nice = base + mapping.m_NiceOffset;
            return nice < -20 ? -20 : (nice > 19 ? 19 : nice);
        }
    }
    return INT_MIN;
}

} // namespace

std::uintptr_t _beginthreadex(void*, unsigned stackSize, t_StartRoutine start, void* argument, unsigned flags,
                              unsigned* threadId) {
    if (start == nullptr) {
        errno = EINVAL;
        return n_Platform::FailWith<std::uintptr_t>(0, ERROR_INVALID_PARAMETER);
    }
    if (!c_ThreadReaper::Get().IsRunning()) {
        errno = EAGAIN;
        return n_Platform::FailWith<std::uintptr_t>(0, ERROR_NO_SYSTEM_RESOURCES);
    }
    auto thread = std::make_shared<c_ThreadObject>(start, argument, (flags & CREATE_SUSPENDED) != 0 ? 1 : 0);
    HANDLE handle = n_Platform::InsertHandle(thread);
    if (handle == nullptr) {
        errno = EAGAIN;
        return 0;
    }
    const int error = LaunchThread(thread, stackSize);
    if (error != 0) {
        CloseHandle(handle);
        errno = error;
        return n_Platform::FailWith<std::uintptr_t>(0, ERROR_NO_SYSTEM_RESOURCES);
    }
    if (threadId != nullptr) {
        *threadId = thread->m_Id;
    }
    return reinterpret_cast<std::uintptr_t>(handle);
}

void _endthreadex(unsigned) {
    pthread_exit(nullptr);
}

namespace n_PlatformThreads {

constinit thread_local DWORD t_CurrentThreadId = 0;

DWORD AssignCurrentThreadId() {
    t_CurrentThreadId = g_NextThreadId.fetch_add(1);
    return t_CurrentThreadId;
}

DWORD ReserveThreadId() {
    return g_NextThreadId.fetch_add(1);
}

} // namespace n_PlatformThreads

DWORD WINAPI ResumeThread(HANDLE handle) {
    std::shared_ptr<c_ThreadObject> thread = n_Platform::LookupHandleAs<c_ThreadObject>(handle);
    if (thread == nullptr) {
        return static_cast<DWORD>(-1);
    }
    std::lock_guard<std::mutex> lock(n_Platform::GetKernelLock());
    const DWORD previous = thread->m_SuspendCount;
    if (previous > 0 && --thread->m_SuspendCount == 0) {
        thread->m_StateChanged.notify_all();
    }
    return previous;
}

BOOL WINAPI SetThreadPriority(HANDLE handle, int priority) {
    std::shared_ptr<c_ThreadObject> thread = n_Platform::LookupHandleAs<c_ThreadObject>(handle);
    if (thread == nullptr) {
        return FALSE;
    }
    const int nice = NiceForPriority(priority);
    if (nice == INT_MIN) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    // Once a thread is reaped its kernel id may name another thread, so it is no longer used.
    std::lock_guard<std::mutex> lock(n_Platform::GetKernelLock());
    if (!thread->m_Ended && setpriority(PRIO_PROCESS, static_cast<id_t>(thread->m_KernelId), nice) != 0) {
        return n_Platform::FailWithErrno(FALSE, errno);
    }
    thread->m_Priority = priority;
    return TRUE;
}

int WINAPI GetThreadPriority(HANDLE handle) {
    std::shared_ptr<c_ThreadObject> thread = n_Platform::LookupHandleAs<c_ThreadObject>(handle);
    if (thread == nullptr) {
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    std::lock_guard<std::mutex> lock(n_Platform::GetKernelLock());
    return thread->m_Priority;
}

BOOL WINAPI TerminateThread(HANDLE handle, DWORD) {
    if (n_Platform::LookupHandleAs<c_ThreadObject>(handle) == nullptr) {
        return FALSE;
    }
    return n_Platform::FailWith(FALSE, ERROR_NOT_SUPPORTED);
}
