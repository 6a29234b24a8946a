// The completion port and its Windows calls.

#include "platform/net/CompletionPort.h"

#include "platform/kernel/Clock.h"
#include "platform/kernel/Futex.h"
#include "platform/kernel/LastError.h"
#include "platform/net/SocketTable.h"

#include <algorithm>

namespace n_Platform {

namespace {

constexpr std::uint32_t RELEASED = 1;

} // namespace

void c_CompletionPort::Release(s_Waiter& waiter, DWORD result) {
    waiter.m_Result = result;
    waiter.m_Word.store(RELEASED, std::memory_order_release);
}

bool c_CompletionPort::Post(const s_CompletionPacket& packet) {
    std::atomic<std::uint32_t>* word = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        if (m_Closed) {
            return false;
        }
        if (m_Waiters.empty()) {
            m_Packets.push_back(packet);
            return true;
        }
        s_Waiter* waiter = m_Waiters.front();
        m_Waiters.pop_front();
        waiter->m_Packet = packet;
        word = &waiter->m_Word;
        Release(*waiter, WAIT_OBJECT_0);
    }
    // Woken outside the lock, so the waiter does not run into it; by now it may have left, and waking
    // the address it left is harmless.
    FutexWakeOne(word);
    return true;
}

DWORD c_CompletionPort::Take(DWORD milliseconds, s_CompletionPacket& packet) {
    const std::int64_t deadline = milliseconds == 0 ? 0 : DeadlineAfterMilliseconds(milliseconds);
    for (;;) {
        const DWORD result = TakeOne(deadline, packet);
        if (result != WAIT_OBJECT_0 || packet.m_p_Work == nullptr) {
            return result;
        }
        packet.m_p_Work(packet.m_Key);
    }
}

DWORD c_CompletionPort::TakeOne(std::int64_t deadline, s_CompletionPacket& packet) {
    std::unique_lock<std::mutex> lock(m_Lock);
    if (!m_Packets.empty()) {
        packet = m_Packets.front();
        m_Packets.pop_front();
        return WAIT_OBJECT_0;
    }
    if (m_Closed) {
        return ERROR_ABANDONED_WAIT_0;
    }
    if (deadline != NO_DEADLINE && deadline <= ReadClockNanoseconds()) {
        return WAIT_TIMEOUT;
    }
    s_Waiter waiter;
    m_Waiters.push_back(&waiter);
    lock.unlock();
    SleepOnWord(waiter.m_Word, deadline);
    // A released waiter owns its packet and is off the list: it needs the lock no more.
    if (waiter.m_Word.load(std::memory_order_acquire) != RELEASED) {
        lock.lock();
        // A post or close that came between the time-out and the lock has already released the waiter.
        if (waiter.m_Word.load(std::memory_order_acquire) != RELEASED) {
            m_Waiters.erase(std::find(m_Waiters.begin(), m_Waiters.end(), &waiter));
            return WAIT_TIMEOUT;
        }
    }
    packet = waiter.m_Packet;
    return waiter.m_Result;
}

void c_CompletionPort::OnHandleClosed() {
    std::lock_guard<std::mutex> lock(m_Lock);
    m_Closed = true;
    m_Packets.clear();
    for (s_Waiter* waiter : m_Waiters) {
        std::atomic<std::uint32_t>* word = &waiter->m_Word;
        Release(*waiter, ERROR_ABANDONED_WAIT_0);
        FutexWakeOne(word);
    }
    m_Waiters.clear();
}

} // namespace n_Platform

namespace {

HANDLE AssociateSocket(HANDLE file, HANDLE existingPort, ULONG_PTR key) {
    std::shared_ptr<n_Platform::c_CompletionPort> port =
        n_Platform::LookupHandleAs<n_Platform::c_CompletionPort>(existingPort);
    std::shared_ptr<n_Platform::c_Socket> socket = n_Platform::LookupSocket(reinterpret_cast<SOCKET>(file));
    if (port == nullptr || socket == nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_HANDLE);
    }
    std::lock_guard<std::mutex> lock(socket->m_Lock);
    if (socket->m_p_Port != nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_PARAMETER);
    }
    socket->m_p_Port = std::move(port);
    socket->m_Key = key;
    return existingPort;
}

} // namespace

HANDLE WINAPI CreateIoCompletionPort(HANDLE file, HANDLE existingPort, ULONG_PTR key, DWORD) {
    if (file != INVALID_HANDLE_VALUE) {
        return AssociateSocket(file, existingPort, key);
    }
    if (existingPort != nullptr) {
        return n_Platform::FailWith<HANDLE>(nullptr, ERROR_INVALID_PARAMETER);
    }
    return n_Platform::InsertHandle(std::make_shared<n_Platform::c_CompletionPort>());
}

BOOL WINAPI PostQueuedCompletionStatus(HANDLE port, DWORD bytes, ULONG_PTR key, LPOVERLAPPED overlapped) {
    std::shared_ptr<n_Platform::c_CompletionPort> object =
        n_Platform::LookupHandleAs<n_Platform::c_CompletionPort>(port);
    if (object == nullptr) {
        return FALSE;
    }
    if (!object->Post({bytes, key, overlapped, ERROR_SUCCESS})) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_HANDLE);
    }
    return TRUE;
}

BOOL WINAPI GetQueuedCompletionStatus(HANDLE port, LPDWORD bytes, ULONG_PTR* key, LPOVERLAPPED* overlapped,
                                      DWORD milliseconds) {
    if (overlapped == nullptr) {
        return n_Platform::FailWith(FALSE, ERROR_INVALID_PARAMETER);
    }
    *overlapped = nullptr;
    std::shared_ptr<n_Platform::c_CompletionPort> object =
        n_Platform::LookupHandleAs<n_Platform::c_CompletionPort>(port);
    if (object == nullptr) {
        return FALSE;
    }
    n_Platform::s_CompletionPacket packet{};
    const DWORD result = object->Take(milliseconds, packet);
    if (result != WAIT_OBJECT_0) {
        return n_Platform::FailWith(FALSE, result);
    }
    *bytes = packet.m_Bytes;
    *key = packet.m_Key;
    *overlapped = packet.m_p_Overlapped;
    if (packet.m_Status != ERROR_SUCCESS) {
        return n_Platform::FailWith(FALSE, packet.m_Status);
    }
    return TRUE;
}
