// The back-end slot and the headless back end.

#include "platform/user/Backend.h"

#include "platform/user/MessageQueue.h"

#include <atomic>

namespace {

class c_HeadlessBackend : public n_Platform::c_UserBackend {
public:
    void OnWindowChanged(HWND) override {}
    void OnWindowDestroyed(HWND) override {}
    void WaitForInput(n_Platform::c_MessageQueue& queue, std::unique_lock<std::mutex>& lock) override {
        queue.GetWakeCondition().wait(lock);
    }
    void WakeQueue(n_Platform::c_MessageQueue& queue) override { queue.GetWakeCondition().notify_one(); }
};

// Never destroyed: threads may still sleep on their queues while the process exits.
n_Platform::c_UserBackend& GetHeadlessBackend() {
    static c_HeadlessBackend* headless = new c_HeadlessBackend;
    return *headless;
}

// Null: the headless back end.
std::atomic<n_Platform::c_UserBackend*> g_p_Backend{nullptr};

} // namespace

namespace n_Platform {

c_UserBackend& GetUserBackend() {
    c_UserBackend* backend = g_p_Backend.load(std::memory_order_acquire);
    return backend != nullptr ? *backend : GetHeadlessBackend();
}

c_UserBackend* SetUserBackend(c_UserBackend* backend) {
    return g_p_Backend.exchange(backend, std::memory_order_acq_rel);
}

} // namespace n_Platform
