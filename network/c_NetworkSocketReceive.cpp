// c_NetworkSocket: the receive path: buffers kept posted, completions, and the owner's taking of the
// received bytes.

#include "network/c_NetworkSocket.h"

#include "network/c_NetworkSocketCore.h"
#include "network/c_NetworkSocketOwner.h"
#include "oslayer/net/NameLookup.h"

#include <algorithm>
#include <new>

namespace {

// A receive that left less than this share of the offered space counts as nearly full.
constexpr float NEARLY_FULL_SHARE = 0.2F;
constexpr std::int32_t MAX_SOCKET_RECEIVE_BUFFER = 16777216;

} // namespace

void c_NetworkSocket::AddReceiveBuffer() {
    if (m_ReceiveBufferAllocationFailed || m_ReceiveBufferCount >= m_MaxReceiveBuffers) {
        return;
    }
    const std::int32_t index = m_ReceiveBufferCount;
    if (!m_ReceiveBuffers[static_cast<std::size_t>(index)].SetUsedSize(m_ReceiveBufferSize)) {
        Log("Receive buffer allocation error.", true);
        m_ReceiveBufferAllocationFailed = true;
        return;
    }
    ++m_ReceiveBufferCount;
    try {
        m_AvailableReceiveBuffers.push_back(index);
    } catch (const std::bad_alloc&) {
        Log("m_AvailableReceiveBuffers vector error.", true);
        --m_ReceiveBufferCount;
        m_ReceiveBufferAllocationFailed = true;
    }
}

bool c_NetworkSocket::ReceiveData(c_CriticalSectionLock& lock) {
    m_ReceiveStarted = true;
    return RepostConsumedBuffers(lock) && PostAvailableBuffers(lock);
}

// Buffers whose bytes the owner has taken go back to the system, grown when they came back nearly
// full; beyond the receives to keep posted they wait in the available list.
bool c_NetworkSocket::RepostConsumedBuffers(c_CriticalSectionLock& lock) {
    for (std::size_t position = m_ReceivedBuffers.size(); position-- > 0;) {
        if (position >= m_ReceivedBuffers.size() || !m_ReceivedBuffers[position].m_Consumed) {
            continue;
        }
        const s_ReceivedBuffer entry = m_ReceivedBuffers[position];
        c_IOBuffer& buffer = m_ReceiveBuffers[static_cast<std::size_t>(entry.m_BufferIndex)];
        int size = buffer.GetCapacity();
        if (entry.m_NearlyFull && size + RECEIVE_GROWTH <= m_MaxReceiveBufferSize) {
            size += RECEIVE_GROWTH;
        }
        if (!buffer.SetUsedSize(size)) {
            Log("Memory allocation error.  c_NetworkSocket::ReceiveData", true);
            m_ReceiveEnded = true;
            return false;
        }
        m_ReceivedBuffers.erase(m_ReceivedBuffers.begin() + static_cast<std::ptrdiff_t>(position));
        if (m_ReceivesPosted >= m_ReceivesToKeepPosted) {
            try {
                m_AvailableReceiveBuffers.push_back(entry.m_BufferIndex);
            } catch (const std::bad_alloc&) {
                Log("m_AvailableReceiveBuffers vector error.  c_NetworkSocket::ReceiveData", true);
                m_ReceiveEnded = true;
                return false;
            }
        } else if (!PostReceive(&buffer, entry.m_BufferIndex, lock)) {
            return false;
        }
    }
    return true;
}

bool c_NetworkSocket::PostAvailableBuffers(c_CriticalSectionLock& lock) {
    if (m_ResizeIdleReceiveBuffers) {
        ResizeIdleReceiveBuffers();
    }
    std::int32_t need = m_ReceivesToKeepPosted - m_ReceivesPosted;
    for (auto missing = need - static_cast<std::int32_t>(m_AvailableReceiveBuffers.size()); missing > 0; --missing) {
        AddReceiveBuffer();
    }
    while (need > 0 && !m_AvailableReceiveBuffers.empty()) {
        const std::int32_t index = m_AvailableReceiveBuffers.back();
        m_AvailableReceiveBuffers.pop_back();
        if (!PostReceive(&m_ReceiveBuffers[static_cast<std::size_t>(index)], index, lock)) {
            return false;
        }
        --need;
    }
    return true;
}

// Only buffers that are neither posted nor holding bytes: the others are in the system's or the
// owner's hands. One that cannot grow keeps its size and goes on serving.
void c_NetworkSocket::ResizeIdleReceiveBuffers() {
    m_ResizeIdleReceiveBuffers = false;
    for (const std::int32_t index : m_AvailableReceiveBuffers) {
        if (!m_ReceiveBuffers[static_cast<std::size_t>(index)].SetUsedSize(m_ReceiveBufferSize)) {
            Log("Receive buffer allocation error.", true);
        }
    }
}

