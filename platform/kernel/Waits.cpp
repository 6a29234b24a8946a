// The wait functions: WaitForSingleObject and WaitForMultipleObjects(Ex), any or all, with time-outs.

#include "platform/kernel/WaitableObject.h"

#include "platform/kernel/Clock.h"
#include "platform/kernel/Futex.h"
#include "platform/kernel/LastError.h"

#include <atomic>

namespace n_Platform {

// One wait in progress. It lives on the waiting thread's stack; the thread that satisfies it sets
// the result under the kernel lock, unlinks all its blocks and then publishes DONE in the word m_Done,
// on which the waiter sleeps outside the kernel lock: a woken waiter needs no lock to return.
class c_Waiter {
public:
    static constexpr std::uint32_t DONE = 1;

    c_Waiter(std::shared_ptr<c_WaitableObject>* objects, DWORD count, bool waitAll)
        : m_p_Objects(objects), m_Count(count), m_WaitAll(waitAll), m_ThreadId(GetCurrentThreadId()) {
        for (DWORD i = 0; i < count; ++i) {
            m_Blocks[i].m_p_Waiter = this;
        }
    }

    // Under the kernel lock: takes what the wait asks for, when it is all there.
    bool TrySatisfy() {
        if (m_WaitAll) {
            for (DWORD i = 0; i < m_Count; ++i) {
                if (!m_p_Objects[i]->IsSignaledFor(m_ThreadId)) {
                    return false;
                }
            }
            for (DWORD i = 0; i < m_Count; ++i) {
                m_p_Objects[i]->Acquire(m_ThreadId);
            }
            return Complete(WAIT_OBJECT_0);
        }
        for (DWORD i = 0; i < m_Count; ++i) {
            if (m_p_Objects[i]->IsSignaledFor(m_ThreadId)) {
                m_p_Objects[i]->Acquire(m_ThreadId);
                return Complete(WAIT_OBJECT_0 + i);
            }
        }
        return false;
    }

    DWORD Wait(DWORD milliseconds) {
        std::unique_lock<std::mutex> lock(GetKernelLock());
        if (TrySatisfy()) {
            return m_Result;
        }
        if (milliseconds == 0) {
            return WAIT_TIMEOUT;
        }
        const std::int64_t deadline = DeadlineAfterMilliseconds(milliseconds);
        Link();
        lock.unlock();
        if (SleepOnWord(m_Done, deadline) && m_Done.load(std::memory_order_acquire) == DONE) {
            return m_Result;
        }
        lock.lock();
        if (m_Done.load(std::memory_order_acquire) == DONE) {
            return m_Result;
        }
        Unlink();
        return WAIT_TIMEOUT;
    }

private:
    bool Complete(DWORD result) {
        const bool sleeping = m_Linked;
        Unlink();
        m_Result = result;
        m_Done.store(DONE, std::memory_order_release);
        if (sleeping) {
            FutexWakeOne(&m_Done);
        }
        return true;
    }

    void Link() {
        for (DWORD i = 0; i < m_Count; ++i) {
            m_p_Objects[i]->LinkBlock(m_Blocks[i]);
        }
        m_Linked = true;
    }

    void Unlink() {
        if (!m_Linked) {
            return;
        }
        for (DWORD i = 0; i < m_Count; ++i) {
            m_p_Objects[i]->UnlinkBlock(m_Blocks[i]);
        }
        m_Linked = false;
    }

    std::shared_ptr<c_WaitableObject>* m_p_Objects;
    DWORD m_Count;
    bool m_WaitAll;
    DWORD m_ThreadId;
    bool m_Linked = false;
    DWORD m_Result = WAIT_FAILED;
    std::atomic<std::uint32_t> m_Done{0};
    s_WaitBlock m_Blocks[MAXIMUM_WAIT_OBJECTS];
};

std::mutex& GetKernelLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}

void c_WaitableObject::SatisfyWaiters() {
    // A satisfied waiter leaves every queue it was in, which may include blocks after it in this
    // one, and may return at once, taking its blocks with its stack: so the scan never touches its
    // block again and starts over from the front.
    s_WaitBlock* block = m_p_FirstBlock;
    while (block != nullptr) {
        block = block->m_p_Waiter->TrySatisfy() ? m_p_FirstBlock : block->m_p_Next;
    }
}

void c_WaitableObject::LinkBlock(s_WaitBlock& block) {
    block.m_p_Previous = m_p_LastBlock;
    block.m_p_Next = nullptr;
    (m_p_LastBlock != nullptr ? m_p_LastBlock->m_p_Next : m_p_FirstBlock) = &block;
    m_p_LastBlock = &block;
}

void c_WaitableObject::UnlinkBlock(s_WaitBlock& block) {
    (block.m_p_Previous != nullptr ? block.m_p_Previous->m_p_Next : m_p_FirstBlock) = block.m_p_Next;
    (block.m_p_Next != nullptr ? block.m_p_Next->m_p_Previous : m_p_LastBlock) = block.m_p_Previous;
    block.m_p_Previous = nullptr;
    block.m_p_Next = nullptr;
}

} // namespace n_Platform

namespace {

// Looks every handle up; a wait for all may not name one object twice.
bool CollectObjects(DWORD count, const HANDLE* handles, bool waitAll,
                    std::shared_ptr<n_Platform::c_WaitableObject>* objects) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
        return n_Platform::FailWith(false, ERROR_INVALID_PARAMETER);
    }
    for (DWORD i = 0; i < count; ++i) {
        objects[i] = n_Platform::LookupHandleAs<n_Platform::c_WaitableObject>(handles[i]);
        if (objects[i] == nullptr) {
            return false;
        }
        for (DWORD j = 0; waitAll && j < i; ++j) {
            if (objects[j] == objects[i]) {
                return n_Platform::FailWith(false, ERROR_INVALID_PARAMETER);
            }
        }
    }
    return true;
}

} // namespace

DWORD WINAPI WaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, BOOL) {
    std::shared_ptr<n_Platform::c_WaitableObject> objects[MAXIMUM_WAIT_OBJECTS];
    if (!CollectObjects(count, handles, waitAll != FALSE, objects)) {
        return WAIT_FAILED;
    }
    n_Platform::c_Waiter waiter(objects, count, waitAll != FALSE);
    return waiter.Wait(milliseconds);
}

DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    return WaitForMultipleObjectsEx(count, handles, waitAll, milliseconds, FALSE);
}

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return WaitForMultipleObjectsEx(1, &handle, FALSE, milliseconds, FALSE);
}
