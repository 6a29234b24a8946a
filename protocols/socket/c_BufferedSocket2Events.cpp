// c_BufferedSocket2: the socket events, the received-data path, the guarded owner calls and the
// receive-thread mode.

#include "protocols/socket/c_BufferedSocket2.h"

#include "network/CompressedBlocks.h"
#include "network/c_NetworkSocketCore.h"
#include "textutil/NumberFormatting.h"

#include <windows.h>

// ---- socket events ----

void c_BufferedSocket2::OnNameResolutionFailed(c_CriticalSectionLock& lock) {
    CloseSocket(true, lock);
}

void c_BufferedSocket2::OnReceivedDataFromCore(c_CriticalSectionLock& lock) {
    // Dropped before the connected event; Connect clears the flag for the next connection.
    if (!TakeLock(lock) || m_State != STATE_CONNECTED) {
        return;
    }
    m_DataReceivedEventPending = false;
    if (m_ReceiveThreadMode) {
        m_DataEvent.Set();
        return;
    }
    NotifySocketReceivedData(lock, "c_BufferedSocket2::OnReceivedDataFromCore");
}

void c_BufferedSocket2::OnConnectFailed(c_CriticalSectionLock& lock) {
    CloseSocket(true, lock);
}

void c_BufferedSocket2::OnSocketConnected(c_CriticalSectionLock& lock) {
    if (!TakeLock(lock)) {
        return;
    }
    m_State = STATE_CONNECTED;
    NotifyOwnerConnected(lock, "c_BufferedSocket2::OnSocketConnected");
}

void c_BufferedSocket2::OnSocketClosedByRemote(c_CriticalSectionLock& lock) {
    CloseSocket(true, lock);
}

void c_BufferedSocket2::OnSocketError(c_CriticalSectionLock& lock) {
    CloseSocket(true, lock);
}

void c_BufferedSocket2::OnSendDataComplete(c_CriticalSectionLock& lock) {
    if (!TakeLock(lock)) {
        return;
    }
    m_SendCompleteEventPending = false;
    NotifyOwnerSendDataComplete(lock, "c_BufferedSocket2::OnSendDataComplete");
}

void c_BufferedSocket2::OnOutOfMemory(c_CriticalSectionLock& lock) {
    Log("Out of memory error. Closing socket.", true);
    CloseSocket(true, lock);
}

void c_BufferedSocket2::OnBufferLimitReached(c_CriticalSectionLock& lock) {
    TakeLock(lock);
    Log(Concat({"Buffer limit of ", ::ToString(m_SendBufferLimit), " bytes reached. Closing socket."}), true);
    CloseSocket(true, lock);
}

// ---- owner calls ----

void c_BufferedSocket2::LogOwnerException(const c_StringView& slot, const c_StringView& context,
                                          const c_StringView& tail) {
    Log(Concat({"Caught an unhandled exception from the owner ", slot, " in ", context, tail}), true);
}

bool c_BufferedSocket2::NotifyOwnerConnected(c_CriticalSectionLock& lock, const c_StringView& context) {
    if (m_p_Owner == nullptr) {
        return true;
    }
    bool result = true;
    lock.Unlock();
    try {
        m_p_Owner->OnBufferedSocket2Connected(this);
    } catch (...) {
        LogOwnerException("OnBufferedSocket2Connected", context, c_StringView());
        result = false;
    }
    lock.Relock();
    return result;
}

// Inside the received-data slot only marked: the notice follows once that slot has returned.
bool c_BufferedSocket2::NotifyOwnerClosed(c_CriticalSectionLock& lock, const c_StringView& context) {
    if (m_p_Owner == nullptr) {
        return true;
    }
    if (m_InsideReceivedDataCallback) {
        m_CloseNotificationDeferred = true;
        return true;
    }
    bool result = true;
    lock.Unlock();
    try {
        m_p_Owner->OnBufferedSocketClosed(this);
    } catch (...) {
        LogOwnerException("OnBufferedSocketClosed", context, c_StringView());
        result = false;
    }
    lock.Relock();
    return result;
}