bool c_NetworkSocket::PostReceive(c_IOBuffer* buffer, std::int32_t index, c_CriticalSectionLock& lock) {
    s_SocketIORecord& record = m_ReceiveIORecords[static_cast<std::size_t>(index)];
    FillIORecord(record, index, false, *buffer, buffer->GetUsedSize() - RECEIVE_SLACK);
    ++m_ReceivesPosted;
    WSABUF copy = record.m_Buffer;
    DWORD flags = 0;
    const SOCKET handle = GetHandle();
    const bool datagram = m_SocketKind == KIND_UDP;
    record.m_FromLength = sizeof record.m_From;
    lock.Unlock();
    // Each datagram receive keeps its sender in its own record, taken over at the completion.
    const int result = datagram
                           ? WSARecvFrom(handle, &copy, 1, nullptr, &flags, reinterpret_cast<sockaddr*>(&record.m_From),
                                         &record.m_FromLength, &record.m_Overlapped, nullptr)
                           : WSARecv(handle, &copy, 1, nullptr, &flags, &record.m_Overlapped, nullptr);
    const int error = result == SOCKET_ERROR ? WSAGetLastError() : 0;
    lock.Relock();
    if (result == SOCKET_ERROR && error != WSA_IO_PENDING) {
        Log(c_String("Socket receive error.  ") + GetNetworkErrorText(static_cast<std::uint32_t>(error)), true);
        // No completion follows a refused receive: it is no longer outstanding.
        --m_ReceivesPosted;
        m_AvailableReceiveBuffers.push_back(index);
        m_ReceiveEnded = true;
        return false;
    }
    return true;
}

void c_NetworkSocket::OnReceiveCompleted(s_SocketIORecord* record, std::uint32_t bytes, std::uint32_t error,
                                         c_CriticalSectionLock& lock) {
    --m_ReceivesPosted;
    if (bytes == 0 && error == 0 && m_SocketKind != KIND_TCP) {
        // An empty datagram carries nothing and ends nothing: the buffer goes back to receiving.
        m_AvailableReceiveBuffers.push_back(record->m_BufferIndex);
        if (!ReceiveData(lock)) {
            PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
        }
        return;
    }
    if (bytes == 0 || error != 0) {
        // The receives still posted complete the same way; the last one decides.
        m_ReceiveFailed = m_ReceiveFailed || error != 0;
        if (m_ReceivesPosted > 0) {
            return;
        }
        OnReceiveEnded(m_ReceiveFailed ? error : 0);
        return;
    }
    if (m_ReceivesPosted < m_ReceivesToKeepPosted && !ReceiveData(lock)) {
        PostSocketEvent(SOCKET_EVENT_CONNECT_FAILED);
        return;
    }
    c_IOBuffer& buffer = m_ReceiveBuffers[static_cast<std::size_t>(record->m_BufferIndex)];
    const float offered = static_cast<float>(record->m_Buffer.len);
    const bool nearlyFull = (offered - static_cast<float>(bytes)) / offered < NEARLY_FULL_SHARE;
    try {
        m_ReceivedBuffers.push_back({record->m_BufferIndex, false, static_cast<std::int32_t>(bytes), nearlyFull});
    } catch (const std::bad_alloc&) {
        OnOutOfMemory();
        return;
    }
    if (m_AdaptiveReceiveBuffer && nearlyFull && m_SocketReceiveBufferSize >= 1 &&
        m_SocketReceiveBufferSize < MAX_SOCKET_RECEIVE_BUFFER) {
        ApplyReceiveBufferSize(std::min(m_SocketReceiveBufferSize * 2, MAX_SOCKET_RECEIVE_BUFFER));
    }
    buffer.SetUsedSizeWithinCapacity(static_cast<int>(bytes));
    AddReceivedBytes(bytes);
    if (m_SocketKind == KIND_UDP) {
        m_RemoteSockAddr = record->m_From;
    }
    if (m_p_Owner == nullptr) {
        return;
    }
    if (m_p_Owner->m_RecordReceivedData) {
        RecordData(buffer.GetData(), bytes, m_ReceiveRecording, m_ReceiveRecordingFailed, "ReceiveData_");
    }
    if (IsSocks5HandshakeInProgress()) {
        OnSocks5BytesReceived(lock);
        return;
    }
    DeliverReceivedBytes(lock);
}

