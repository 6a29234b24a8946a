// The threads' queues: made by a thread's first window call, closed when the thread ends.
//
// When a thread ends, its windows go without their procedures being called (the thread's other
// thread-local objects may already be gone), its queue refuses further posts and the messages sent
// to it are answered with 0.

#include "platform/user/MessageQueue.h"

#include "platform/kernel/LastError.h"
#include "platform/user/WindowLifetime.h"

#include <new>
#include <unordered_map>

namespace {

class c_QueueMap {
public:
    static c_QueueMap& Get() {
        static c_QueueMap* map = new c_QueueMap;
        return *map;
    }

    void Insert(const std::shared_ptr<n_Platform::c_MessageQueue>& queue) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Queues.emplace(queue->GetThreadId(), queue);
    }

    void Erase(DWORD threadId) {
        std::lock_guard<std::mutex> lock(m_Lock);
        m_Queues.erase(threadId);
    }

    std::shared_ptr<n_Platform::c_MessageQueue> Find(DWORD threadId) {
        std::lock_guard<std::mutex> lock(m_Lock);
        const auto found = m_Queues.find(threadId);
        return found == m_Queues.end() ? nullptr : found->second;
    }

private:
    std::mutex m_Lock;
    std::unordered_map<DWORD, std::shared_ptr<n_Platform::c_MessageQueue>> m_Queues;
};

class c_ThreadQueue {
public:
    ~c_ThreadQueue() {
        if (m_p_Queue == nullptr) {
            return;
        }
        c_QueueMap::Get().Erase(m_p_Queue->GetThreadId());
        const std::vector<std::shared_ptr<n_Platform::c_WindowObject>> windows = m_p_Queue->GetWindows();
        for (const std::shared_ptr<n_Platform::c_WindowObject>& window : windows) {
            n_Platform::ForgetWindow(window);
        }
        m_p_Queue->Close();
    }

    const std::shared_ptr<n_Platform::c_MessageQueue>& GetOrMake() {
        if (m_p_Queue != nullptr) {
            return m_p_Queue;
        }
        try {
            auto queue = std::make_shared<n_Platform::c_MessageQueue>(GetCurrentThreadId());
            c_QueueMap::Get().Insert(queue);
            m_p_Queue = std::move(queue);
        } catch (const std::bad_alloc&) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        }
        return m_p_Queue;
    }

private:
    std::shared_ptr<n_Platform::c_MessageQueue> m_p_Queue;
};

thread_local c_ThreadQueue t_Queue;

} // namespace

namespace n_Platform {

c_MessageQueue* GetCurrentQueue() {
    return t_Queue.GetOrMake().get();
}

std::shared_ptr<c_MessageQueue> ShareCurrentQueue() {
    return t_Queue.GetOrMake();
}

std::shared_ptr<c_MessageQueue> LookupThreadQueue(DWORD threadId) {
    std::shared_ptr<c_MessageQueue> queue = c_QueueMap::Get().Find(threadId);
    if (queue == nullptr) {
        SetLastError(ERROR_INVALID_THREAD_ID);
    }
    return queue;
}

} // namespace n_Platform
