#pragma once
// The back end: what shows the layer's windows, and how a thread sleeps on its queue.
//
// Window state lives in the layer; a back end is told when a window's shown state changes (text,
// styles, position, show state) and when it goes. Threads sleep on their queues through it, so a
// display back end can run its main loop on the thread that owns its windows and be woken by posts.
// The headless back end, the default, shows nothing and sleeps on the queue's condition.

#include <windows.h>

#include <mutex>

namespace n_Platform {

class c_MessageQueue;

class c_UserBackend {
public:
    virtual ~c_UserBackend() = default;

    virtual void OnWindowChanged(HWND window) = 0;
    virtual void OnWindowDestroyed(HWND window) = 0;
    // The owning thread sleeps until woken (or spuriously); lock holds the queue's lock on entry and
    // on return.
    virtual void WaitForInput(c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) = 0;
    // Any thread, with or without the queue's lock: new input for a sleeping owner.
    virtual void WakeQueue(c_MessageQueue& queue) = 0;
};

c_UserBackend& GetUserBackend();
// Installs a back end (null: the headless one) before any window exists; returns the previous one.
c_UserBackend* SetUserBackend(c_UserBackend* backend);

} // namespace n_Platform