// The newest entry's bytes reach the owner, decrypted first on a TLS socket.
void c_NetworkSocket::DeliverReceivedBytes(c_CriticalSectionLock& lock) {
    if (m_SecurityMethod != 0 && !DecryptNewestReceivedBuffer(lock)) {
        return;
    }
    PostDataReceived();
}

// At most one event 1026 waits: the owner clears the flag when it handles it.
void c_NetworkSocket::PostDataReceived() {
    if (m_p_Owner != nullptr && !m_p_Owner->m_DataReceivedEventPending) {
        m_p_Owner->m_DataReceivedEventPending = true;
        if (!PostSocketEvent(SOCKET_EVENT_DATA_RECEIVED)) {
            m_p_Owner->m_DataReceivedEventPending = false;
        }
    }
}

bool c_NetworkSocket::TakeNewestReceivedBytes(c_ByteBuffer& target) {
    s_ReceivedBuffer& entry = m_ReceivedBuffers.back();
    c_IOBuffer& buffer = m_ReceiveBuffers[static_cast<std::size_t>(entry.m_BufferIndex)];
    if (!target.Append(buffer.GetData(), static_cast<std::uint32_t>(buffer.GetUsedSize()))) {
        return false;
    }
    buffer.SetUsedSizeWithinCapacity(0);
    m_ReceivedBytes -= std::min(m_ReceivedBytes, static_cast<std::uint32_t>(entry.m_ByteCount));
    entry.m_ByteCount = 0;
    entry.m_Consumed = true;
    return true;
}

bool c_NetworkSocket::RefillNewestReceivedBuffer(c_ByteBuffer& bytes) {
    s_ReceivedBuffer& entry = m_ReceivedBuffers.back();
    c_IOBuffer& buffer = m_ReceiveBuffers[static_cast<std::size_t>(entry.m_BufferIndex)];
    if (!buffer.Append(bytes.GetData(), static_cast<int>(bytes.GetSize()))) {
        return false;
    }
    AddReceivedBytes(bytes.GetSize());
    entry.m_ByteCount = static_cast<std::int32_t>(bytes.GetSize());
    entry.m_Consumed = false;
    bytes.Clear(false);
    return true;
}

// A clean zero-byte read is the peer's graceful close; a failed receive (a reset included) is an
// error, so a cut-short transfer never looks complete.
void c_NetworkSocket::OnReceiveEnded(std::uint32_t error) {
    m_ReceiveEnded = true;
    if (error != 0) {
        Log(c_String("Socket receive error.  ") + GetNetworkErrorText(error), true);
    } else {
        Log("Socket gracefully closed by remote side.", false);
    }
    if (m_ShutdownState == 2) {
        EndWaitingShutdown();
    } else if (m_ShutdownState == 0) {
        if (error == 0) {
            PostSocketEvent(SOCKET_EVENT_CLOSED_BY_REMOTE);
        } else if (!m_Error) {
            FailWithSocketError();
        }
    }
}

// Bytes are never skipped: without memory to keep them the owner hears of it and the socket closes.
void c_NetworkSocket::OnOutOfMemory() {
    m_Error = true;
    PostSocketEvent(SOCKET_EVENT_OUT_OF_MEMORY);
    CloseImmediately();
}

void c_NetworkSocket::AddReceivedBytes(std::uint32_t bytes) {
    m_ReceivedBytes += bytes;
    m_MaxReceivedBytes = std::max(m_MaxReceivedBytes, m_ReceivedBytes);
}

void c_NetworkSocket::ResumeReceive(c_CriticalSectionLock& lock) {
    if (ReceiveData(lock)) {
        return;
    }
    if (m_ShutdownState == 2) {
        EndWaitingShutdown();
    } else {
        FailWithSocketError();
    }
}

bool c_NetworkSocket::TakeReceivedData(c_ByteBuffer& target) {
    return ReadReceivedData([&target](s_ByteSpan bytes) { return target.Append(bytes); });
}

bool c_NetworkSocket::ReadReceivedData(const std::function<bool(s_ByteSpan)>& consume) {
    for (s_ReceivedBuffer& entry : m_ReceivedBuffers) {
        if (entry.m_Consumed) {
            continue;
        }
        const c_IOBuffer& buffer = m_ReceiveBuffers[static_cast<std::size_t>(entry.m_BufferIndex)];
        if (!consume(s_ByteSpan::FromPointer(buffer.GetData(), static_cast<std::uint64_t>(buffer.GetUsedSize())))) {
            return false;
        }
        entry.m_Consumed = true;
        m_ReceivedBytes -= std::min(m_ReceivedBytes, static_cast<std::uint32_t>(entry.m_ByteCount));
        entry.m_ByteCount = 0;
    }
    return true;
}