bool c_BufferedSocket2::NotifyOwnerSendDataComplete(c_CriticalSectionLock& lock, const c_StringView& context) {
    if (m_p_Owner == nullptr) {
        return true;
    }
    bool result = true;
    lock.Unlock();
    try {
        m_p_Owner->OnBufferedSocketSendDataComplete(this);
    } catch (...) {
        LogOwnerException("OnBufferedSocketSendDataComplete", context, c_StringView());
        result = false;
    }
    lock.Relock();
    return result;
}

void c_BufferedSocket2::NotifyOwnerReceiveThreadTimeoutElapsed(c_CriticalSectionLock& lock,
                                                               const c_StringView& context) {
    if (m_p_Owner == nullptr) {
        return;
    }
    lock.Unlock();
    try {
        m_p_Owner->OnBufferedSocketReceiveThreadTimeoutElapsed(this);
    } catch (...) {
        LogOwnerException("OnBufferedSocketReceiveThreadTimeoutElapsed", context, c_StringView());
    }
    lock.Relock();
}

// The one owner call made with the lock held; guarded, so a throwing owner cannot leave it held.
void c_BufferedSocket2::NotifyOwnerReceiveThreadEnded(const c_StringView& context) {
    if (m_p_Owner == nullptr) {
        return;
    }
    try {
        m_p_Owner->OnBufferedSocketReceiveThreadEnded(this);
    } catch (...) {
        LogOwnerException("OnBufferedSocketReceiveThreadEnded", context, c_StringView());
    }
}

// ---- received data ----

// A backlog goes over in portions, so that the receive buffer stays the size of a portion however far
// the owner has fallen behind. Only what was waiting when the event came is handed over here: later
// bytes bring an event of their own, and the owner's thread gets back to its messages in between.
void c_BufferedSocket2::NotifySocketReceivedData(c_CriticalSectionLock& lock, const c_StringView& context) {
    if (m_p_Owner == nullptr || !TakeLock(lock) || m_p_NetworkSocket == nullptr) {
        return;
    }
    std::uint32_t waiting = m_p_NetworkSocket->GetReceivedBytes();
    for (;;) {
        std::uint32_t taken = 0;
        if (!HandOverReceivedPortion(lock, context, taken) || taken == 0 || taken >= waiting ||
            m_p_NetworkSocket == nullptr) {
            return;
        }
        waiting -= taken;
    }
}

// False when the path ended here: no memory, a bad block, or an owner that threw or closed.
bool c_BufferedSocket2::HandOverReceivedPortion(c_CriticalSectionLock& lock, const c_StringView& context,
                                                std::uint32_t& taken) {
    if (!TakeReceivedBytes(taken)) {
        PostNetworkSocketEvent(SOCKET_EVENT_OUT_OF_MEMORY);
        return false;
    }
    if (c_NetworkSocketCore* core = c_NetworkSocketCore::GetCore()) {
        core->RequestReceive(m_p_NetworkSocket);
    }
    if (m_ReceiveDecompression != 0 && !DecodeReceivedBlocks()) {
        return false;
    }
    return OfferReceivedData(lock, context);
}

// Whole receives, at least one, until the portion is reached.
bool c_BufferedSocket2::TakeReceivedBytes(std::uint32_t& taken) {
    c_ByteBuffer& target = m_ReceiveDecompression != 0 ? m_CompressedReceiveBuffer : m_ReceiveBuffer;
    bool failed = false;
    m_p_NetworkSocket->ReadReceivedData([&](s_ByteSpan bytes) {
        if (taken > 0 && target.GetSize() >= RECEIVE_PORTION) {
            return false;
        }
        failed = !target.Append(bytes);
        taken += failed ? 0 : static_cast<std::uint32_t>(bytes.m_Size);
        return !failed;
    });
    return !failed;
}

