#pragma once
// The peer of the queue benchmarks: a deque under a mutex, and a condition variable for the sleeping
// consumer.

#include <condition_variable>
#include <deque>
#include <mutex>

namespace n_Bench {

template <typename Item> class c_PlainQueue {
public:
    void Post(Item item) {
        {
            std::lock_guard<std::mutex> lock(m_Lock);
            m_Items.push_back(item);
        }
        m_Posted.notify_one();
    }
    Item Take() {
        std::unique_lock<std::mutex> lock(m_Lock);
        m_Posted.wait(lock, [this] { return !m_Items.empty(); });
        const Item item = m_Items.front();
        m_Items.pop_front();
        return item;
    }

private:
    std::mutex m_Lock;
    std::condition_variable m_Posted;
    std::deque<Item> m_Items;
};

} // namespace n_Bench
