#pragma once
// The completion port: a queue of packets, taken in arrival order by any number of threads.
//
// A packet posted while a thread waits goes straight to the longest-waiting one, so the queue and
// the waiters are never both non-empty and order is kept. Time-outs follow the layer's clock.
// Closing the port's handle wakes every waiter with ERROR_ABANDONED_WAIT_0; posts to a closed port
// are dropped.

#include "platform/kernel/HandleTable.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace n_Platform {

struct s_CompletionPacket {
    DWORD m_Bytes;
    ULONG_PTR m_Key;
    LPOVERLAPPED m_p_Overlapped;
    // 0, or the Windows error of a failed operation.
    DWORD m_Status;
    // Not a packet but work for the thread that takes it, called with m_Key; the program never sees it.
    void (*m_p_Work)(ULONG_PTR) = nullptr;
};

class c_CompletionPort : public c_KernelObject {
public:
    // False when the port is closed.
    bool Post(const s_CompletionPacket& packet);

    // WAIT_OBJECT_0 with a packet, WAIT_TIMEOUT, or ERROR_ABANDONED_WAIT_0 once the port is closed.
    // Work taken on the way is done by the calling thread.
    DWORD Take(DWORD milliseconds, s_CompletionPacket& packet);

    void OnHandleClosed() override;

private:
    struct s_Waiter {
        std::atomic<std::uint32_t> m_Word{0};
        s_CompletionPacket m_Packet{};
        DWORD m_Result = WAIT_TIMEOUT;
    };

    DWORD TakeOne(std::int64_t deadline, s_CompletionPacket& packet);

    // Under the lock: hands the waiter its result; the waiter may leave as soon as this returns.
    static void Release(s_Waiter& waiter, DWORD result);

    std::mutex m_Lock;
    std::deque<s_CompletionPacket> m_Packets;
    std::deque<s_Waiter*> m_Waiters;
    bool m_Closed = false;
};

} // namespace n_Platform
