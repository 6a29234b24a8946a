#pragma once
// Waitable kernel objects and the one lock that guards their states and every wait in progress.
//
// A wait is satisfied by the thread that changes an object's state, under the kernel lock: it
// hands the object to the first waiter that can take it, so an auto-reset event wakes exactly one
// waiter, waiters are served in arrival order, and a wait for all takes its objects in one step.

#include "platform/kernel/HandleTable.h"

#include <mutex>

namespace n_Platform {

class c_Waiter;

// One object of one wait, linked into that object's queue while the wait sleeps.
struct s_WaitBlock {
    c_Waiter* m_p_Waiter = nullptr;
    s_WaitBlock* m_p_Previous = nullptr;
    s_WaitBlock* m_p_Next = nullptr;
};

std::mutex& GetKernelLock();

class c_WaitableObject : public c_KernelObject {
public:
    ~c_WaitableObject() override = default;

    // Both under the kernel lock. A satisfied wait acquires the object: an auto-reset event resets,
    // a mutex gets its owner.
    virtual bool IsSignaledFor(DWORD threadId) const = 0;
    virtual void Acquire(DWORD) {}

    // Under the kernel lock, after the state changed: satisfies the queued waiters that now can be.
    void SatisfyWaiters();

    void LinkBlock(s_WaitBlock& block);
    void UnlinkBlock(s_WaitBlock& block);

private:
    s_WaitBlock* m_p_FirstBlock = nullptr;
    s_WaitBlock* m_p_LastBlock = nullptr;
};

} // namespace n_Platform