// A block that breaks the rules ends the connection; one without room stays for a later try while
// the out-of-memory event closes the socket.
bool c_BufferedSocket2::DecodeReceivedBlocks() {
    switch (DecodeCompressedBlocks(m_CompressedReceiveBuffer, m_ReceiveBuffer, m_ReceiveDecompression,
                                   m_p_LZ4Decompressor.get())) {
        case e_CompressedBlocksResult::DECODED:
            return true;
        case e_CompressedBlocksResult::INVALID:
            Log("Invalid compressed block received. Closing socket.", true);
            PostNetworkSocketEvent(SOCKET_EVENT_ERROR);
            return false;
        case e_CompressedBlocksResult::OUT_OF_MEMORY:
            PostNetworkSocketEvent(SOCKET_EVENT_OUT_OF_MEMORY);
            return false;
    }
    return false;
}

bool c_BufferedSocket2::OfferReceivedData(c_CriticalSectionLock& lock, const c_StringView& context) {
    m_InsideReceivedDataCallback = true;
    bool offered = true;
    lock.Unlock();
    try {
        m_p_Owner->OnBufferedSocketReceivedData(this, m_ReceiveBuffer);
        lock.Relock();
    } catch (...) {
        LogOwnerException("OnBufferedSocketReceivedData", context, ". Clearing buffer and closing socket.");
        lock.Relock();
        m_ReceiveBuffer.Consume(m_ReceiveBuffer.GetSize());
        PostNetworkSocketEvent(SOCKET_EVENT_ERROR);
        offered = false;
    }
    m_InsideReceivedDataCallback = false;
    if (m_CloseNotificationDeferred) {
        m_CloseNotificationDeferred = false;
        NotifyOwnerClosed(lock, "c_BufferedSocket2::NotifySocketReceivedData");
        return false;
    }
    return offered && m_State == STATE_CONNECTED;
}

// ---- receive-thread mode ----

bool c_BufferedSocket2::EnableReceiveThread(std::int32_t waitMilliseconds, c_CriticalSectionLock& lock) {
    if (!TakeLock(lock)) {
        return false;
    }
    m_ReceiveThreadMode = true;
    if (!m_EndEvent.IsValid() && !m_EndEvent.Create(true, c_StringView())) {
        m_ReceiveThreadMode = false;
        return false;
    }
    m_EndEvent.Reset();
    m_EndRequested = false;
    m_ReceiveWaitMilliseconds = waitMilliseconds == 0 ? -1 : waitMilliseconds;
    return true;
}

void c_BufferedSocket2::SignalReceiveThreadEnd() {
    m_EndEvent.Set();
}

void c_BufferedSocket2::WaitForAndProcessReceivedData(c_ThreadWrapper* thread) {
    if (thread == nullptr) {
        return;
    }
    constexpr const char* CONTEXT = "c_BufferedSocket2::WaitForAndProcessReceivedData";
    c_CriticalSectionLock lock;
    // Without the end event there is nothing to wait on.
    if (!TakeLock(lock) || !m_EndEvent.IsValid()) {
        return;
    }
    m_p_ReceiveThread = thread;
    const HANDLE handles[] = {m_DataEvent.Get(), m_EndEvent.Get()};
    for (;;) {
        const auto wait = static_cast<DWORD>(m_ReceiveWaitMilliseconds);
        lock.Unlock();
        const DWORD result = WaitForMultipleObjects(2, handles, FALSE, wait);
        lock.Relock();
        const auto ending = [&] { return m_EndEvent.IsSet() || m_State == STATE_CLOSED; };
        if (result == WAIT_FAILED || ending()) {
            break;
        }
        if (result == WAIT_OBJECT_0) {
            NotifySocketReceivedData(lock, CONTEXT);
        } else if (result == WAIT_TIMEOUT) {
            if (m_p_NetworkSocket != nullptr && m_p_NetworkSocket->GetReceivedBytes() != 0) {
                NotifySocketReceivedData(lock, CONTEXT);
            }
            // A data callback that closed the socket ends the loop without a time-out call.
            if (ending()) {
                break;
            }
            NotifyOwnerReceiveThreadTimeoutElapsed(lock, CONTEXT);
        }
    }
    if (m_EndRequested && m_p_NetworkSocket != nullptr && m_p_NetworkSocket->GetReceivedBytes() != 0) {
        NotifySocketReceivedData(lock, CONTEXT);
    }
    NotifyOwnerReceiveThreadEnded(CONTEXT);
}
