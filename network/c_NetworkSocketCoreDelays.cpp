// c_NetworkSocketCore: delayed sends, the delayed deletion, the network-event pass, the
// memory-reserve thread and the hand-over to the compression thread.

#include "network/c_NetworkSocketCore.h"

#include <new>

void c_NetworkSocketCore::ScheduleDelayedSend(c_NetworkSocket* socket) {
    if (socket->m_DelayedSendPending) {
        return;
    }
    socket->m_DelayedSendPending = true;
    const std::uint64_t due = GetTickCount64() + static_cast<std::uint64_t>(socket->GetDelayedSendMilliseconds());
    c_CriticalSectionLock table(GetSocketTableLock());
    m_DelayedSends.push_back({socket, due});
}

void c_NetworkSocketCore::SendDueDelayedSends() {
    const std::uint64_t now = GetTickCount64();
    if (now - m_LastDelayedSendTick < DELAYED_SEND_INTERVAL_MS) {
        return;
    }
    m_LastDelayedSendTick = now;
    {
        c_CriticalSectionLock table(GetSocketTableLock());
        m_DelayedSendsNotDue.clear();
        m_DelayedSendsInProgress.clear();
        m_DelayedSends.swap(m_DelayedSendsInProgress);
    }
    for (const s_DelayedSend& entry : m_DelayedSendsInProgress) {
        if (entry.m_p_Socket == nullptr) {
            continue;
        }
        if (now < entry.m_DueTick) {
            m_DelayedSendsNotDue.push_back(entry);
            continue;
        }
        c_CriticalSectionLock lock(entry.m_p_Socket->m_p_SharedSocketLock->m_Section);
        entry.m_p_Socket->m_DelayedSendPending = false;
        if (m_Stopping.load()) {
            break;
        }
        if (!entry.m_p_Socket->SendData(true, lock)) {
            entry.m_p_Socket->FailWithSocketError();
        }
    }
    c_CriticalSectionLock table(GetSocketTableLock());
    m_DelayedSendsInProgress.clear();
    m_DelayedSends.insert(m_DelayedSends.end(), m_DelayedSendsNotDue.begin(), m_DelayedSendsNotDue.end());
    m_DelayedSendsNotDue.clear();
}

void c_NetworkSocketCore::ProcessDelayedDeletions() {
    const std::int32_t size = GetSocketTableSize();
    std::vector<std::int32_t> removals;
    for (std::int32_t index = 1; index <= size; ++index) {
        c_CriticalSectionLock lock;
        c_NetworkSocket* socket = FindAndLock(index, nullptr, false, lock);
        if (socket != nullptr && TestDeletionTimeouts(socket, lock)) {
            removals.push_back(index);
        }
    }
    for (std::int32_t index : removals) {
        RemoveNetworkSocket(index);
    }
}

// True when the socket is due for deletion.
bool c_NetworkSocketCore::TestDeletionTimeouts(c_NetworkSocket* socket, c_CriticalSectionLock& lock) {
    if (socket->FinalSendTimeoutElapsed()) {
        socket->Log("Timed out waiting for final send.  Canceling I/O.", true);
        socket->m_Error = true;
        socket->m_FinalSendTimedOut = true;
        socket->CancelPendingIO();
    }
    if (socket->CancelTimeoutElapsed()) {
        socket->Log("Timed out waiting for I/O cancellation. Starting shutdown.", true);
        socket->StartGracefulShutdown(lock);
        return false;
    }
    if (socket->ShutdownTimeoutElapsed()) {
        socket->Log("Timed out waiting for shutdown. Performing an immediate socket close.", true);
        socket->CloseImmediately();
    }
    if (socket->CloseDelayElapsed()) {
        socket->Log("Deleting network socket now after delay.", false);
        return true;
    }
    return false;
}

void c_NetworkSocketCore::OnNetworkEvents() {
    for (std::int32_t index = 1; index <= GetSocketTableSize(); ++index) {
        c_NetworkSocket* socket = nullptr;
        {
            c_CriticalSectionLock table(GetSocketTableLock());
            socket = MatchSlot(index, nullptr, false);
        }
        // Only this thread deletes sockets, so the pointer stays good through the call.
        if (socket != nullptr) {
            socket->ProcessNetworkEvents();
        }
    }
}

bool c_NetworkSocketCore::RequestSendBufferReserve(c_NetworkSocket* socket) {
    return m_MemoryReserveThread.QueueSocket(socket);
}

bool c_NetworkSocketCore::QueueCompression(c_NetworkSocket* socket, std::int32_t bufferIndex) {
    return m_DataCompressionThread.QueueSendBuffer(socket, bufferIndex);
}

c_NetworkSocketCore::c_MemoryReserveThread::c_MemoryReserveThread(c_NetworkSocketCore* core)
    : c_SignalledThread("c_NetworkSocketCore::c_MemoryReserveThread", core) {
    m_Event.Create(false, c_StringView());
}

bool c_NetworkSocketCore::c_MemoryReserveThread::QueueSocket(c_NetworkSocket* socket) {
    {
        c_CriticalSectionLock lock(m_Lock);
        try {
            m_Queue.push_back({socket->m_Index, socket->m_ID});
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    m_Event.Set();
    return true;
}

void c_NetworkSocketCore::c_MemoryReserveThread::OnHandleSignaled(std::int32_t) {
    std::deque<s_SocketReference> work;
    {
        c_CriticalSectionLock lock(m_Lock);
        work.swap(m_Queue);
    }
    for (const s_SocketReference& reference : work) {
        c_CriticalSectionLock lock;
        if (c_NetworkSocket* socket = m_p_Core->GetNetworkSocket(reference.m_Index, reference.m_ID, false, lock)) {
            socket->AllocateSendBuffers();
        }
    }
}
